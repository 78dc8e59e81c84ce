#pragma once
#include "export/FileGenerator.h"

namespace lrf {

extern const FileGenerator kDfsOrcd;
extern const FileGenerator kDfsRzda;

} // namespace lrf
