#include <windows.h>

#include "digest/digest_file.h"

namespace {
HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

DigestFile::~DigestFile() {
  if (handle != -1) CloseHandle(AsHandle(handle));
}

bool DigestFile::Open(const Text& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle = reinterpret_cast<intptr_t>(file);
  return true;
}

void DigestFile::Seek(int64_t offset) {
  LONG high = static_cast<LONG>(offset >> 32);
  SetFilePointer(AsHandle(handle), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
}

int64_t DigestFile::Read(uint8_t* buffer, uint32_t size) {
  DWORD bytesRead = 0;
  if (!ReadFile(AsHandle(handle), buffer, size, &bytesRead, nullptr)) return -1;
  return bytesRead;
}
