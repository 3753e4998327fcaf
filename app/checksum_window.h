#pragma once
// The tool's one window: eleven report fields, "Open File", "Clear" and a status bar.
#include <cstdint>

#include "runtime/text.h"

constexpr int64_t MAIN_WINDOW = 0;
constexpr int64_t OPEN_FILE_BUTTON = 12;
constexpr int64_t CLEAR_BUTTON = 13;

// False when the window itself could not be made.
bool BuildChecksumWindow();

// Puts the file's name into the title, then shows its report.
void ShowPath(const Text& path);

// Back to the start labels, an empty status bar and the base title.
void ClearReport();

void OpenFileFromDialog();
