// POSIX: write, fsync, then rename, which replaces the old name in one step.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "sums/replace_file.h"
#include "sums/unreadable_reason.h"

namespace {

bool WriteAll(int file, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t put = write(file, bytes.data() + written, bytes.size() - written);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    written += static_cast<size_t>(put);
  }
  return true;
}

// The temporary file written and on the disk; false with errno set.
bool WriteTemporary(const std::string& temporary, const std::string& bytes) {
  const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file < 0) return false;
  const bool written = WriteAll(file, bytes) && fsync(file) == 0;
  const int error = errno;
  const bool closed = close(file) == 0;
  errno = written ? errno : error;
  return written && closed;
}

}  // namespace

Text TemporaryFileFor(const Text& path) {
  return path + L"." + std::to_wstring(getpid()) + L".partial";
}

bool ReplaceFileWith(const Text& path, const std::string& bytes, Text& reason) {
  const std::string temporary = NameBytesFromText(TemporaryFileFor(path));
  const bool created = WriteTemporary(temporary, bytes);
  if (created && rename(temporary.c_str(), NameBytesFromText(path).c_str()) == 0) return true;
  const int error = errno;
  if (created || error != EEXIST) unlink(temporary.c_str());
  reason = SystemErrorMessage(static_cast<uint32_t>(error));
  return false;
}
