// lrf-tce: the main window over the fiscal year's accounting database.
#include "app/EndOnSignal.h"
#include "app/HandlerGuard.h"
#include "app/PackForm.h"
#include "app/Principal.h"
#include "app/TerminationSignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    lrf::TerminationSignals terminationSignals; // before the application object starts any thread
    QApplication application(argc, argv);
    // Not the display name: Qt would append that to every window title.
    QApplication::setApplicationName(lrf::ApplicationTitle());

    terminationSignals.OnSignal([](int) { lrf::EndOnSignal(); });
    const auto ended = [&] { return terminationSignals.Received() != 0; };

    lrf::TFrmPrincipalLRF window;
    if (ended())
        return lrf::ExitCodeForSignal(terminationSignals.Received());
    if (!window.StartedUp())
        return 1;
    if (lrf::IsDesignSwitch(argc, argv))
        lrf::ShowPackageInformation();
    if (ended())
        return lrf::ExitCodeForSignal(terminationSignals.Received());
    window.show();
    const int code = QApplication::exec();
    return ended() ? lrf::ExitCodeForSignal(terminationSignals.Received()) : code;
}
