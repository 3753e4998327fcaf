#include "sums/unreadable_reason.h"

#include "sums/standard_input.h"

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

bool FoundNothing(const FileOpening& opening) {
  return opening.outcome == FileOpening::Outcome::SYSTEM_ERROR &&
         IsMissingFileError(opening.systemError);
}

Text ReasonFileCannotBeOpened(const Text& path) {
  DigestFile file;
  return ReasonFor(file.OpenAnyReadable(path));
}

Text UnreadableFileReason(const Text& path) {
  // A file that opens now failed on the way through.
  const Text reason = path == STANDARD_INPUT_NAME ? Text() : ReasonFileCannotBeOpened(path);
  return reason.empty() ? ReadFailureReason() : reason;
}

FileFailure FailureOf(const DigestJob& job) {
  FileFailure failure;
  if (!job.opening.Opened()) {
    failure = {true, FoundNothing(job.opening), ReasonFor(job.opening)};
  } else if (job.readFailed) {
    failure = {true, false, ReadFailureReason()};
  }
  return failure;
}
