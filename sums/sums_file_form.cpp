#include "sums/sums_file_form.h"

#include <algorithm>

#include "sums/algorithm_by_file_name.h"
#include "sums/entry_check.h"
#include "sums/hex_digits.h"
#include "sums/line_escapes.h"

namespace {

constexpr wchar_t NOT_ADDED[] =
    L"lines are added only to files of sha256sum, md5 -r, --tag (bsd) or sfv lines";

// The file's text whole, its byte-order mark taken off; false when lines added after it would not
// read as its text: binary data, or UTF-16 cut in the middle of a code unit.
bool DecodedText(const std::string& bytes, TextEncoding& encoding, Text& text) {
  ByteOrderMark mark;
  ReadByteOrderMark(bytes, true, mark);
  encoding = mark.encoding;
  const std::string rest = bytes.substr(mark.length);
  if (encoding == TextEncoding::UTF8) {
    text = TextFromNameBytes(rest);
    return rest.find('\0') == std::string::npos;
  }
  std::u16string units;
  for (size_t i = 0; i + 1 < rest.size(); i += 2) {
    units += Utf16Unit(encoding, static_cast<uint8_t>(rest[i]), static_cast<uint8_t>(rest[i + 1]));
  }
  text = TextFromUtf16(units);
  return rest.size() % 2 == 0;
}

// The text of each line, counted from 0, as the reader cut them.
std::vector<Text> LinesOf(const Text& text) {
  std::vector<Text> lines(1);
  for (wchar_t character : text) {
    if (character == L'\n') {
      if (!lines.back().empty() && lines.back().back() == L'\r') lines.back().pop_back();
      lines.emplace_back();
    } else {
      lines.back() += character;
    }
  }
  return lines;
}

bool HasUpperCaseLetter(const Text& hex) {
  return std::any_of(hex.begin(), hex.end(), [](wchar_t c) { return c >= L'A' && c <= L'F'; });
}

Text UpperCaseHex(const Text& hex) {
  Text upper = hex;
  for (wchar_t& c : upper) {
    if (c >= L'a' && c <= L'f') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return upper;
}

// "TAG (" or "TAG(" as `line` writes it, without the escape mark.
Text BeforeBsdName(const Text& line) {
  const size_t start = line.find_first_not_of(L" \t\\");
  return line.substr(start, line.find(L'(') + 1 - start);
}

// The text between the name and the digest, or the digest and the name, as `line` writes it.
Text Separator(const SumsEntry& entry, const Text& line) {
  switch (entry.form) {
    case SumsLineForm::GNU:
    case SumsLineForm::ONE_SEPARATOR: {
      const size_t after = line.find(entry.hex) + entry.hex.size();
      return line.substr(after, entry.form == SumsLineForm::GNU ? 2 : 1);
    }
    case SumsLineForm::BSD: {
      const size_t close = line.rfind(L')');
      return line.substr(close, line.rfind(entry.hex) - close);
    }
    default: {
      const size_t hex = line.rfind(entry.hex);
      size_t start = hex;
      while (start > 0 && IsBlank(line[start - 1])) --start;
      return line.substr(start, hex - start);
    }
  }
}

void ReadAlgorithms(const Text& sumsFile, const std::vector<SumsEntry>& entries,
                    const std::vector<Text>& lines, SumsFileForm& form) {
  const SumsEntry& last = entries.back();
  if (form.lines != SumsLineForm::BSD) {
    form.algorithms = EntryAlgorithms(last, AllAlgorithms(), AlgorithmNamedBySumsFile(sumsFile));
    return;
  }
  for (const SumsEntry& entry : entries) {
    if (entry.form != SumsLineForm::BSD ||
        std::count(form.algorithms.begin(), form.algorithms.end(), entry.algorithm)) {
      continue;
    }
    form.algorithms.push_back(entry.algorithm);
    form.beforeName.push_back(BeforeBsdName(lines[entry.lineNumber - 1]));
  }
}

wchar_t FolderSeparatorOf(const std::vector<SumsEntry>& entries) {
  bool backslash = false;
  for (const SumsEntry& entry : entries) {
    if (entry.name.find(L'/') != Text::npos) return L'/';
    backslash = backslash || entry.name.find(L'\\') != Text::npos;
  }
  return backslash ? L'\\' : L'/';
}

bool IsAddedTo(SumsLineForm lines) {
  return lines == SumsLineForm::GNU || lines == SumsLineForm::ONE_SEPARATOR ||
         lines == SumsLineForm::BSD || lines == SumsLineForm::SFV;
}

}  // namespace

SumsFileForm ReadSumsFileForm(const Text& sumsFile, const std::string& bytes,
                              const std::vector<SumsEntry>& entries) {
  SumsFileForm form;
  Text text;
  if (!DecodedText(bytes, form.encoding, text)) {
    form.failure = L"it is not text, or its UTF-16 ends in half a character";
    return form;
  }
  const size_t lineFeed = text.find(L'\n');
  if (lineFeed != Text::npos && lineFeed > 0 && text[lineFeed - 1] == L'\r') form.lineEnd = L"\r\n";
  form.lastLineEnded = text.empty() || text.back() == L'\n';
  if (entries.empty()) {
    form.failure = L"no properly formatted checksum lines found";
    return form;
  }
  const SumsEntry& last = entries.back();
  form.lines = last.form;
  if (!IsAddedTo(form.lines)) {
    form.failure = NOT_ADDED;
    return form;
  }
  const std::vector<Text> lines = LinesOf(text);
  form.separator = Separator(last, lines[last.lineNumber - 1]);
  form.upperCaseHex = HasUpperCaseLetter(last.hex);
  form.folderSeparator = FolderSeparatorOf(entries);
  ReadAlgorithms(sumsFile, entries, lines, form);
  return form;
}

std::vector<Text> LinesInForm(const SumsFileForm& form, const Text& name,
                              const std::vector<Text>& digests) {
  // sfv names are never escaped; others as the usual tools escape them, but for a '\' between
  // folders in a file written with those.
  WrittenName written =
      form.lines == SumsLineForm::SFV ? WrittenName{false, name} : NameForSumsLine(name);
  if (form.folderSeparator != L'/') {
    std::replace(written.text.begin(), written.text.end(), L'/', form.folderSeparator);
  }
  std::vector<Text> lines;
  for (size_t i = 0; i < digests.size(); ++i) {
    const Text hex = form.upperCaseHex ? UpperCaseHex(digests[i]) : digests[i];
    switch (form.lines) {
      case SumsLineForm::BSD:
        lines.push_back(written.LineStart() + form.beforeName[i] + written.text + form.separator +
                        hex);
        break;
      case SumsLineForm::SFV:
        lines.push_back(written.text + form.separator + hex);
        break;
      default:
        lines.push_back(written.LineStart() + hex + form.separator + written.text);
        break;
    }
  }
  return lines;
}

std::string BytesToAppend(const SumsFileForm& form, const std::vector<Text>& lines) {
  Text text = form.lastLineEnded ? Text() : form.lineEnd;
  for (const Text& line : lines) text += line + form.lineEnd;
  return EncodedText(text, form.encoding);
}
