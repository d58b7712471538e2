#pragma once

#include "app/command_line.h"

#include <string>
#include <vector>

namespace tavimo {

// The program's entry: 0 when the chore succeeded (or had nothing to do) or the window ran, 1 when the
// chore failed.
int Main();

// Element 0 in lower case as the system maps it, nothing trimmed: what FindSwitch compares.
std::wstring SwitchKey(const std::vector<std::wstring>& arguments);

// Runs one recognised switch in-line; true when it succeeded.
bool RunSwitch(Switch which, const std::vector<std::wstring>& arguments);

} // namespace tavimo
