// Any settings file: a value is one line, never longer than the reader's limit, with no blank before it
// (nor after it, unless it was cut), and a section read at once agrees with the key read alone.
#include "FuzzScratch.h"
#include "settings/ProfileReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto file = lrf::fuzz::WriteScratchFile("Korv.ini", bytes);
    const lrf::ProfileSection korv = lrf::ReadProfileSection(file, "KORV");
    for (const char* key : {"Ano", "Servidor", "Caminho_Base_Dados", "SO_Servidor", ""}) {
        const std::string value = korv.Value(key, "\x01");
        if (value == "\x01")
            continue;
        LRF_FUZZ_ASSERT(value.find_first_of("\r\n") == std::string::npos);
        LRF_FUZZ_ASSERT(value.size() <= lrf::kProfileValueLimit);
        LRF_FUZZ_ASSERT(value.empty() || value.front() != ' ');
        // A value cut at the limit may end with a blank; a shorter one never does.
        LRF_FUZZ_ASSERT(value.size() == lrf::kProfileValueLimit || value.empty() || value.back() != ' ');
        LRF_FUZZ_ASSERT(lrf::ReadProfileString(file, "korv", key, "\x01") == value);
    }
    return 0;
}
