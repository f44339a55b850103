#pragma once

namespace qmx::ui {

// The Qt host's library, relative to the folder of this library.
inline constexpr const char* kPluginJanelasQt = "qmxutil/libqmxutil-qt.so";

// Turns on the windows the environment asks for: QMX_JANELAS=qt loads the
// Qt host (libqmxutil-qt, in the folder qmxutil beside this library or
// where the system finds libraries) and makes it the process's host.
// False, and nothing changed, when nothing is asked or the host cannot
// start (no such library, no display that answers): the scripted host
// then stays.
bool AtivaJanelasDoAmbiente();

// Whether the display the environment names answers a connection: the
// Wayland socket of WAYLAND_DISPLAY, else the X server of DISPLAY (":N" its
// local socket, "host:N" TCP port 6000 + N). Qt ends the whole process when
// it cannot open the display it is given, so it is asked first. A Qt
// platform named in QT_QPA_PLATFORM that needs no display (offscreen,
// minimal, ...) answers true.
bool TelaResponde();

}  // namespace qmx::ui
