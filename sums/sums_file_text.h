#pragma once
// The text of a sums file, cut into lines as its bytes arrive, so that memory stays the same
// whatever the file's size. The encoding is UTF-8, or UTF-16 when a byte-order mark says so (as
// Windows PowerShell 5 writes files); a UTF-8 byte-order mark is dropped. A line ends at LF, and
// a CR before it goes too; the last line needs no end.
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/text.h"

// Longer lines are no checksum lines; their bytes are passed over instead of kept.
constexpr size_t SUMS_LINE_LIMIT = 1 << 20;

struct SumsFileLine {
  Text text;             // empty for a line over the limit
  bool tooLong = false;  // the line was longer than SUMS_LINE_LIMIT bytes
};

class SumsFileText {
 public:
  // The next bytes of the file; the lines they end are appended to `lines`.
  void Take(const char* bytes, size_t size, std::vector<SumsFileLine>& lines);
  // The end of the file: the last line, when it has no end of its own.
  void Finish(std::vector<SumsFileLine>& lines);
  // A NUL byte came in UTF-8 text: no text editor or checksum tool writes one, so the file is
  // binary (an image, a program) and its "lines" are noise.
  bool HeldBinary() const { return binary; }

 private:
  void Decide(bool ended, std::vector<SumsFileLine>& lines);
  void TakeUtf8(const char* piece, size_t size, std::vector<SumsFileLine>& lines);
  void TakeUtf16(const char* piece, size_t size, std::vector<SumsFileLine>& lines);
  void Grow(size_t bytes);
  void EndLine(std::vector<SumsFileLine>& lines);

  bool decided = false;  // the byte-order mark, or its absence, has been read
  TextEncoding encoding = TextEncoding::UTF8;
  std::string start;  // the first bytes, until they tell the encoding
  // The current line: its bytes in UTF-8, its code units in UTF-16.
  std::string bytes;
  std::u16string units;
  size_t lineBytes = 0;
  bool tooLong = false;  // the current line passed the limit and is being skipped
  int oddByte = -1;      // UTF-16: the first byte of a code unit whose second has not come yet
  bool binary = false;
};

// All lines of a whole file in memory.
std::vector<SumsFileLine> SumsFileLines(const std::string& bytes);
