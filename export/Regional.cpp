#include "export/Regional.h"

#include <QLocale>

namespace lrf {

namespace {

bool PrintableAscii(QChar c) {
    return c.unicode() > u' ' && c.unicode() < 0x7F;
}

// Only a character that cannot be mistaken for a digit, a sign or the field separator may separate the
// decimals in a file; anything else keeps the Brazilian comma.
bool UsableDecimalSeparator(QChar c) {
    return PrintableAscii(c) && !c.isDigit() && c != u'-' && c != u'+' && c != u';';
}

} // namespace

RegionalSettings RegionalSettings::FromLocale(const QLocale& locale) {
    RegionalSettings regional;
    if (locale.name() == QLatin1StringView("C"))
        return regional;
    const QString decimal = locale.decimalPoint();
    if (decimal.size() == 1 && UsableDecimalSeparator(decimal.front()))
        regional.decimalSeparator = decimal.front();
    return regional;
}

RegionalSettings RegionalSettings::FromSystem() {
    return FromLocale(QLocale::system());
}

} // namespace lrf
