#include "Options.h"

#include "settings/AsciiText.h"

#include <optional>
#include <stdexcept>

namespace lrf::sample {

const char* const kUsage = "usage: korv-sample --dir DIR [--ano YEAR] [--scale N]\n"
                           "  --dir DIR     folder of the new installation (created when missing)\n"
                           "  --ano YEAR    fiscal year, four digits (default 2024)\n"
                           "  --scale N     volume multiplier, 1 to 1000 (default 1: a small municipality)\n";

namespace {

int WholeNumber(const std::string& option, const std::string& text, int low, int high) {
    const std::optional<int> value = ParseWholeNumber<int>(text);
    if (!value || *value < low || *value > high)
        throw std::invalid_argument(option + " takes a whole number from " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not \"" + text + "\"");
    return *value;
}

} // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    bool haveDir = false, haveYear = false, haveScale = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h")
            return std::nullopt;
        bool* seen = name == "--dir"     ? &haveDir
                     : name == "--ano"   ? &haveYear
                     : name == "--scale" ? &haveScale
                                         : nullptr;
        if (!seen)
            throw std::invalid_argument("unknown option \"" + arguments[i] + "\"");
        if (*seen)
            throw std::invalid_argument(name + " is given twice");
        *seen = true;
        if (!value) {
            if (i + 1 == arguments.size())
                throw std::invalid_argument(name + " needs a value");
            value = arguments[++i];
        }
        if (name == "--dir") {
            if (value->empty())
                throw std::invalid_argument("--dir needs a folder name");
            options.dir = *value;
        } else if (name == "--ano") {
            if (value->size() != 4)
                throw std::invalid_argument("--ano takes a year of four digits, not \"" + *value + "\"");
            options.year = WholeNumber(name, *value, 1901, 2999);
        } else {
            options.scale = WholeNumber(name, *value, 1, 1000);
        }
    }
    if (!haveDir)
        throw std::invalid_argument("--dir is required");
    return options;
}

} // namespace lrf::sample
