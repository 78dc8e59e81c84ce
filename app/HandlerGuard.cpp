#include "app/HandlerGuard.h"

#include "export/ExportError.h"
#include "export/Windows1252.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace lrf {

QString ApplicationTitle() {
    return QStringLiteral("LRF - TCE-MT");
}

QString ErrorBoxText(const QString& message) {
    // By character code, so letters and digits get the full stop and ".", "!" or a line end do not.
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void ShowErrorBox(const QString& message, const QString& detail) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setDetailedText(detail);
    box.exec();
}

void RunHandler(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const StatementError& error) {
        ShowErrorBox(ErrorMessageText(error.what()), QString::fromStdString(error.Detail()));
    } catch (const std::exception& error) {
        ShowErrorBox(ErrorMessageText(error.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Erro desconhecido"));
    }
}

} // namespace lrf
