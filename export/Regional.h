#pragma once
// The regional settings the files depend on, read from the environment's locale.
#include <QChar>

class QLocale;

namespace lrf {

struct RegionalSettings {
    QChar decimalSeparator = u',';

    // From QLocale::system(); a C or POSIX environment means Portuguese (Brazil). Outside Windows the
    // decimal separator is that of the locale named by LC_ALL, LC_NUMERIC or LANG, in that order.
    static RegionalSettings FromSystem();
    // The same for a given locale; "C" means Portuguese (Brazil).
    static RegionalSettings FromLocale(const QLocale& locale);
};

} // namespace lrf
