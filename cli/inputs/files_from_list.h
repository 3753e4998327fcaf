#pragma once
// The names of a --files-from list, taken as its bytes arrive, so that a list still being written
// (find ... | checksums-cli --files-from -) is hashed as it comes. One name a line, the line
// ended by LF, CRLF or a zero byte (find -print0); UTF-8 (a file name's bytes kept as they are,
// text.h) after an optional byte-order mark, or UTF-16 after its byte-order mark, as PowerShell
// 5 writes a redirected list. Empty lines are passed over.
#include <cstddef>
#include <deque>
#include <string>

#include "runtime/text.h"

class FilesFromListReader {
 public:
  void Feed(const char* bytes, size_t size);
  // The list has ended: what follows its last line end is a name too.
  void End();
  // The next complete name; false when none is complete yet.
  bool Next(Text& name);

 private:
  void TellEncoding(bool ended);
  void TakeLines(bool ended);
  void TakeUtf8Lines(bool ended);
  void TakeUtf16Lines(bool ended);
  void Keep(Text name);

  bool decided = false;  // the byte-order mark, or its absence, has been read
  TextEncoding encoding = TextEncoding::UTF8;
  std::string pending;  // bytes after the last complete line
  std::deque<Text> names;
};
