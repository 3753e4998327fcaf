// The system's words on Windows: FormatMessage's, in the user's language.
#include <windows.h>

#include "sums/unreadable_reason.h"

namespace {

constexpr wchar_t FOLDER_REASON[] = L"Is a folder";

}  // namespace

Text SystemErrorMessage(uint32_t error) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  Text text = length ? Text(message, length) : L"system error " + std::to_wstring(error);
  LocalFree(message);
  // The system's messages end in a line break, which the error line supplies itself.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  return text;
}

Text ReadFailureReason() {
  return SystemErrorMessage(ERROR_READ_FAULT);
}

Text FolderReason() {
  return FOLDER_REASON;
}

bool IsMissingFileError(uint32_t error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
