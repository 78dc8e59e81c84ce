// lrf-tce: the main window over the fiscal year's accounting database.
#include "app/HandlerGuard.h"
#include "app/PackForm.h"
#include "app/Principal.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Not the display name: Qt would append that to every window title.
    QApplication::setApplicationName(lrf::ApplicationTitle());

    lrf::TFrmPrincipalLRF window;
    if (!window.StartedUp())
        return 1;
    if (lrf::IsDesignSwitch(argc, argv))
        lrf::ShowPackageInformation();
    window.show();
    return QApplication::exec();
}
