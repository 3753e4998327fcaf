// POSIX: mkstemp beside the file, fsync, rename, then fsync of the folder so that the rename
// itself is on the disk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "sums/replace_file.h"
#include "sums/unreadable_reason.h"

namespace {

constexpr char TEMPORARY_SUFFIX[] = ".XXXXXX";

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int descriptor, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

// Writes the bytes to the open temporary file and closes it; false, errno set, on a failure.
bool WriteTemporary(int descriptor, const std::string& bytes, const std::string& original) {
  struct stat status;
  const bool keepsMode = stat(original.c_str(), &status) == 0;
  const bool written = WriteAll(descriptor, bytes) &&
                       (!keepsMode || fchmod(descriptor, status.st_mode & 07777) == 0) &&
                       fsync(descriptor) == 0;
  const int error = errno;
  if (close(descriptor) != 0 && written) return false;
  errno = error;
  return written;
}

void SyncFolder(const std::string& folder) {
  const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return;
  fsync(descriptor);
  close(descriptor);
}

}  // namespace

bool ReplaceFileBytes(const Text& path, const std::string& bytes, Text& reason) {
  const std::string original = NameBytesFromText(path);
  const std::string folder = FolderOf(original);
  std::string temporary =
      (folder == "." ? std::string() : folder) + "." + NameOf(original) + TEMPORARY_SUFFIX;
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) {
    reason = SystemErrorMessage(static_cast<uint32_t>(errno));
    return false;
  }
  if (!WriteTemporary(descriptor, bytes, original) ||
      rename(temporary.c_str(), original.c_str()) != 0) {
    reason = SystemErrorMessage(static_cast<uint32_t>(errno));
    unlink(temporary.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

bool IsReplacementOf(const Text& path, const Text& name) {
  const Text start = L"." + TextFromNameBytes(NameOf(NameBytesFromText(path))) + L".";
  return name.size() == start.size() + sizeof(TEMPORARY_SUFFIX) - 2 &&
         name.compare(0, start.size(), start) == 0;
}
