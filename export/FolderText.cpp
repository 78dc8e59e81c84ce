#include "export/FolderText.h"

#include "settings/Installation.h"

namespace lrf {

QString WithFinalSeparator(const QString& folderText) {
    const QChar separator = QChar::fromLatin1(kPathSeparator);
    if (folderText.trimmed().endsWith(separator))
        return folderText;
    return folderText + separator;
}

} // namespace lrf
