#pragma once
// The program's two fixed folders: the output folder at start and the folder chooser's own root.
// On Windows they are "C:\LRF Zelvar\" and "C:\KORV_8\"; elsewhere the same names under the home folder.
#include <QString>

namespace lrf {

QString DefaultOutputFolder(); // ends with the folder separator
QString DefaultChooserRoot();  // ends with the folder separator

} // namespace lrf
