#pragma once
// The verifying window: its controls, their places and fonts for the window's DPI, and the
// verdict's colours. It shows what it is given and decides nothing.
#include <windows.h>

#include <cstdint>

#include "runtime/text.h"
#include "verify/verdict.h"

// Opens the window with every control; false when the window cannot be made.
bool BuildVerifyWindow();

// Places the controls for the window's client area and DPI: on every size change.
void LayOutVerifyWindow();

HWND VerifyControlHandle(int32_t number);

void ShowVerdict(const Verdict& verdict);
// `permille` of the run's bytes done; `current` says which file is being read.
void ShowProgress(int32_t permille, const Text& current);
