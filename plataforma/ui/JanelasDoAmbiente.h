#pragma once

namespace qmx::ui {

// The Qt host's library, relative to the folder of this library.
inline constexpr const char* kPluginJanelasQt = "qmxutil/libqmxutil-qt.so";

// Turns on the windows the environment asks for: QMX_JANELAS=qt loads the
// Qt host (libqmxutil-qt, in the folder qmxutil beside this library or where the system finds
// libraries) and makes it the process's host. False, and nothing changed,
// when nothing is asked or the host cannot start (no such library, no
// display): the scripted host then stays.
bool AtivaJanelasDoAmbiente();

}  // namespace qmx::ui
