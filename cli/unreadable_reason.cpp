#include "cli/unreadable_reason.h"

#include "cli/cli_options.h"
#include "cli/console.h"
#include "digest/file/digest_file.h"

namespace {

constexpr wchar_t NOT_A_FILE_REASON[] = L"not a file";

}  // namespace

Text ReasonFileCannotBeOpened(const Text& path) {
  DigestFile file;
  const FileOpening opening = file.Open(path);
  switch (opening.outcome) {
    case FileOpening::Outcome::OPENED:
      return Text();
    case FileOpening::Outcome::NOT_A_FILE:
      return NOT_A_FILE_REASON;
    case FileOpening::Outcome::SYSTEM_ERROR:
      break;
  }
  return SystemErrorMessage(opening.systemError);
}

Text CannotReadMessage(const Text& path, const Text& shownName) {
  // A file that opens now failed on the way through.
  Text reason = path == STANDARD_INPUT_NAME ? Text() : ReasonFileCannotBeOpened(path);
  if (reason.empty()) reason = ReadFailureReason();
  return L"cannot read " + shownName + L": " + reason;
}
