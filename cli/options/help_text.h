#pragma once
// The text of --help: how the program is called, then a line or more for each row of the option
// table, then what the exit status says.
#include <vector>

#include "runtime/text.h"

// Lines stay below 80 characters: the 80th would wrap onto an empty line in a console.
constexpr size_t HELP_WIDTH = 79;

std::vector<Text> HelpLines();
