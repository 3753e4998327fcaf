#pragma once
// The platform's one-time initialisation service, where it has one.
#include "toolkit/once_flag.h"

// True when the system service ran (or had already run) the routine for this flag.
bool RunOnceThroughSystem(OnceFlag* flag, OnceRoutine routine);
