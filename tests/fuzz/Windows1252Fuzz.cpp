// Any bytes survive Windows-1252 to Unicode and back, by every route the program takes; any UTF-16 text
// becomes one byte per character.
#include "FuzzScratch.h"
#include "export/Windows1252.h"
#include "settings/Windows1252Text.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const QString text = lrf::FromWindows1252(bytes);
    LRF_FUZZ_ASSERT(static_cast<std::size_t>(text.size()) == bytes.size());
    LRF_FUZZ_ASSERT(lrf::ToWindows1252(text) == bytes);

    const std::string utf8 = lrf::Utf8FromWindows1252(bytes);
    LRF_FUZZ_ASSERT(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())) == text);

    std::string utf16;
    for (const QChar c : text) {
        utf16 += static_cast<char>(c.unicode() & 0xFF);
        utf16 += static_cast<char>(c.unicode() >> 8);
    }
    LRF_FUZZ_ASSERT(lrf::Windows1252FromUtf16Le(utf16) == bytes);

    // The same bytes read as UTF-16: a pair of surrogates is one character, so one byte.
    QString wide;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        wide += QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const std::string narrow = lrf::ToWindows1252(wide);
    LRF_FUZZ_ASSERT(narrow == lrf::Windows1252FromUtf16Le(bytes.substr(0, size / 2 * 2)));
    LRF_FUZZ_ASSERT(static_cast<qsizetype>(narrow.size()) == wide.toUcs4().size());
    return 0;
}
