#pragma once
// The regional settings the files depend on, read from the environment's locale.
#include <QChar>

namespace lrf {

struct RegionalSettings {
    QChar decimalSeparator = u',';
    QChar dateSeparator = u'/';

    // From QLocale::system(); a C or POSIX environment means Portuguese (Brazil).
    static RegionalSettings FromSystem();
};

} // namespace lrf
