#include "export/Regional.h"

#include <QLocale>

#include <cstdlib>

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

#ifndef _WIN32
// The locale the C library writes numbers in: the first of LC_ALL, LC_NUMERIC and LANG that is set and not
// empty. Qt names its system locale after the messages' locale instead, which may be another.
QString NumericLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return QString::fromLocal8Bit(value);
    }
    return {};
}
#endif

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
    RegionalSettings regional = FromLocale(QLocale::system());
#ifndef _WIN32
    // A C, POSIX or unknown name gives the C locale, and with it the Brazilian comma.
    regional.decimalSeparator = FromLocale(QLocale(NumericLocaleName())).decimalSeparator;
#endif
    return regional;
}

} // namespace lrf
