#pragma once
// The regional settings the files depend on, read from the environment's locale.
#include <QChar>

class QLocale;

namespace lrf {

struct RegionalSettings {
    QChar decimalSeparator = u',';

    // From QLocale::system(); a C or POSIX environment means Portuguese (Brazil).
    static RegionalSettings FromSystem();
    // The same for a given locale; "C" means Portuguese (Brazil).
    static RegionalSettings FromLocale(const QLocale& locale);
};

} // namespace lrf
