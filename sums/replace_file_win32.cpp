// Windows: a new file beside the old one, FlushFileBuffers, then MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, which returns only once the move is on the
// disk.
#include <windows.h>

#include <algorithm>
#include <string>

#include "digest/file/long_path.h"
#include "sums/replace_file.h"
#include "sums/unreadable_reason.h"

namespace {

constexpr wchar_t TEMPORARY_MARK[] = L".~update-";
constexpr int NAMES_TRIED = 100;

// A new file that no one else has; INVALID_HANDLE_VALUE when none could be made.
HANDLE CreateTemporary(const Text& path, Text& temporary) {
  for (int attempt = 0; attempt < NAMES_TRIED; ++attempt) {
    temporary = path + TEMPORARY_MARK + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(attempt);
    const HANDLE file = CreateFileW(OpenablePath(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(file, bytes.data() + done, piece, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

}  // namespace

bool ReplaceFileBytes(const Text& path, const std::string& bytes, Text& reason) {
  Text temporary;
  const HANDLE file = CreateTemporary(path, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    reason = SystemErrorMessage(GetLastError());
    return false;
  }
  const bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (written && MoveFileExW(OpenablePath(temporary).c_str(), OpenablePath(path).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  if (written) error = GetLastError();
  DeleteFileW(OpenablePath(temporary).c_str());
  reason = SystemErrorMessage(error);
  return false;
}

bool IsReplacementOf(const Text& path, const Text& name) {
  const size_t slash = path.find_last_of(L"\\/");
  const Text start = (slash == Text::npos ? path : path.substr(slash + 1)) + TEMPORARY_MARK;
  return name.size() > start.size() &&
         CompareStringOrdinal(name.c_str(), static_cast<int>(start.size()), start.c_str(),
                              static_cast<int>(start.size()), TRUE) == CSTR_EQUAL;
}
