#include "app/WindowFont.h"

namespace lrf {

namespace {

QFont PixelFont(const QString& family, QFont::StyleHint hint, int pixelHeight) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

QFont SansSerifFont(int pixelHeight, bool bold) {
    QFont font = PixelFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, pixelHeight);
    font.setBold(bold);
    return font;
}

QFont FixedWidthFont(int pixelHeight) {
    return PixelFont(QStringLiteral("Courier New"), QFont::TypeWriter, pixelHeight);
}

} // namespace lrf
