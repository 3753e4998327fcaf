#include "cli/console/unreadable_reason.h"

#include "cli/options/command_line.h"
#include "cli/console/console.h"

namespace {

constexpr wchar_t NOT_A_FILE_REASON[] = L"not a file";

}  // namespace

Text CannotReadMessage(const Text& name, const Text& reason) {
  return L"cannot read " + name + L": " + reason;
}

Text ReasonFor(const FileOpening& opening) {
  switch (opening.outcome) {
    case FileOpening::Outcome::OPENED:
      return Text();
    case FileOpening::Outcome::NOT_A_FILE:
      return NOT_A_FILE_REASON;
    case FileOpening::Outcome::FOLDER:
      return FolderReason();
    case FileOpening::Outcome::SYSTEM_ERROR:
      break;
  }
  return SystemErrorMessage(opening.systemError);
}

Text ReasonFileCannotBeOpened(const Text& path) {
  DigestFile file;
  return ReasonFor(file.OpenAnyReadable(path));
}

Text UnreadableFileMessage(const Text& path, const Text& shownName) {
  // A file that opens now failed on the way through.
  Text reason = path == STANDARD_INPUT_NAME ? Text() : ReasonFileCannotBeOpened(path);
  if (reason.empty()) reason = ReadFailureReason();
  return CannotReadMessage(shownName, reason);
}
