#include "sums/hex_digits.h"

bool IsBlank(wchar_t character) {
  return character == L' ' || character == L'\t';
}

bool IsHexDigit(wchar_t character) {
  return (character >= L'0' && character <= L'9') || (character >= L'a' && character <= L'f') ||
         (character >= L'A' && character <= L'F');
}

bool AllHexDigits(const Text& text) {
  for (wchar_t character : text) {
    if (!IsHexDigit(character)) return false;
  }
  return true;
}

Text TrimmedBlanks(const Text& text) {
  size_t start = 0, end = text.size();
  while (start < end && IsBlank(text[start])) ++start;
  while (end > start && IsBlank(text[end - 1])) --end;
  return text.substr(start, end - start);
}
