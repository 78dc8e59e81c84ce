// Any amount with either decimal separator: the text reads back as the amount rounded half away from zero
// to the cent, with a "-" only when that is not zero.
#include "FuzzScratch.h"
#include "export/RecordConventions.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size != sizeof(std::int64_t) + 1)
        return -1;
    std::int64_t units = 0;
    std::memcpy(&units, data, sizeof units);
    lrf::RegionalSettings regional;
    regional.decimalSeparator = (data[sizeof units] & 1) ? u'.' : u',';
    const std::string text = lrf::MoneyText(lrf::Currency::FromUnits(units), regional);

    // 128 bits, so the rounding of INT64_MIN is checked with arithmetic that cannot overflow.
    const __int128 magnitude = units < 0 ? -static_cast<__int128>(units) : units;
    const __int128 cents = (magnitude + 50) / 100;

    std::string_view rest = text;
    const bool minus = rest.starts_with('-');
    if (minus)
        rest.remove_prefix(1);
    LRF_FUZZ_ASSERT(minus == (units < 0 && cents != 0));
    LRF_FUZZ_ASSERT(rest.size() >= 4 &&
                    rest[rest.size() - 3] == static_cast<char>(regional.decimalSeparator.unicode()));
    LRF_FUZZ_ASSERT(rest.size() == 4 || rest.front() != '0');
    __int128 read = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (i == rest.size() - 3)
            continue;
        LRF_FUZZ_ASSERT(rest[i] >= '0' && rest[i] <= '9');
        read = read * 10 + (rest[i] - '0');
    }
    LRF_FUZZ_ASSERT(read == cents);
    return 0;
}
