// The strict whole-number reader every option, code and setting goes through, and the one trimmer.
#include "settings/AsciiText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct NumberCase {
    const char* text;
    std::optional<std::int64_t> wide;
    std::optional<int> narrow;
};

class ParseWholeNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ParseWholeNumberTest, SignAndDigitsWithinTheType) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(lrf::ParseWholeNumber<std::int64_t>(c.text), c.wide) << c.text;
    EXPECT_EQ(lrf::ParseWholeNumber<int>(c.text), c.narrow) << c.text;
}

constexpr auto kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseWholeNumberTest,
    ::testing::Values(NumberCase{"42", 42, 42}, NumberCase{"-7", -7, -7}, NumberCase{"+5", 5, 5},
                      NumberCase{"007", 7, 7}, NumberCase{"+-5", kNone, kNone},
                      NumberCase{"-+5", kNone, kNone}, NumberCase{"", kNone, kNone},
                      NumberCase{"+", kNone, kNone}, NumberCase{"-", kNone, kNone},
                      NumberCase{" 5", kNone, kNone}, NumberCase{"5 ", kNone, kNone},
                      NumberCase{"0x10", kNone, kNone}, NumberCase{"1e3", kNone, kNone},
                      NumberCase{"2147483648", 2147483648, kNone},
                      NumberCase{"-2147483648", -2147483648LL, std::numeric_limits<int>::min()},
                      NumberCase{"-9223372036854775808", std::numeric_limits<std::int64_t>::min(), kNone},
                      NumberCase{"9223372036854775808", kNone, kNone}));

TEST(TrimmedTest, OnlyTheGivenBlanksAtEitherEnd) {
    EXPECT_EQ(lrf::Trimmed(" \t a b \t ", " \t"), "a b");
    EXPECT_EQ(lrf::Trimmed("\r\nx\r\n", " \t"), "\r\nx\r\n");
    EXPECT_EQ(lrf::Trimmed("   ", " "), "");
    EXPECT_EQ(lrf::Trimmed("", " "), "");
    EXPECT_EQ(lrf::Trimmed("x", " "), "x");
}

} // namespace
