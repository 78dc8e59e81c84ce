// The four dates of each bimester.
#include "export/Period.h"
#include "export/ExportError.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

struct PeriodCase {
    int year;
    int bimester;
    QDate month1Start, month1End, month2Start, month2End;
};

class PeriodOfBimesterTest : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodOfBimesterTest, GivesBothMonthsWithTheirLastDays) {
    const PeriodCase& c = GetParam();
    const Period period = PeriodOfBimester(c.bimester, QString::number(c.year));
    EXPECT_EQ(period.month1Start, c.month1Start);
    EXPECT_EQ(period.month1End, c.month1End);
    EXPECT_EQ(period.month2Start, c.month2Start);
    EXPECT_EQ(period.month2End, c.month2End);
}

PeriodCase Case(int year, int bimester, int lastDay1, int lastDay2) {
    const int m = 2 * bimester - 1;
    return {year,
            bimester,
            QDate(year, m, 1),
            QDate(year, m, lastDay1),
            QDate(year, m + 1, 1),
            QDate(year, m + 1, lastDay2)};
}

INSTANTIATE_TEST_SUITE_P(LeapYear, PeriodOfBimesterTest,
                         ::testing::Values(Case(2024, 1, 31, 29), Case(2024, 2, 31, 30),
                                           Case(2024, 3, 31, 30), Case(2024, 4, 31, 31),
                                           Case(2024, 5, 30, 31), Case(2024, 6, 30, 31)));
INSTANTIATE_TEST_SUITE_P(CommonYear, PeriodOfBimesterTest,
                         ::testing::Values(Case(2023, 1, 31, 28), Case(2023, 2, 31, 30),
                                           Case(2023, 3, 31, 30), Case(2023, 4, 31, 31),
                                           Case(2023, 5, 30, 31), Case(2023, 6, 30, 31)));

struct ShortYearCase {
    const char* text;
    int year;
};

class ShortFiscalYearTest : public ::testing::TestWithParam<ShortYearCase> {};

// One or two digits are read as the Windows short date reads them: 00 to 49 in this century, 50 to 99 in
// the last.
TEST_P(ShortFiscalYearTest, TakesTheCenturyOfTheShortDateReading) {
    const ShortYearCase& c = GetParam();
    const Period first = PeriodOfBimester(1, QString::fromLatin1(c.text));
    EXPECT_EQ(first.month1Start, QDate(c.year, 1, 1)) << c.text;
    EXPECT_EQ(first.month2End, QDate(c.year, 3, 1).addDays(-1)) << c.text;
    EXPECT_EQ(PeriodOfBimester(6, QString::fromLatin1(c.text)).month2End, QDate(c.year, 12, 31)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Years, ShortFiscalYearTest,
                         ::testing::Values(ShortYearCase{"24", 2024}, ShortYearCase{"0", 2000},
                                           ShortYearCase{"00", 2000}, ShortYearCase{"7", 2007},
                                           ShortYearCase{"49", 2049}, ShortYearCase{"50", 1950},
                                           ShortYearCase{"99", 1999}, ShortYearCase{"2024", 2024},
                                           ShortYearCase{"1999", 1999}));

struct BadYearCase {
    const char* year;
    int bimester;
    const char* message;
};

class BadFiscalYearTest : public ::testing::TestWithParam<BadYearCase> {};

TEST_P(BadFiscalYearTest, NamesTheDateTextThatWasTried) {
    const BadYearCase& c = GetParam();
    try {
        PeriodOfBimester(c.bimester, QString::fromLatin1(c.year));
        FAIL() << "no error for '" << c.year << "'";
    } catch (const ExportError& error) {
        EXPECT_STREQ(error.what(), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(Years, BadFiscalYearTest,
                         ::testing::Values(BadYearCase{"abc", 1, "'01/01/abc' is not a valid date"},
                                           BadYearCase{"", 2, "'01/03/' is not a valid date"},
                                           BadYearCase{"20 24", 6, "'01/11/20 24' is not a valid date"},
                                           BadYearCase{"0000", 1, "'01/01/0000' is not a valid date"},
                                           BadYearCase{"-2024", 1, "'01/01/-2024' is not a valid date"},
                                           BadYearCase{"024", 1, "'01/01/024' is not a valid date"},
                                           BadYearCase{"20245", 1, "'01/01/20245' is not a valid date"},
                                           BadYearCase{"-4", 1, "'01/01/-4' is not a valid date"}));

} // namespace
} // namespace lrf
