#pragma once
// The program's fixed folders: "C:\<name>\" on Windows, the same name under the home folder elsewhere.
#include <QString>

namespace lrf {

// The fixed folder `name`, ending with the folder separator.
QString FixedFolder(const QString& name);
// The output folder at start, "LRF Zelvar".
QString DefaultOutputFolder();

} // namespace lrf
