// The user's PATH (HKCU\Environment, value Path) read and written with the registry functions,
// at any length, its type kept; the rules are path_list's.
#pragma once

#include <string>

enum class PathEdit {
  CHANGED,     // the entry added to, or taken out of, the value that was there
  CREATED,     // there was no Path: one holding the entry alone was made
  UNCHANGED,   // the entry was there already, or was not there to take out
  LEFT_ALONE,  // the value is no plain string of text: not touched
  FAILED,      // the registry refused, or the entry is no folder's name
};

PathEdit AddUserPathEntry(const std::u16string& entry);

// With `deleteWhenEmpty` (the install made the value), a Path left with nothing is deleted.
PathEdit RemoveUserPathEntry(const std::u16string& entry, bool deleteWhenEmpty);
