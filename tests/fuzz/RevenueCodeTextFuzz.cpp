// Any revenue code: characters 1, 2, 3, 4, 6-7 and 9-10 of the code, in order, with five dots between
// the groups; nothing else of the code and nothing more.
#include "FuzzScratch.h"
#include "export/RecordConventions.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

std::string WithoutDots(std::string_view text) {
    std::string rest;
    std::copy_if(text.begin(), text.end(), std::back_inserter(rest), [](char c) { return c != '.'; });
    return rest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view code(reinterpret_cast<const char*>(data), size);
    const std::string text = lrf::RevenueCodeText(code);

    // Counted from 0: the code's characters the text keeps, and where they land in a full code's text.
    constexpr std::size_t kKept[] = {0, 1, 2, 3, 5, 6, 8, 9};
    constexpr std::size_t kPlace[] = {0, 2, 4, 6, 8, 9, 11, 12};
    constexpr std::size_t kDots[] = {1, 3, 5, 7, 10};
    std::string kept;
    for (std::size_t i : kKept)
        if (i < code.size())
            kept += code[i];
    LRF_FUZZ_ASSERT(text.size() == kept.size() + std::size(kDots));
    LRF_FUZZ_ASSERT(WithoutDots(text) == WithoutDots(kept));
    if (code.size() >= 10) {
        for (std::size_t i = 0; i < std::size(kKept); ++i)
            LRF_FUZZ_ASSERT(text[kPlace[i]] == code[kKept[i]]);
        for (std::size_t at : kDots)
            LRF_FUZZ_ASSERT(text[at] == '.');
    }
    return 0;
}
