// Any day of the years 1 to 9999: "mm/dd/yyyy" with "/", which reads back as the same day.
#include "FuzzScratch.h"
#include "export/RecordConventions.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size != sizeof(std::uint32_t))
        return -1;
    std::uint32_t offset = 0;
    std::memcpy(&offset, data, sizeof offset);
    const QDate first(1, 1, 1);
    const qint64 days = first.daysTo(QDate(9999, 12, 31)) + 1;
    const QDate date = first.addDays(static_cast<qint64>(offset) % days);
    const std::string text = lrf::SqlDateText(date);
    LRF_FUZZ_ASSERT(text.size() == 10 && text[2] == '/' && text[5] == '/');
    const QDate read = QDate::fromString(QString::fromLatin1(text), QStringLiteral("MM/dd/yyyy"));
    LRF_FUZZ_ASSERT(read == date);
    return 0;
}
