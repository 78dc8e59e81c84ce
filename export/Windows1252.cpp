#include "export/Windows1252.h"

#include <QStringDecoder>

#include <array>
#include <cstdint>

namespace lrf {

namespace {

// 0x80..0x9F. The five bytes Windows-1252 leaves undefined (81, 8D, 8F, 90, 9D) keep their C1 code
// points, as Windows itself maps them, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

} // namespace

QString FromWindows1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes) {
        const auto b = static_cast<std::uint8_t>(byte);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b));
    }
    return text;
}

std::string ToWindows1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character outside the first plane is one "?", not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const int b = c.isSurrogate() ? -1 : ByteOf(c.unicode());
        bytes.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return bytes;
}

QString ErrorMessageText(const char* what) {
    const QByteArrayView bytes(what);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = FromWindows1252(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
    return text;
}

} // namespace lrf
