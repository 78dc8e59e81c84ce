// Windows-1252 bytes of the database and the output files against the program's own texts.
#include "export/Windows1252.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

struct CharacterCase {
    unsigned char byte;
    char16_t character;
};

// ASCII, the 0x80..0x9F block (the five undefined bytes keep their C1 code points) and Latin-1.
constexpr CharacterCase kCharacters[] = {
    {0x41, u'A'},   {0x7F, 0x007F}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x8D, 0x008D},
    {0x8F, 0x008F}, {0x90, 0x0090}, {0x93, 0x201C}, {0x96, 0x2013}, {0x99, 0x2122}, {0x9D, 0x009D},
    {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xBA, 0x00BA}, {0xC7, 0x00C7}, {0xE2, 0x00E2}, {0xFF, 0x00FF},
};

TEST(Windows1252Test, EveryByteBothWays) {
    for (const CharacterCase& c : kCharacters) {
        const std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(FromWindows1252(byte), QString(QChar(c.character))) << int(c.byte);
        EXPECT_EQ(ToWindows1252(QString(QChar(c.character))), byte) << int(c.byte);
    }
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
}

TEST(Windows1252Test, TextsAndCharactersWithoutAByte) {
    struct Case {
        QString text;
        std::string bytes;
    };
    const Case cases[] = {
        {QStringLiteral("Câmara de São José"), "C\xE2mara de S\xE3o Jos\xE9"},
        {QStringLiteral("Saúde – 1º Bim"), "Sa\xFA"
                                           "de \x96 1\xBA Bim"},
        {QStringLiteral("Ωx"), "?x"}, // no Windows-1252 byte
        {QString::fromUtf8("a\xF0\x9F\x98\x80"
                           "b"),
         "a?b"}, // outside the first plane: one "?"
        {QString(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToWindows1252(c.text), c.bytes) << c.text.toStdString();
    EXPECT_EQ(FromWindows1252(std::string_view("a\0b", 3)), QString(QStringLiteral("a")) + QChar(0) + u'b');
}

} // namespace
} // namespace lrf
