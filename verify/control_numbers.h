#pragma once
// The numbers of the verifying window and its controls: toolkit numbers and control identifiers,
// which the end-to-end tests find the controls by.
#include <cstdint>

constexpr int64_t VERIFY_WINDOW = 0;

enum VerifyControl : int32_t {
  VERDICT_TEXT = 1,  // the verdict, large, on green or red
  DETAILS_TEXT,      // the counts of each status and the lines not understood
  FILE_LABEL,
  FILE_BOX,     // the sums file, or the file to check (read only)
  OPEN_BUTTON,  // "Open..."
  DIGEST_LABEL,
  DIGEST_BOX,      // the pasted digest
  COMPARE_BUTTON,  // "Compare with..." a second file
  PROGRESS_BAR,    // bytes over the whole run
  CURRENT_TEXT,    // the file being read and how far
  ROWS_LIST,       // a virtual list view of the rows
  COPY_BUTTON,     // "Copy"
  CANCEL_BUTTON,   // "Cancel"
  ADD_BUTTON,      // "Add N unlisted files": shown once a check found some
};

constexpr const wchar_t VERIFY_WINDOW_TITLE[] = L"Verify Checksums";
