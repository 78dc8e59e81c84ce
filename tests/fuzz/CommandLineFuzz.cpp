// Any arguments (NUL-separated UTF-8): either options a run can use, or one line of Portuguese that says
// what is wrong.
#include "CommandLine.h"
#include "FuzzScratch.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        const std::string_view argument = bytes.substr(start, end - start);
        arguments << QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
        start = end + 1;
    }
    const auto parsed = lrf::cli::ParseCommandLine(arguments);
    if (const auto* error = std::get_if<lrf::cli::UsageError>(&parsed)) {
        LRF_FUZZ_ASSERT(!error->message.isEmpty());
        return 0;
    }
    const auto& options = std::get<lrf::cli::Options>(parsed);
    if (options.help)
        return 0;
    LRF_FUZZ_ASSERT(options.bimester >= 1 && options.bimester <= 6);
    LRF_FUZZ_ASSERT(options.entityCodes.size() <= static_cast<std::size_t>(size));
    LRF_FUZZ_ASSERT(!options.folderText || !options.folderText->trimmed().isEmpty());
    LRF_FUZZ_ASSERT(!options.settingsFile || !options.settingsFile->trimmed().isEmpty());
    return 0;
}
