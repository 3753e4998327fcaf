#pragma once
// Lines that name no algorithm, in the three forms the usual tools write them:
//   gnu:           HEX, a blank, ' ' or '*' (the reading mode), NAME      (sha256sum)
//                  (xxhsum writes XXH3's HEX after a prefix that names it: XXH3_HEX)
//   one separator: HEX, one space or tab, NAME                            (md5 -r, HEX<TAB>NAME)
//   sfv:           NAME, blanks, eight hex digits of CRC32
// gnu and one-separator lines may start with a backslash, which says the name is escaped
// (line_escapes.h). As with the usual tools, the first line whole in one of the forms settles the
// form of the file: "HEX  NAME" is a gnu line in a gnu file and the name " NAME" in a
// one-separator file, and a later line in another form is malformed.
#include <cstddef>

#include "runtime/text.h"
#include "sums/sums_entry.h"

// xxhsum writes XXH3's digest in the gnu form after a prefix naming it: "XXH3_HEX  NAME".
inline constexpr wchar_t XXH3_DIGEST_PREFIX[] = L"XXH3_";

class UntaggedLines {
 public:
  // The entry of `text`, whose first character that is no blank is at `start`; a malformed entry
  // when it is in none of the forms, or not in the file's.
  SumsEntry Read(const Text& text, size_t start);

 private:
  enum class Form { UNDECIDED, GNU, ONE_SEPARATOR, SFV };

  // True when the line is "HEX  NAME" or "HEX NAME" in a form the file allows: `entry` is then
  // its entry, malformed when the name is not one.
  bool ReadHexFirst(const Text& text, size_t start, SumsEntry& entry);
  SumsEntry Settled(Form settled, const SumsEntry& entry);

  Form form = Form::UNDECIDED;
};
