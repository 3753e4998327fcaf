#pragma once
// The texts the open-file dialog is handed: its filter list and, from the initial file, its
// starting directory and the name in its file-name box. Blocks come from the main heap.
#include <cstddef>
#include <memory>

#include "runtime/main_heap.h"

// UTF-16 code units of the file-name box, terminating zero included: a chosen path holds at
// most 259.
constexpr size_t FILE_NAME_CAPACITY = 260;

struct MainHeapRelease {
  void operator()(void* block) const { ReleaseToMainHeap(block); }
};
using MainHeapText = std::unique_ptr<wchar_t[], MainHeapRelease>;

// Zero-filled block of `units` code units, or null.
MainHeapText AllocateMainHeapText(size_t units);

// "Text (*.txt)|*.txt|All (*.*)|*.*" as the dialog's list of zero-terminated texts ending in a
// double zero: every "|" becomes a zero and three zeros follow the text. Null counts as the empty
// filter. Null when the block cannot be made.
MainHeapText MakeFilterList(const wchar_t* filter);

// Splits `initialFile` at its last backslash (one at the very start does not count) into the
// starting directory, which is returned (the empty text when there is no directory part), and
// the name, written into `fileName` (FILE_NAME_CAPACITY units, cut short and always
// terminated). A name the file system would not take, such as "*.*", leaves the box empty.
// Null when the directory block cannot be made.
MainHeapText SplitInitialFile(const wchar_t* initialFile, wchar_t* fileName);

// False for the empty name and for one holding a control character or any of " * / : < > ? \ |
bool IsAllowedFileName(const wchar_t* name);
