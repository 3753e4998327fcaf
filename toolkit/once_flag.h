#pragma once
// The flag and routine of a one-time initialisation, shared by RunOnce and the system's service.
#include <cstdint>

using OnceFlag = intptr_t;  // pointer-sized, zero at start
using OnceRoutine = void (*)();
