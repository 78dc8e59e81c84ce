#pragma once
// The fonts of the windows, given as the windows were drawn: a family and a character height in pixels.
#include <QFont>

namespace lrf {

// "MS Sans Serif" at `pixelHeight`; Liberation Sans where that family is missing.
QFont SansSerifFont(int pixelHeight, bool bold = false);
// "Courier New" at `pixelHeight`; Liberation Mono where that family is missing.
QFont FixedWidthFont(int pixelHeight);

} // namespace lrf
