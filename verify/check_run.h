#pragma once
// A check run on a thread of its own: a sums file's entries, one file against a pasted digest, or
// two files against each other. Files are read by the engine's workers, several at once; rows
// come out in order through the board's outbox, which the window's thread empties when woken (at
// the listing and at the end) and as often as it likes between.
//
// The threads' rules:
// - The window's thread never waits for the run's thread or a worker: it takes the board's lock,
//   which no thread holds across a read, a wait or anything else that may block. Cancel and the
//   end of a run it no longer wants return at once; the run's thread is never joined.
// - The run's thread waits for the engine's workers (each job in the listing's order, and for
//   them all to stop before the run ends); a worker may wait on a read that never returns (a
//   pipe, a device, a stalled share), and then so does the run's thread, holding nothing the
//   window needs.
// - The run's thread keeps the board alive; the window may let go of it at any time, after which
//   nothing wakes the window. A process that ends while a run still waits on a read ends without
//   it (AllRunsEnded tells).
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "sums/named_algorithms.h"
#include "verify/create_run.h"
#include "verify/run_board.h"

class CheckRun {
 public:
  // `wake` is called on the run's threads once the rows are listed and once the run has ended: the
  // rows done between wait to be taken, so that the window redraws at its own pace.
  explicit CheckRun(std::function<void()> wake);
  ~CheckRun();  // cancels, and lets go of the run without waiting for it
  CheckRun(const CheckRun&) = delete;
  CheckRun& operator=(const CheckRun&) = delete;

  // Start one of these once.
  void CheckSumsFile(const Text& sumsFile);
  // Lines for `names` (as a check lists them UNLISTED) added to the sums file, which is then
  // checked again, changed or not.
  void AddUnlisted(const Text& sumsFile, const std::vector<Text>& names);
  void CheckDigest(const Text& file, const AlgorithmList& candidates, const Text& hex);
  void CompareFiles(const Text& first, const Text& second);
  void Create(const CreateRequest& request);

  // Files being read stop before their next read; a read that does not return is left behind.
  void Cancel() { board->Cancel(); }
  // True when the run posted its end within `longest`.
  bool WaitForEnd(std::chrono::milliseconds longest) { return board->WaitForEnd(longest); }
  RunOutbox Take() { return board->Take(); }
  RunProgress Progress() { return board->Progress(); }

 private:
  void Start(std::function<void(RunBoard&)> body);

  std::shared_ptr<RunBoard> board;
};

// False while the thread of some run, cancelled or not, has not ended.
bool AllRunsEnded();
