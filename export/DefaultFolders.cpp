#include "export/DefaultFolders.h"

#include "export/FolderText.h"
#include "export/Windows1252.h"
#include "settings/Installation.h"

#include <QDir>
#include <QFileInfo>

namespace lrf {

namespace {
QString FixedFolder(const QString& name) {
#ifdef _WIN32
    return QStringLiteral("C:\\") + name + QStringLiteral("\\");
#else
    return QDir::homePath() + u'/' + name + u'/';
#endif
}
} // namespace

QString DefaultOutputFolder() {
    return FixedFolder(QStringLiteral("LRF Zelvar"));
}
QString DefaultChooserRoot() {
    return FixedFolder(QStringLiteral("KORV_8"));
}

QString ChooserRoot() {
    const QString fixed = DefaultChooserRoot();
#ifndef _WIN32
    if (!QFileInfo(fixed).isDir()) {
        const QString database = FromWindows1252(ReadKorvSetting("Caminho_Base_Dados")).trimmed();
        if (!database.isEmpty() && QFileInfo(database).isDir())
            return WithFinalSeparator(database);
        if (QFileInfo(QDir::homePath()).isDir())
            return WithFinalSeparator(QDir::homePath());
    }
#endif
    return fixed;
}

} // namespace lrf
