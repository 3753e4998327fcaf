// Whether a program of an installation is running, so that an upgrade or an uninstall can stop
// before it changes anything.
#pragma once

#include <string>
#include <vector>

// Whether any process runs one of `names` from `folder`, the folder compared as Windows compares
// names.
bool AnyProgramRunning(const std::u16string& folder, const std::vector<std::u16string>& names);
