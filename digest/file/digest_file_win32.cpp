#include <windows.h>

#include "digest/file/digest_file.h"
#include "digest/file/long_path.h"

namespace {

HANDLE AsHandle(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// Opening a folder as a file is refused as access denied; the folder is told apart here.
FileOpening Refused(const Text& path, DWORD error) {
  if (error == ERROR_ACCESS_DENIED) {
    const DWORD attributes = GetFileAttributesW(OpenablePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return FileOpening{FileOpening::Outcome::FOLDER, error};
    }
  }
  return FileOpening{FileOpening::Outcome::SYSTEM_ERROR, error};
}

// Opens `path` into `handle` and keeps it when `accepted` takes its type.
FileOpening OpenShared(const Text& path, bool (*accepted)(DWORD type), intptr_t& handle) {
  // Write sharing: a log or a download that another program is still writing can be read.
  HANDLE file =
      CreateFileW(OpenablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Refused(path, GetLastError());
  handle = reinterpret_cast<intptr_t>(file);
  if (!accepted(GetFileType(file))) return FileOpening{FileOpening::Outcome::NOT_A_FILE, 0};
  return FileOpening{FileOpening::Outcome::OPENED, 0};
}

}  // namespace

Text OpenablePath(const Text& path) {
  if (path.size() <= CLASSIC_PATH_LIMIT) return path;
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  Text full(needed, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return path;
  full.resize(written);
  return ExtendedLengthPath(full);
}

DigestFile::~DigestFile() {
  if (handle != -1) CloseHandle(AsHandle(handle));
}

FileOpening DigestFile::Open(const Text& path) {
  HANDLE file = CreateFileW(OpenablePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Refused(path, GetLastError());
  handle = reinterpret_cast<intptr_t>(file);
  // Disks and volumes opened as files are of the disk type too.
  if (GetFileType(file) != FILE_TYPE_DISK) return FileOpening{FileOpening::Outcome::NOT_A_FILE, 0};
  return FileOpening{FileOpening::Outcome::OPENED, 0};
}

FileOpening DigestFile::OpenAnyReadable(const Text& path) {
  return OpenShared(
      path, [](DWORD type) { return type != FILE_TYPE_UNKNOWN; }, handle);
}

FileOpening DigestFile::OpenRegularFile(const Text& path) {
  // The type is known from the handle before any read; the names that make opening itself wait
  // or reach a device (pipes, ports, the console) are refused by name before this.
  return OpenShared(
      path, [](DWORD type) { return type == FILE_TYPE_DISK; }, handle);
}

bool DigestFile::OpenStandardInput() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!input || input == INVALID_HANDLE_VALUE) return false;
  HANDLE ours;
  if (!DuplicateHandle(GetCurrentProcess(), input, GetCurrentProcess(), &ours, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return false;
  }
  handle = reinterpret_cast<intptr_t>(ours);
  return true;
}

void DigestFile::Seek(int64_t offset) {
  LONG high = static_cast<LONG>(offset >> 32);
  SetFilePointer(AsHandle(handle), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
}

int64_t DigestFile::ReadSome(uint8_t* buffer, uint32_t size) {
  DWORD bytesRead = 0;
  if (!ReadFile(AsHandle(handle), buffer, size, &bytesRead, nullptr)) {
    // The writer closing its end of a pipe is the end of the data, not a failure.
    return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
  }
  return bytesRead;
}

int64_t DigestFile::Size() const {
  LARGE_INTEGER size;
  if (GetFileType(AsHandle(handle)) != FILE_TYPE_DISK || !GetFileSizeEx(AsHandle(handle), &size)) {
    return -1;
  }
  return size.QuadPart;
}
