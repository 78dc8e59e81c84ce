#pragma once
// The package information window, shown modally before the main window when the program starts with
// the first argument "design".

namespace lrf {

// True when the first argument (after the program's own name) is exactly "design".
bool IsDesignSwitch(int argc, const char* const* argv);

// Shows the window and returns when the operator closes it.
void ShowPackageInformation();

} // namespace lrf
