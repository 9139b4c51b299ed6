#pragma once
// What Tarnwick calls on the plot viewer server: its ProgID, its members and their arguments.
// Shared by the program and the server; keep it free of anything either side owns.

/// Members are public Q_INVOKABLE methods called by name. A member that returns an object returns a
/// new parentless QObject* whose ownership passes to the caller.
namespace PlotViewer {
inline constexpr auto ProgId = "Plotviewer.application";

// Server members.
inline constexpr auto Open = "Open"; // (QString path) -> document
inline constexpr auto PrintSetup = "PrintSetup"; // ()

// Document members.
inline constexpr auto SetColorMode = "SetColorMode"; // (short mode): a ColourMode's number
inline constexpr auto ActualSize = "ActualSize"; // ()
inline constexpr auto DoPrint = "DoPrint"; // ()
inline constexpr auto SaveTo = "SaveTo"; // (QString path): a JPEG

/// How drawing colours reach the device. The numbers are what SetColorMode carries.
enum class ColourMode : short { BlackAndWhite = 0, Colour = 1, GreyScale = 2 };
} // namespace PlotViewer
