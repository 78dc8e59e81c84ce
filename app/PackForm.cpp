#include "app/PackForm.h"

#include <cstring>

namespace lrf {

bool IsDesignSwitch(int argc, const char* const* argv) { return argc > 1 && std::strcmp(argv[1], "design") == 0; }

void ShowPackageInformation() {
    // The window itself is still to come.
}

} // namespace lrf
