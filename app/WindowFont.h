#pragma once
// The fonts of the windows, given as the windows were drawn: a family and a character height in pixels.
#include <QFont>

namespace lrf {

// "MS Sans Serif" at `pixelHeight`, a sans-serif face where that family is missing.
QFont SansSerifFont(int pixelHeight, bool bold = false);
// "Courier New" at `pixelHeight`, a fixed-width face where that family is missing.
QFont FixedWidthFont(int pixelHeight);

} // namespace lrf
