#pragma once
// The rows of a check as the window's list shows them: one per file a sums file lists, or per
// file compared.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/text.h"

// UNLISTED: a file beside a sums file that no line names; information, never a failure.
enum class RowStatus { WAITING, OK, FAILED, MISSING, UNREADABLE, NOT_CHECKED, UNLISTED };

struct CheckRow {
  Text name;          // as the sums file writes it
  Text algorithm;     // "SHA-256"; several joined by " or " until one has matched
  int64_t size = -1;  // bytes; -1 while not known
  RowStatus status = RowStatus::WAITING;
  Text reason;            // MISSING and UNREADABLE: why, in the system's words
  Text expected;          // the digest written, lower case
  Text computed;          // FAILED, or a file a sums file being made lists: its digest
  size_t lineNumber = 0;  // in the sums file, from 1; 0 for a file compared
};

// The list's columns, in their order.
enum class RowColumn { NAME, ALGORITHM, SIZE, STATUS, EXPECTED, COMPUTED };
constexpr size_t ROW_COLUMN_COUNT = 6;

// "OK", "FAILED", "MISSING", "UNREADABLE", "NOT CHECKED", "UNLISTED"; empty while waiting.
const wchar_t* StatusWord(RowStatus status);

// "Name", "Algorithm", ...
const wchar_t* ColumnTitle(RowColumn column);

// What a cell shows: the status with its reason ("MISSING (No such file or directory)"), the
// size in bytes, the digests of a failure only.
Text CellText(const CheckRow& row, RowColumn column);

// A failure of any kind: what the verdict counts against the run and the order puts first.
bool IsFailure(RowStatus status);
