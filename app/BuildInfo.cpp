#include "app/BuildInfo.h"

#include <QCoreApplication>

namespace lrf {

QString FileVersionText(FileVersionWords words) {
    return QString::number(words.ms >> 16) + u'.' + QString::number(words.ms & 0xFFFF) + u'.' +
           QString::number(words.ls >> 16) + u'.' + QString::number(words.ls & 0xFFFF);
}

QString GetBuildInfo() {
    const std::optional<FileVersionWords> words =
        ReadFileVersion(QCoreApplication::applicationFilePath().toStdU16String());
    return words ? FileVersionText(*words) : QString();
}

} // namespace lrf
