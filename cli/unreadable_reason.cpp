#include "cli/unreadable_reason.h"

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
