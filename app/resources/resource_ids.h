#pragma once
// Resource numbers shared by the resource script and the code that loads them.
#define PROGRAM_ICON_RESOURCE 1
