#pragma once
#include "export/FileGenerator.h"

namespace lrf {

extern const FileGenerator kDedOrcd;
extern const FileGenerator kDedRzda;

} // namespace lrf
