#pragma once
// The thirteen file boxes of the window, in the fixed order in which a run takes them.
#include "export/FileGenerator.h"

#include <array>
#include <string_view>

namespace lrf {

inline constexpr std::size_t kStepCount = 13;

struct ExportStep {
    std::string_view boxName;       // component name, e.g. "cbDed_Orcd"
    std::string_view fileStem;      // "DED_ORCD" (names the box on the command line too)
    const FileGenerator* generator; // nullptr: the box only advances the overall bar
};

// Steps 1..13 in run order: DED_ORCD, DIV_RZDA, DED_RZDA, DES_ORCD, DES_RZDA, DFS_ORCD, DFS_RZDA,
// DPR_ORCD, DPR_RZDA, DSO_ORCD, DSA_ORCD, REC_ORCD, REC_RZDA.
const std::array<ExportStep, kStepCount>& ExportSteps();

} // namespace lrf
