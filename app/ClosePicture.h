#pragma once
#include <QPixmap>

namespace lrf {

// The 32 x 32 picture beside "&Fechar": an open door with an arrow leaving through it.
QPixmap ClosePicture();

} // namespace lrf
