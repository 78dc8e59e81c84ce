#include "app/EndOnSignal.h"

#include "app/Principal.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace lrf {

void EndOnSignal() {
    QList<QPointer<QDialog>> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog != nullptr && dialog->isVisible())
            dialogs.append(dialog);
    // A dialog may free itself, or another, once it is cancelled.
    for (const QPointer<QDialog>& dialog : dialogs)
        if (dialog)
            dialog->reject();
    if (FrmPrincipalLRF != nullptr)
        FrmPrincipalLRF->close();
}

} // namespace lrf
