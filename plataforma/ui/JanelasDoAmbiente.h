#pragma once

namespace qmx::ui {

// Turns on the windows the environment asks for: QMX_JANELAS=qt loads the
// Qt host (libqmxutil-qt, beside this library or where the system finds
// libraries) and makes it the process's host. False, and nothing changed,
// when nothing is asked or the host cannot start (no such library, no
// display): the scripted host then stays.
bool AtivaJanelasDoAmbiente();

}  // namespace qmx::ui
