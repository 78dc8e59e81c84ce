#include "export/Windows1252.h"

#include "settings/Windows1252Text.h"

#include <QStringDecoder>

namespace lrf {

QString FromWindows1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes)
        *out++ = QChar(Windows1252Character(static_cast<unsigned char>(byte)));
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
        const int b = c.isSurrogate() ? -1 : Windows1252Byte(c.unicode());
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
