#pragma once
// How a plot server in a process of its own meets its callers over D-Bus: on a private peer
// connection to the program that started it, or on the user's session bus by a well-known name.
// Any program that keeps to this may take the server's place.
//
// Members are called by name, matched without regard to case, with or without an interface. A
// member's own failure comes back as the error FailedError, whose message is the member's
// description; unknown members and unusable arguments as D-Bus's own errors. An object a member
// returns travels as an object path below ServerPath that only its caller is told, and lives until
// its Release member is called or the server ends.

namespace PlotServerBus {

/// Started with this option and an address, the server connects there and serves its caller alone.
inline constexpr auto PeerOption = "--peer";
/// Started with this option (D-Bus activation does), it serves on the session bus as BusName.
inline constexpr auto SessionBusOption = "--session-bus";

inline constexpr auto BusName = TARNWICK_PLOT_SERVER_BUS_NAME;
/// The server object's path.
inline constexpr auto ServerPath = TARNWICK_PLOT_SERVER_PATH;
/// The interfaces introspection names for the server object and for the documents it opens.
inline constexpr auto ServerInterface = TARNWICK_PLOT_SERVER_BUS_NAME;
inline constexpr auto DocumentInterface = TARNWICK_PLOT_SERVER_BUS_NAME ".Document";
/// The signal the server sends on ServerPath, from ServerInterface, once it serves there: calls
/// before it may find nothing.
inline constexpr auto ReadySignal = "Ready";
/// The member of every returned object that gives it up.
inline constexpr auto Release = "Release";
/// The error of a member that ran and failed.
inline constexpr auto FailedError = TARNWICK_PLOT_SERVER_BUS_NAME ".Error.Failed";

} // namespace PlotServerBus
