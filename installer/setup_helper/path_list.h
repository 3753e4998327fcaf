// The rules by which the setup program edits a PATH value, on its text alone: an entry is added
// only when no entry names the same folder, and taken out again leaving every other entry, empty
// ones too, as it was, in its place and byte for byte. No length limit anywhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A registry string as stored: the text up to the first NUL, then the NULs that end it (none,
// one, or more, kept so that a value written back is the same bytes).
struct RegistryText {
  std::u16string text;
  std::u16string terminator;
};

// The data of a REG_SZ or REG_EXPAND_SZ value (UTF-16, little-endian) as text, or nothing when it
// is no plain string: an odd number of bytes, or anything but NULs after the first NUL.
std::optional<RegistryText> ReadRegistryText(std::string_view bytes);

// The data to store for `value`: the same bytes as were read when the text is unchanged.
std::string RegistryBytes(const RegistryText& value);

// Whether two PATH entries name the same folder as Windows reads them: without regard to case,
// surrounding quotes or trailing backslashes.
bool SamePathEntry(std::u16string_view a, std::u16string_view b);

// Whether `folder` can be a PATH entry: a folder's name is never empty and never holds a quote
// (one that does was cut from a command line wrongly, as "D:\" read as D:").
bool IsFolderName(std::u16string_view folder);

// Whether every quote in the PATH is closed: after an open one, an added entry would be read as
// part of the quoted one.
bool PathQuotesClosed(std::u16string_view path);

// The PATH with `entry` appended, or nothing when an entry names that folder already. The
// separator goes before the new entry, so that taking it out restores the value exactly; an
// entry holding the separator goes in quotes, so that the system reads it as one.
std::optional<std::u16string> PathWithEntry(std::u16string_view path, std::u16string_view entry);

// The PATH without the entries that name the folder of `entry`, or nothing when none does.
std::optional<std::u16string> PathWithoutEntry(std::u16string_view path, std::u16string_view entry);
