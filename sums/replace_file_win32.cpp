// Windows: write, flush, then MoveFileEx with write-through, which replaces the old name in one
// step once the new file's data is on the disk.
#include <windows.h>

#include <algorithm>

#include "digest/file/long_path.h"
#include "sums/replace_file.h"
#include "sums/unreadable_reason.h"

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + written, piece, &put, nullptr) || put == 0) return false;
    written += put;
  }
  return true;
}

// The temporary file written and on the disk; false with the last error set.
bool WriteTemporary(const Text& temporary, const std::string& bytes) {
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
  const DWORD error = GetLastError();
  CloseHandle(file);
  SetLastError(error);
  return written;
}

}  // namespace

Text TemporaryFileFor(const Text& path) {
  return path + L"." + std::to_wstring(GetCurrentProcessId()) + L".partial";
}

bool ReplaceFileWith(const Text& path, const std::string& bytes, Text& reason) {
  const Text temporary = OpenablePath(TemporaryFileFor(path));
  const bool created = WriteTemporary(temporary, bytes);
  if (created && MoveFileExW(temporary.c_str(), OpenablePath(path).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  const DWORD error = GetLastError();
  if (created || error != ERROR_FILE_EXISTS) DeleteFileW(temporary.c_str());
  reason = SystemErrorMessage(error);
  return false;
}
