#include "sums/lines/hashdeep_lines.h"

#include "sums/hex_digits.h"

namespace {

constexpr wchar_t HEADER_START[] = L"%%%% ";
constexpr wchar_t FORMAT_NAME[] = L"HASHDEEP-";
constexpr wchar_t SIZE_COLUMN[] = L"size";
constexpr wchar_t NAME_COLUMN[] = L"filename";

bool StartsWith(const Text& text, const Text& start) {
  return text.compare(0, start.size(), start) == 0;
}

bool AllDecimalDigits(const Text& text) {
  for (wchar_t character : text) {
    if (character < L'0' || character > L'9') return false;
  }
  return !text.empty();
}

std::vector<Text> SplitAtCommas(const Text& text) {
  std::vector<Text> parts(1);
  for (wchar_t character : text) {
    if (character == L',') {
      parts.emplace_back();
    } else {
      parts.back() += character;
    }
  }
  return parts;
}

}  // namespace

bool HashdeepColumns::TakeHeaderLine(const Text& text) {
  if (!StartsWith(text, HEADER_START)) return false;
  const Text rest = text.substr(Text(HEADER_START).size());
  if (StartsWith(rest, FORMAT_NAME)) {
    // A header starts the rows of another file, which names its own columns.
    started = true;
    columns.clear();
    return true;
  }
  if (!started) return false;
  // "size,md5,sha256,filename": the name comes last, so that it may hold commas.
  columns.clear();
  const std::vector<Text> names = SplitAtCommas(LowerCaseAscii(rest));
  if (names.back() != NAME_COLUMN) return true;
  for (size_t k = 0; k + 1 < names.size(); ++k) {
    if (names[k] == NAME_COLUMN) {
      columns.clear();
      return true;
    }
    columns.push_back(names[k] == SIZE_COLUMN
                          ? Column{Kind::SIZE, nullptr}
                          : Column{Kind::DIGEST, FindAlgorithmByName(names[k])});
  }
  columns.push_back({Kind::NAME, nullptr});
  return true;
}

HashdeepRow HashdeepColumns::ParseRow(const Text& text) const {
  HashdeepRow row;
  size_t start = 0;
  for (const Column& column : columns) {
    if (column.kind == Kind::NAME) {
      row.name = text.substr(start);
      break;
    }
    const size_t comma = text.find(L',', start);
    if (comma == Text::npos) return {};
    const Text value = text.substr(start, comma - start);
    start = comma + 1;
    if (column.kind == Kind::SIZE && !AllDecimalDigits(value)) return {};
    if (column.kind != Kind::DIGEST || !column.algorithm) continue;
    if (value.size() != HexLength(*column.algorithm) || !AllHexDigits(value)) return {};
    row.digests.push_back({column.algorithm, value});
  }
  if (row.name.empty()) return {};
  return row;
}
