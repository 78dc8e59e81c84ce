#pragma once
#include "export/FileGenerator.h"

namespace lrf {

extern const FileGenerator kDsoOrcd;
extern const FileGenerator kDsaOrcd;

} // namespace lrf
