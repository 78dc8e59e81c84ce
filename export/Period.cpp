#include "export/Period.h"

#include "export/ExportError.h"

namespace lrf {

namespace {

// The year of a date text as the Windows short-date reading takes it: four digits as written, one or
// two digits within 1950 to 2049.
int YearOf(const QString& fiscalYear) {
    if (fiscalYear.isEmpty() || fiscalYear.size() == 3 || fiscalYear.size() > 4)
        return 0;
    for (QChar c : fiscalYear)
        if (c < u'0' || c > u'9')
            return 0;
    const int year = fiscalYear.toInt();
    if (fiscalYear.size() == 4)
        return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

// Day 1 of `month` read from the text "01/mm/<year text>", day first, as the run has always formed it.
QDate FirstDayOf(int month, const QString& fiscalYear) {
    const int year = YearOf(fiscalYear);
    const QDate date = year > 0 ? QDate(year, month, 1) : QDate();
    if (!date.isValid()) {
        const QString text = QStringLiteral("01/%1/").arg(month, 2, 10, QLatin1Char('0')) + fiscalYear;
        throw ExportError("'" + text.toStdString() + "' is not a valid date");
    }
    return date;
}

} // namespace

Period PeriodOfBimester(int bimester, const QString& fiscalYear) {
    if (bimester < 1 || bimester > 6)
        throw ExportError("bimester " + std::to_string(bimester) + " is not between 1 and 6");
    const int firstMonth = 2 * bimester - 1;
    Period period;
    period.month1Start = FirstDayOf(firstMonth, fiscalYear);
    period.month2Start = FirstDayOf(firstMonth + 1, fiscalYear);
    period.month1End = period.month2Start.addDays(-1);
    period.month2End = bimester < 6 ? FirstDayOf(firstMonth + 2, fiscalYear).addDays(-1)
                                    : QDate(period.month1Start.year(), 12, 31);
    return period;
}

} // namespace lrf
