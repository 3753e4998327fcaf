// The system's words on POSIX: strerror's.
#include <cerrno>
#include <cstring>

#include "sums/unreadable_reason.h"

Text SystemErrorMessage(uint32_t error) {
  return TextFromUtf8(std::strerror(static_cast<int>(error)));
}

Text ReadFailureReason() {
  return SystemErrorMessage(EIO);
}

Text FolderReason() {
  return SystemErrorMessage(EISDIR);
}

bool IsMissingFileError(uint32_t error) {
  return error == ENOENT;
}
