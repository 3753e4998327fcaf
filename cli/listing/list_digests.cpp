#include "cli/listing/list_digests.h"

#include <algorithm>
#include <deque>

#include "cli/console/exit_status.h"
#include "cli/console/console.h"
#include "cli/console/console_lines.h"
#include "cli/inputs/input_files.h"
#include "cli/inputs/file_digests.h"
#include "cli/listing/digest_lines.h"
#include "sums/unreadable_reason.h"

namespace {

void WriteOutputLine(const CliOptions& options, const Text& line) {
  if (options.zero) {
    WriteNulEndedLine(line);
  } else if (options.format != OutputFormat::REPORT) {
    WriteSumsLine(line);
  } else {
    WriteConsoleLine(ConsoleStream::OUTPUT, line);
  }
}

// A file started, or a problem to say in its turn.
struct Pending {
  std::unique_ptr<DigestJob> job;
  InputFileItem item;
};

class Listing {
 public:
  explicit Listing(const CliOptions& options)
      : options(options),
        algorithms(ListedAlgorithms(options)),
        choices(DigestChoices(algorithms)),
        names(options) {}

  int Run() {
    bool more = true;
    for (;;) {
      while (more && pending.size() < FILES_IN_FLIGHT) more = StartNext();
      if (pending.empty()) return status;
      WriteResult(pending.front());
      pending.pop_front();
    }
  }

 private:
  bool StartNext() {
    Pending next;
    if (!names.Next(next.item)) return false;
    if (next.item.problem.empty()) next.job = StartNamedFileDigests(next.item.name, choices);
    pending.push_back(std::move(next));
    return true;
  }

  void WriteResult(Pending& done) {
    if (!done.item.problem.empty()) {
      WriteErrorLine(done.item.problem);
      status = std::max(status, done.item.listUnreadable ? EXIT_CANNOT_PROCEED : EXIT_SOME_FAILED);
      return;
    }
    const NamedFileDigests file = FinishNamedFileDigests(*done.job);
    if (file.failure.failed) {
      WriteErrorLine(CannotReadMessage(done.item.name, file.failure.reason));
      status = std::max(status, EXIT_SOME_FAILED);
      return;
    }
    // Reports stand apart by an empty line; the other formats are one line per digest.
    if (anyPrinted && options.format == OutputFormat::REPORT) {
      WriteOutputLine(options, L"");
    }
    for (const Text& line :
         DigestLines(options.format, algorithms, file.digests, done.item.name, !options.zero)) {
      WriteOutputLine(options, line);
    }
    anyPrinted = true;
  }

  const CliOptions& options;
  const AlgorithmList algorithms;
  const std::vector<DigestChoice> choices;
  InputFiles names;
  std::deque<Pending> pending;
  int status = EXIT_ALL_GOOD;
  bool anyPrinted = false;
};

}  // namespace

int ListDigests(const CliOptions& options) {
  return Listing(options).Run();
}
