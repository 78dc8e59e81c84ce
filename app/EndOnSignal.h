#pragma once
// What lrf-tce does when SIGTERM, SIGINT or SIGHUP arrives: it ends as "&Fechar" ends it. Open dialogs
// and message boxes are cancelled first; a run going on is stopped by the main window's close.
namespace lrf {

void EndOnSignal();

} // namespace lrf
