// Windows-1252 bytes of the database and the output files against the program's own texts.
#include "export/Windows1252.h"
#include "settings/Windows1252Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace lrf {
namespace {

// Every byte both ways, by every route the program takes, against the system's own Windows-1252 codec, so
// a wrong entry in the program's one table shows here.
TEST(Windows1252Test, EveryByteBothWaysAgainstTheSystemCodec) {
    QStringDecoder decoder("windows-1252");
    QStringEncoder encoder("windows-1252");
    ASSERT_TRUE(decoder.isValid() && encoder.isValid());
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const QString expected = decoder.decode(QByteArrayView(byte.data(), 1));
        ASSERT_EQ(expected.size(), 1) << b;
        EXPECT_EQ(FromWindows1252(byte), expected) << b;
        EXPECT_EQ(Utf8FromWindows1252(byte), expected.toStdString()) << b;
        EXPECT_EQ(ToWindows1252(expected), byte) << b;
        const char16_t unit = expected.front().unicode();
        EXPECT_EQ(
            Windows1252FromUtf16Le(std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)}),
            byte)
            << b;
        EXPECT_EQ(QByteArray(encoder.encode(expected)), QByteArray(byte.data(), 1)) << b;
    }
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
