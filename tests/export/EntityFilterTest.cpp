// The entity list lines read from TABEMPRESA and the SQL clause built back from the ticked lines.
#include "export/EntityFilter.h"
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "export/ExportError.h"
#include "tools/DatabaseWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace lrf {
namespace {

struct FilterCase {
    const char* name;
    std::vector<EntityItem> items;
    std::size_t codeLength;
    const char* reference;
    const char* clause;
};

std::vector<EntityItem> Entities(int count, bool ticked) {
    std::vector<EntityItem> items;
    for (int code = 1; code <= count; ++code)
        items.push_back({(code < 10 ? "0" : "") + std::to_string(code) + " - ENTIDADE", ticked});
    return items;
}

std::string SixtyTerms() {
    std::string joined;
    for (int code = 1; code <= 60; ++code)
        joined += (code > 1 ? " or " : "") + std::string("  F.EMPRESA = ") + std::to_string(code);
    return " and (" + joined + ")";
}

const std::string kSixtyTerms = SixtyTerms();

class BuildEntityFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(BuildEntityFilterTest, BuildsTheClause) {
    const FilterCase& c = GetParam();
    EXPECT_EQ(BuildEntityFilter(c.items, c.codeLength, c.reference), c.clause);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildEntityFilterTest,
    testing::Values(
        FilterCase{"OneAndThree",
                   {{"1 - A", true}, {"2 - B", false}, {"3 - C", true}},
                   1,
                   "F.EMPRESA",
                   " and (  F.EMPRESA = 1 or   F.EMPRESA = 3)"},
        FilterCase{"SevenAlone", {{"7 - G", true}}, 1, "F.EMPRESA", " and (  F.EMPRESA = 7)"},
        FilterCase{"NoTick", {{"1 - A", false}, {"2 - B", false}}, 1, "F.EMPRESA", ""},
        FilterCase{"EmptyTable", {}, 0, "F.EMPRESA", ""},
        FilterCase{"EmptyLineIsNull", {{"", true}}, 2, "DESDIS.EMPRESA", " and (  DESDIS.EMPRESA IS NULL)"},
        FilterCase{"ZeroPaddedCodes",
                   {{"01 - A", true}, {"02 - B", false}, {"12 - L", true}},
                   2,
                   "recorc.EMPRESA",
                   " and (  recorc.EMPRESA = 1 or   recorc.EMPRESA = 12)"},
        // Terms follow the list, whatever order the ticks were made in.
        FilterCase{"ListOrder",
                   {{"03 - C", true}, {"10 - J", true}, {"02 - B", true}},
                   2,
                   "Z.EMPRESA",
                   " and (  Z.EMPRESA = 3 or   Z.EMPRESA = 10 or   Z.EMPRESA = 2)"},
        FilterCase{"SixtyTicked", Entities(60, true), 2, "F.EMPRESA", kSixtyTerms.c_str()},
        // Lines the list writes for unusual codes: a negative code keeps its sign inside the mask, a
        // NULL code shows blanks.
        FilterCase{"NegativeCode",
                   {{"-5 - N", true}, {"12 - L", true}},
                   2,
                   "F.EMPRESA",
                   " and (  F.EMPRESA = -5 or   F.EMPRESA = 12)"},
        FilterCase{"NullCode", {{"   - SEM CODIGO", true}}, 3, "F.EMPRESA", " and (  F.EMPRESA IS NULL)"},
        FilterCase{"ShorterThanMask", {{"7", true}}, 3, "F.EMPRESA", " and (  F.EMPRESA = 7)"},
        FilterCase{"LargestCode",
                   {{"9223372036854775807 - X", true}},
                   19,
                   "F.EMPRESA",
                   " and (  F.EMPRESA = 9223372036854775807)"}),
    [](const testing::TestParamInfo<FilterCase>& test) { return std::string(test.param.name); });

struct BadCodeCase {
    const char* name;
    std::string text;
    std::size_t codeLength;
    const char* message;
};

class BadEntityCodeTest : public testing::TestWithParam<BadCodeCase> {};

TEST_P(BadEntityCodeTest, FailsWithTheConversionError) {
    const BadCodeCase& c = GetParam();
    const std::vector<EntityItem> items = {{"01 - A", false}, {c.text, true}};
    try {
        BuildEntityFilter(items, c.codeLength, "F.EMPRESA");
        FAIL() << "no error for " << c.text;
    } catch (const ExportError& error) {
        EXPECT_STREQ(error.what(), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadEntityCodeTest,
    testing::Values(BadCodeCase{"Letters", "AB - X", 2, "'AB' is not a valid integer value"},
                    BadCodeCase{"DigitThenLetter", "1A - X", 2, "'1A' is not a valid integer value"},
                    BadCodeCase{"MaskLongerThanCode", "1 - X", 3, "'1 -' is not a valid integer value"},
                    BadCodeCase{"SignAlone", "- X", 1, "'-' is not a valid integer value"},
                    // Characters, not bytes: the message keeps the accented letter whole.
                    BadCodeCase{"Accented",
                                "\xC3\xA9"
                                "1 - X",
                                2,
                                "'\xC3\xA9"
                                "1' is not a valid integer value"},
                    BadCodeCase{"TooLarge", "99999999999999999999 - X", 20,
                                "'99999999999999999999' is not a valid integer value"}),
    [](const testing::TestParamInfo<BadCodeCase>& test) { return std::string(test.param.name); });

TEST(ReplaceAllTest, ReplacesEveryOccurrenceMatchingCase) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* result;
    };
    const Case cases[] = {
        {" and (  F.EMPRESA = 1 or   F.EMPRESA = 3)", "F.", "E.",
         " and (  E.EMPRESA = 1 or   E.EMPRESA = 3)"},
        {" and (  Z.EMPRESA = 1)", "Z.", "D.", " and (  D.EMPRESA = 1)"},
        {" and (  f.EMPRESA = 1)", "F.", "E.", " and (  f.EMPRESA = 1)"},
        {"", "F.", "E.", ""},
        {"F.F.F.", "F.", "F.F.", "F.F.F.F.F.F."},
        {"abc", "", "x", "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.result) << c.text;
}

// A real database with the given entity rows (code, name; nullopt is NULL).
class EntityListTest : public testing::Test {
protected:
    using Entity = std::pair<std::optional<std::string>, std::optional<std::string>>;

    EntityList ListOf(const std::string& name, const std::vector<Entity>& entities) {
        const std::string path =
            (std::filesystem::path(LRF_TEST_TMP) / ("EntityList-" + name + ".fdb")).string();
        std::filesystem::remove(path);
        {
            tools::DatabaseWriter db = tools::DatabaseWriter::Create(path);
            db.Execute("CREATE TABLE TABEMPRESA (EMPRESA INTEGER, NOME VARCHAR(1000), CNPJ CHAR(14))");
            db.Execute("GRANT SELECT ON TABEMPRESA TO PUBLIC");
            std::vector<tools::Row> rows;
            for (const auto& [code, entityName] : entities)
                rows.push_back({code, entityName});
            if (!rows.empty())
                db.ExecuteRows("INSERT INTO TABEMPRESA (EMPRESA, NOME) VALUES (?, ?)", rows);
        }
        ApplyDesignTimeSettings(connection_);
        connection_.LibraryName = std::string(LRF_BIN_DIR) + "/dbexpida.dll";
        connection_.SetParam("DataBase", path);
        connection_.Open();
        return ReadEntityList(cds_);
    }

    // The codes the clause of the ticked lines selects from the same table.
    std::vector<std::string> Selected(const EntityList& list, const std::vector<std::size_t>& ticked) {
        std::vector<EntityItem> items;
        for (const std::string& line : list.items)
            items.push_back({line, false});
        for (std::size_t index : ticked)
            items[index].ticked = true;
        cds_.Close();
        cds_.CommandText = "SELECT COALESCE(F.EMPRESA, 'NULL') AS CODE FROM TABEMPRESA F WHERE 1 = 1" +
                           BuildEntityFilter(items, list.mask.size(), "F.EMPRESA") + " ORDER BY 1";
        cds_.Open();
        std::vector<std::string> codes;
        for (; !cds_.Eof(); cds_.Next())
            codes.push_back(cds_.FieldByName("CODE").AsString());
        return codes;
    }

    TCRSQLConnection connection_;
    TSQLClientDataSet cds_{&connection_};
};

TEST_F(EntityListTest, CodesArePaddedToTheLongest) {
    const EntityList list = ListOf("Padded", {{"12", "SAUDE"}, {"1", "PREFEITURA"}, {"2", "C\xE2MARA"}});
    EXPECT_EQ(list.mask, "00");
    EXPECT_EQ(list.items, (std::vector<std::string>{"01 - PREFEITURA", "02 - C\xE2MARA", "12 - SAUDE"}));
    EXPECT_TRUE(cds_.Active());
    EXPECT_EQ(Selected(list, {0, 2}), (std::vector<std::string>{"1", "12"}));
}

TEST_F(EntityListTest, EmptyTableGivesNoMaskAndNoLines) {
    const EntityList list = ListOf("Empty", {});
    EXPECT_EQ(list.mask, "");
    EXPECT_TRUE(list.items.empty());
}

TEST_F(EntityListTest, UnusualRowsSelectExactlyTheirOwnEntity) {
    const std::string longName(1000, 'N');
    const EntityList list = ListOf("Unusual", {{std::nullopt, "SEM CODIGO"},
                                               {"-5", "NEGATIVA"},
                                               {"0", "ZERO"},
                                               {"7", std::nullopt},
                                               {"100", longName}});
    EXPECT_EQ(list.mask, "000");
    // Firebird puts NULL first in ascending order.
    EXPECT_EQ(list.items, (std::vector<std::string>{"    - SEM CODIGO", "-05 - NEGATIVA", "000 - ZERO",
                                                    "007 - ", "100 - " + longName}));
    EXPECT_EQ(Selected(list, {0}), (std::vector<std::string>{"NULL"}));
    EXPECT_EQ(Selected(list, {1}), (std::vector<std::string>{"-5"}));
    EXPECT_EQ(Selected(list, {2}), (std::vector<std::string>{"0"}));
    EXPECT_EQ(Selected(list, {3, 4}), (std::vector<std::string>{"100", "7"}));
}

TEST_F(EntityListTest, NegativeCodeAsLongAsTheMask) {
    const EntityList list = ListOf("Negative", {{"-5", "NEGATIVA"}, {"3", "TRES"}});
    EXPECT_EQ(list.mask, "00");
    EXPECT_EQ(list.items, (std::vector<std::string>{"-5 - NEGATIVA", "03 - TRES"}));
    EXPECT_EQ(Selected(list, {0}), (std::vector<std::string>{"-5"}));
}

TEST_F(EntityListTest, AThousandEntities) {
    std::vector<Entity> entities;
    for (int code = 1; code <= 1000; ++code)
        entities.push_back({std::to_string(code), "ENTIDADE " + std::to_string(code)});
    const EntityList list = ListOf("Thousand", entities);
    ASSERT_EQ(list.items.size(), 1000u);
    EXPECT_EQ(list.mask, "0000");
    EXPECT_EQ(list.items.front(), "0001 - ENTIDADE 1");
    EXPECT_EQ(list.items.back(), "1000 - ENTIDADE 1000");
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < 1000; ++i)
        all.push_back(i);
    EXPECT_EQ(Selected(list, all).size(), 1000u);
}

} // namespace
} // namespace lrf
