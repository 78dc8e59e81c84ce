#pragma once
// The four dates of a reference bimester.
#include <QDate>
#include <QString>

namespace lrf {

struct Period {
    QDate month1Start, month1End, month2Start, month2End;
};

// bimester 1..6 of the year text `fiscalYear`: four digits, or one or two read as 1950 to 2049 (24 is
// 2024, 50 is 1950). Throws ExportError "'<text>' is not a valid date" when the first date cannot be
// formed.
Period PeriodOfBimester(int bimester, const QString& fiscalYear);

} // namespace lrf
