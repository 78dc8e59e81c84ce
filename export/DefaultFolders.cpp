#include "export/DefaultFolders.h"

#include <QDir>

namespace lrf {

namespace {
QString FixedFolder(const QString& name) {
#ifdef _WIN32
    return u"C:\\"_qs + name + u"\\"_qs;
#else
    return QDir::homePath() + u'/' + name + u'/';
#endif
}
} // namespace

QString DefaultOutputFolder() { return FixedFolder(u"LRF Zelvar"_qs); }
QString DefaultChooserRoot() { return FixedFolder(u"KORV_8"_qs); }

} // namespace lrf
