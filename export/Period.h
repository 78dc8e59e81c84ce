#pragma once
// The four dates of a reference bimester.
#include <QDate>
#include <QString>

namespace lrf {

struct Period {
    QDate month1Start, month1End, month2Start, month2End;
};

// bimester 1..6 of the year text `fiscalYear`. Throws ExportError "'<text>' is not a valid date"
// when the first date cannot be formed.
Period PeriodOfBimester(int bimester, const QString& fiscalYear);

} // namespace lrf
