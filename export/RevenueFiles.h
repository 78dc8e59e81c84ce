#pragma once
#include "export/FileGenerator.h"

namespace lrf {

extern const FileGenerator kRecOrcd;
extern const FileGenerator kRecRzda;

} // namespace lrf
