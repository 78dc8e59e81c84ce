// Any path code with any year, server and server system: the path is one line and ends with a folder
// separator; a local installation's paths stay under its folder.
#include "FuzzScratch.h"
#include "settings/ProfileReader.h"
#include "settings/SystemPath.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The input's lines: code, year, server, server system.
std::vector<std::string> Fields(std::string_view bytes) {
    std::vector<std::string> fields(4);
    for (std::size_t i = 0; i < fields.size() && !bytes.empty(); ++i) {
        const auto end = std::min(bytes.find('\n'), bytes.size());
        fields[i] = std::string(bytes.substr(0, end));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto fields = Fields(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string& code = fields[0];
    std::string& year = fields[1];
    // Folders are created under the year folder: a separator in the year would leave the scratch folder.
    std::replace(year.begin(), year.end(), '/', '_');
    const std::string base = (lrf::fuzz::ScratchFolder() / "KORV_8").string() + "/";
    // The folders come first: a key the fuzzed lines smuggle in after a CR cannot replace them.
    const auto settings = lrf::fuzz::WriteScratchFile(
        "Korv.ini", "[KORV]\r\nCaminho_Base_Dados=" + base + "\r\nDiretorio_Servidor=" + base + "\r\nAno=" +
                        year + "\r\nServidor=" + fields[2] + "\r\nSO_Servidor=" + fields[3] + "\r\n");
    std::string path;
    try {
        path = lrf::ResolveSystemPath(code, settings, '/');
    } catch (const lrf::PathError& error) {
        LRF_FUZZ_ASSERT(std::string_view(error.what()).size() > 0);
        return 0;
    }
    LRF_FUZZ_ASSERT(path.find_first_of("\r\n") == std::string::npos);
    if (path.empty())
        return 0; // a code the server installation does not know
    LRF_FUZZ_ASSERT(path.back() == '/' || path.back() == '\\');
    if (lrf::ReadProfileString(settings, "KORV", "Servidor", "").empty())
        LRF_FUZZ_ASSERT(path.starts_with(base));
    return 0;
}
