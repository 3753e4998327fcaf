#pragma once
// One-time start of a library and its single state record.
#include <cstddef>
#include <cstdint>

#include "toolkit/once_flag.h"

// Runs the routine exactly once per flag however many threads race; every caller returns only
// after it has finished. Uses the system's one-time service where there is one.
void RunOnce(OnceFlag* flag, OnceRoutine routine);

// The fallback of RunOnce without the system service: an atomic compare-and-exchange of the flag
// from 0 to 1, the final value 2 published once the routine has run.
void RunOnceByCompareAndExchange(OnceFlag* flag, OnceRoutine routine);

using LibraryStateInit = void (*)(void* state);

// A zero-filled record from the main heap, passed through init when one is given.
void* AllocateLibraryState(size_t size, LibraryStateInit init);
