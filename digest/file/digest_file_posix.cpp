#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "digest/file/digest_file.h"

namespace {

FileOpening SystemError(int error) {
  return FileOpening{FileOpening::Outcome::SYSTEM_ERROR, static_cast<uint32_t>(error)};
}

FileOpening Opened() {
  return FileOpening{FileOpening::Outcome::OPENED, 0};
}

// Opens `path` into `handle` and keeps it when `accepted` takes its type.
FileOpening OpenWithoutWaiting(const Text& path, bool (*accepted)(mode_t mode), intptr_t& handle) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer; the type is then read from the opened
  // descriptor itself, so the path cannot change between the check and the reads.
  const int fd =
      open(NameBytesFromText(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd == -1) return SystemError(errno);
  handle = fd;
  struct stat status;
  if (fstat(fd, &status) != 0) return SystemError(errno);
  if (S_ISDIR(status.st_mode)) return FileOpening{FileOpening::Outcome::FOLDER, EISDIR};
  if (!accepted(status.st_mode)) return FileOpening{FileOpening::Outcome::NOT_A_FILE, 0};
  const int flags = fcntl(fd, F_GETFL);
  if (flags == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) return SystemError(errno);
  return Opened();
}

}  // namespace

DigestFile::~DigestFile() {
  if (handle != -1) close(static_cast<int>(handle));
}

FileOpening DigestFile::Open(const Text& path) {
  return OpenWithoutWaiting(
      path, [](mode_t mode) { return S_ISREG(mode) || S_ISBLK(mode); }, handle);
}

FileOpening DigestFile::OpenRegularFile(const Text& path) {
  return OpenWithoutWaiting(
      path, [](mode_t mode) { return S_ISREG(mode); }, handle);
}

FileOpening DigestFile::OpenAnyReadable(const Text& path) {
  // A FIFO's opening waits for its writer, as the usual tools' does; a terminal named here must
  // not become the process's controlling one.
  const int fd = open(NameBytesFromText(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd == -1) return SystemError(errno);
  handle = fd;
  struct stat status;
  if (fstat(fd, &status) != 0) return SystemError(errno);
  if (S_ISDIR(status.st_mode)) return FileOpening{FileOpening::Outcome::FOLDER, EISDIR};
  return Opened();
}

bool DigestFile::OpenStandardInput() {
  const int fd = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
  if (fd == -1) return false;
  handle = fd;
  return true;
}

void DigestFile::Seek(int64_t offset) {
  lseek(static_cast<int>(handle), offset, SEEK_SET);
}

int64_t DigestFile::ReadSome(uint8_t* buffer, uint32_t size) {
  for (;;) {
    const ssize_t got = read(static_cast<int>(handle), buffer, size);
    if (got >= 0) return got;
    if (errno != EINTR) return -1;
  }
}

int64_t DigestFile::Size() const {
  struct stat status;
  if (fstat(static_cast<int>(handle), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  return status.st_size;
}
