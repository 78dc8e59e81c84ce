#pragma once
#include <string>
#include <string_view>

namespace lrf::sample {

// The sample's texts are written in UTF-8 here and stored as the Windows-1252 bytes the accounting
// system keeps. A character the code page lacks is an error in the sample, not a "?".
std::string Windows1252FromUtf8(std::string_view utf8);

} // namespace lrf::sample
