#include "sums/sums_file_reader.h"

#include <cstdint>

#include "sums/standard_input.h"
#include "sums/unreadable_reason.h"

namespace {

constexpr uint32_t PIECE_SIZE = 65536;

}  // namespace

bool SumsFileReader::Open(const Text& sumsPath) {
  path = sumsPath;
  const bool opened =
      path == STANDARD_INPUT_NAME ? file.OpenStandardInput() : file.OpenAnyReadable(path).Opened();
  if (!opened) failure = UnreadableFileReason(path);
  if (path != STANDARD_INPUT_NAME) lines.TakeDigestsAloneFor(DigestOnlyFileAt(path));
  return opened;
}

bool SumsFileReader::ReadEntries(std::vector<SumsEntry>& entries) {
  if (ended) return false;
  char piece[PIECE_SIZE];
  const int64_t got = file.ReadSome(reinterpret_cast<uint8_t*>(piece), PIECE_SIZE);
  if (got < 0) {
    failure = UnreadableFileReason(path);
    ended = true;
    return false;
  }
  if (got == 0) {
    text.Finish(cut);
    ended = true;
  } else {
    bytesRead += static_cast<uint64_t>(got);
    text.Take(piece, static_cast<size_t>(got), cut);
  }
  for (const SumsFileLine& line : cut) lines.Take(line, entries);
  cut.clear();
  if (ended) lines.Finish(entries);
  return true;
}

Text SumsFileDisplayName(const Text& path) {
  return path == STANDARD_INPUT_NAME ? Text(L"standard input") : path;
}
