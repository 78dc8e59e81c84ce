#pragma once
// The program's two fixed folders: the output folder at start and the folder chooser's own root.
// On Windows they are "C:\LRF Zelvar\" and "C:\KORV_8\"; elsewhere the same names under the home folder.
#include <QString>

namespace lrf {

QString DefaultOutputFolder(); // ends with the folder separator
QString DefaultChooserRoot();  // ends with the folder separator

// The root the folder chooser is created with: DefaultChooserRoot() where that folder exists. Elsewhere
// than on Windows it seldom does, so the installation's database folder (settings key
// Caminho_Base_Dados) stands in, then the home folder; when none exists, DefaultChooserRoot() all the
// same, and the chooser reports it.
QString ChooserRoot();

} // namespace lrf
