#include "export/DefaultFolders.h"

#include <QDir>

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

} // namespace lrf
