#pragma once
#include "export/FileGenerator.h"

namespace lrf {

extern const FileGenerator kDesOrcd;
extern const FileGenerator kDesRzda;

} // namespace lrf
