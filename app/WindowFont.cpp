#include "app/WindowFont.h"

#include <QStringList>

namespace lrf {

namespace {

// `family` first, where it is installed (Windows); else `standIn`, the face whose metrics come closest
// (Liberation Sans has the widths of Arial, near those of MS Sans Serif at 8 points; Liberation Mono
// those of Courier New), so that captions fit the places the windows give them.
QFont PixelFont(const QString& family, const QString& standIn, QFont::StyleHint hint, int pixelHeight) {
    QFont font(family);
    font.setFamilies(QStringList{family, standIn});
    font.setStyleHint(hint);
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

QFont SansSerifFont(int pixelHeight, bool bold) {
    QFont font = PixelFont(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                           QFont::SansSerif, pixelHeight);
    font.setBold(bold);
    return font;
}

QFont FixedWidthFont(int pixelHeight) {
    return PixelFont(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QFont::TypeWriter,
                     pixelHeight);
}

} // namespace lrf
