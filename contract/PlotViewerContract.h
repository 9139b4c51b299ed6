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

// A server member of our own: every later Open takes the device's pens from the [Pens] section of
// this settings file, read afresh each time. A server without it draws with pens of its own.
inline constexpr auto SetPenTable = "SetPenTable"; // (QString settingsFile)
// A server member of our own: the native id of the caller's main window, which the print dialog of
// a server in another process then stands in front of. A server without it shows the dialog alone.
inline constexpr auto SetOwnerWindow = "SetOwnerWindow"; // (qlonglong windowId)

// Document members.
inline constexpr auto SetColorMode = "SetColorMode"; // (short mode): a ColourModeNumber
inline constexpr auto ActualSize = "ActualSize"; // ()
inline constexpr auto DoPrint = "DoPrint"; // ()
inline constexpr auto SaveTo = "SaveTo"; // (QString path): a JPEG (ours: an SVG for a path ending in .svg)

// Document members of our own, for a preview of every page. A server without them still gives the
// preview of the one page SaveTo saves.
inline constexpr auto PageCount = "PageCount"; // () -> int: the plot's pages, as DoPrint prints them
inline constexpr auto PreviewPage = "PreviewPage"; // () -> int: the one SaveTo saves, from 1
inline constexpr auto SavePageTo = "SavePageTo"; // (int page, QString path): a JPEG of that page
// A document member of our own: the page as SVG, which a preview draws again at any scale to zoom
// into it. A server without it gives the fixed pictures alone, and its previews do not zoom.
inline constexpr auto SaveSvgPageTo = "SaveSvgPageTo"; // (int page, QString path): an SVG of that page

/// How drawing colours reach the device. The numbers are what SetColorMode carries.
enum class ColourModeNumber : short { BlackAndWhite = 0, Colour = 1, GreyScale = 2 };
} // namespace PlotViewer
