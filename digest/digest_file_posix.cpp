#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "digest/digest_file.h"

DigestFile::~DigestFile() {
  if (handle != -1) close(static_cast<int>(handle));
}

bool DigestFile::Open(const Text& path) {
  const int fd = open(Utf8FromText(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd == -1) return false;
  handle = fd;
  struct stat status;
  // Windows refuses to open a directory as a file; do the same here.
  return fstat(fd, &status) == 0 && !S_ISDIR(status.st_mode);
}

bool DigestFile::OpenStandardInput() {
  const int fd = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
  if (fd == -1) return false;
  handle = fd;
  return true;
}

void DigestFile::Seek(int64_t offset) { lseek(static_cast<int>(handle), offset, SEEK_SET); }

int64_t DigestFile::Read(uint8_t* buffer, uint32_t size) {
  // Like a synchronous ReadFile: fill the request unless the file ends first.
  uint32_t total = 0;
  while (total < size) {
    const ssize_t got = read(static_cast<int>(handle), buffer + total, size - total);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    total += static_cast<uint32_t>(got);
  }
  return total;
}
