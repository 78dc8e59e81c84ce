#include "export/DefaultFolders.h"

#include <QDir>

namespace lrf {

QString FixedFolder(const QString& name) {
#ifdef _WIN32
    return QStringLiteral("C:\\") + name + QStringLiteral("\\");
#else
    return QDir::homePath() + u'/' + name + u'/';
#endif
}

QString DefaultOutputFolder() {
    return FixedFolder(QStringLiteral("LRF Zelvar"));
}

} // namespace lrf
