#include "export/Period.h"

#include "export/ExportError.h"

namespace lrf {

namespace {

// Day 1 of `month` read from the text "01/mm/yyyy", day first, as the run has always formed it.
QDate FirstDayOf(int month, const QString& fiscalYear) {
    const QString text = QStringLiteral("01/%1/").arg(month, 2, 10, QLatin1Char('0')) + fiscalYear;
    bool fourDigits = fiscalYear.size() == 4;
    for (QChar c : fiscalYear)
        fourDigits = fourDigits && c >= u'0' && c <= u'9';
    const QDate date = fourDigits ? QDate(fiscalYear.toInt(), month, 1) : QDate();
    if (!date.isValid())
        throw ExportError("'" + text.toStdString() + "' is not a valid date");
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
