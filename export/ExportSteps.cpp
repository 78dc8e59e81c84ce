#include "export/ExportSteps.h"

#include "export/DeductionFiles.h"
#include "export/ExpenseCategoryFiles.h"
#include "export/ExpenseFunctionFiles.h"
#include "export/HealthStatements.h"
#include "export/RevenueFiles.h"

namespace lrf {

const std::array<ExportStep, kStepCount>& ExportSteps() {
    // The red boxes (DIV_RZDA, DPR_ORCD, DPR_RZDA) have no file: they only advance the overall bar.
    static const std::array<ExportStep, kStepCount> steps{{
        {"cbDed_Orcd", "DED_ORCD", &kDedOrcd},
        {"cbDiv_rzda", "DIV_RZDA", nullptr},
        {"cbDed_rzda", "DED_RZDA", &kDedRzda},
        {"cbDes_orcd", "DES_ORCD", &kDesOrcd},
        {"cbDes_rzda", "DES_RZDA", &kDesRzda},
        {"cbDfs_orcd", "DFS_ORCD", &kDfsOrcd},
        {"cbDfs_rzda", "DFS_RZDA", &kDfsRzda},
        {"cbDpr_orcd", "DPR_ORCD", nullptr},
        {"cbDpr_rzda", "DPR_RZDA", nullptr},
        {"cbDso_orcd", "DSO_ORCD", &kDsoOrcd},
        {"cbDsa_orcd", "DSA_ORCD", &kDsaOrcd},
        {"cbRec_orcd", "REC_ORCD", &kRecOrcd},
        {"cbRec_rzda", "REC_RZDA", &kRecRzda},
    }};
    return steps;
}

} // namespace lrf
