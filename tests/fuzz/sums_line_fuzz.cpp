// Sums files come from anywhere. Every file must be read without fault, whatever its encoding;
// cut into pieces anywhere it must give the same lines; every entry in a known form must hold a
// digest of a known length with a name (each of a hashdeep row's in its algorithm's length); and a
// gnu or bsd entry, written back as the companion writes it, must read back to the same algorithm,
// digest and name. Every name leads to a path that ends in it, and is read as reaching the
// network, the device namespace or a device only with a reason for refusing it. Lines added to
// the file in its own form are its last lines, read back as written, after every byte there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sums/hex_digits.h"
#include "sums/listed_file.h"
#include "sums/outside_names.h"
#include "cli/listing/digest_lines.h"
#include "sums/sums_file_form.h"
#include "sums/sums_file_text.h"
#include "sums/lines/untagged_lines.h"
#include "sums/sums_line_reader.h"

namespace {

bool SameLines(const std::vector<SumsFileLine>& a, const std::vector<SumsFileLine>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].text != b[i].text || a[i].tooLong != b[i].tooLong) return false;
  }
  return true;
}

// The lines of the bytes fed in two pieces, cut where the first byte says.
std::vector<SumsFileLine> LinesInTwoPieces(const std::string& bytes) {
  const size_t cut = bytes.empty() ? 0 : static_cast<uint8_t>(bytes[0]) % (bytes.size() + 1);
  std::vector<SumsFileLine> lines;
  SumsFileText text;
  text.Take(bytes.data(), cut, lines);
  text.Take(bytes.data() + cut, bytes.size() - cut, lines);
  text.Finish(lines);
  return lines;
}

Text WrittenBack(const SumsEntry& entry) {
  if (entry.form == SumsLineForm::BSD) {
    return DigestLines(OutputFormat::BSD, {entry.algorithm}, {entry.hex}, entry.name)[0];
  }
  // A gnu line names no algorithm but by xxhsum's XXH3 prefix; any with its number of digits
  // writes the same line.
  const AlgorithmList fitting = AlgorithmsWithHexLength(AllAlgorithms(), entry.hex.size());
  const Text line = DigestLines(OutputFormat::GNU, {fitting[0]}, {entry.hex}, entry.name)[0];
  if (!entry.algorithm) return line;
  const size_t escapeMark = line[0] == L'\\' ? 1 : 0;
  return line.substr(0, escapeMark) + XXH3_DIGEST_PREFIX + line.substr(escapeMark);
}

void CheckEntry(const SumsEntry& entry) {
  if (entry.form == SumsLineForm::MALFORMED) return;
  const AlgorithmList fitting = AlgorithmsWithHexLength(AllAlgorithms(), entry.hex.size());
  if (fitting.empty() || entry.name.empty() ||
      (entry.algorithm && HexLength(*entry.algorithm) != entry.hex.size())) {
    std::abort();
  }
  const bool rows = entry.form == SumsLineForm::HASHDEEP || entry.form == SumsLineForm::SEVEN_ZIP;
  for (const WrittenDigest& digest : entry.moreDigests) {
    if (!rows || !digest.algorithm || HexLength(*digest.algorithm) != digest.hex.size() ||
        !AllHexDigits(digest.hex)) {
      std::abort();
    }
  }
  if ((rows || entry.form == SumsLineForm::DIGEST_ONLY) && !entry.algorithm) {
    std::abort();
  }
  if (entry.form != SumsLineForm::GNU && entry.form != SumsLineForm::BSD) return;
  SumsFileLine line;
  line.text = WrittenBack(entry);
  std::vector<SumsEntry> again;
  SumsLineReader reader;
  reader.Take(line, again);
  reader.Finish(again);
  if (again.size() != 1 || again[0].form != entry.form || again[0].algorithm != entry.algorithm ||
      again[0].hex != entry.hex || again[0].name != entry.name) {
    std::abort();
  }
}

void CheckListedFile(const SumsEntry& entry) {
  const NameReach reach = ReachOfWrittenName(entry.name);
  if (NotOpenedReason(reach).empty() != (reach == NameReach::LOCAL)) std::abort();
  const ListedFile file = FindListedFile(L"dl/SHA256SUMS", entry, false);
  const bool endsInName =
      file.path.size() >= entry.name.size() &&
      file.path.compare(file.path.size() - entry.name.size(), Text::npos, entry.name) == 0;
  if (file.refusal.empty() ? !endsInName : !file.path.empty()) std::abort();
}

void CheckLinesAdded(const std::string& bytes) {
  const SumsFileForm form = ReadSumsFileForm(L"SUMS", bytes, ProperSumsFileEntries(bytes));
  if (!form.failure.empty()) return;
  std::vector<Text> digests;
  for (const NamedAlgorithm* algorithm : form.algorithms) {
    digests.push_back(Text(HexLength(*algorithm), L'a'));
  }
  const std::vector<Text> lines = LinesInForm(form, L"new dir/n.txt", digests);
  const std::vector<SumsFileLine> before = SumsFileLines(bytes);
  const std::vector<SumsFileLine> after = SumsFileLines(bytes + BytesToAppend(form, lines));
  if (after.size() != before.size() + lines.size()) std::abort();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (after[before.size() + i].text != lines[i]) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<SumsFileLine> lines = SumsFileLines(bytes);
  if (!SameLines(lines, LinesInTwoPieces(bytes))) std::abort();
  std::vector<SumsEntry> entries;
  SumsLineReader reader;
  // As if the file were named after the one it checks, in the algorithm the last byte picks.
  DigestOnlyFile beside;
  beside.algorithm = &NAMED_ALGORITHMS[size ? data[size - 1] % ALGORITHM_COUNT : 0];
  beside.fileName = L"setup.iso";
  reader.TakeDigestsAloneFor(beside);
  for (const SumsFileLine& line : lines) reader.Take(line, entries);
  reader.Finish(entries);
  for (const SumsEntry& entry : entries) {
    CheckEntry(entry);
    if (entry.form != SumsLineForm::MALFORMED) CheckListedFile(entry);
  }
  CheckLinesAdded(bytes);
  return 0;
}
