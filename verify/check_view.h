#pragma once
// The state the window draws: which check it shows, its rows as the run reports them, and the
// verdict they add up to. Portable, so that every rule the window follows is tested natively.
#include <vector>

#include "sums/named_algorithms.h"
#include "verify/created_sums_file.h"
#include "verify/row_table.h"
#include "verify/run_board.h"
#include "verify/verdict.h"

// CREATE: a sums file being made, of the one algorithm in `candidates`.
enum class CheckKind { NONE, SUMS_FILE, PASTED_DIGEST, TWO_FILES, CREATE };

struct CheckView {
  CheckKind kind = CheckKind::NONE;
  Text file;                 // the sums file, or the file checked
  AlgorithmList candidates;  // a pasted digest's
  RowTable rows;
  std::vector<size_t> malformedLines;
  Text failure;
  size_t adding = 0;   // the unlisted files being added before the sums file is checked again
  Text updateFailure;  // why they were not
  std::vector<Text> digests;
  bool listed = false;
  bool binary = false;       // the sums file holds no text
  bool outOfMemory = false;  // the run, or the window, ran out of memory and kept what it had
  RunState state = RunState::RUNNING;
  SaveOutcome save;  // CREATE: what became of the sums file

  // Starts showing a new check; the rows come with the run's first outbox.
  void Begin(CheckKind newKind, const Text& newFile, const AlgorithmList& newCandidates = {});
  // Takes what the run posted. At the end, rows never reached are NOT CHECKED and, for a sums
  // file, failures come first.
  void Apply(RunOutbox&& outbox);
  // The run is let go of before its end: what it posted is taken, the rest not checked.
  void EndCancelled(RunOutbox&& last);
  Verdict CurrentVerdict() const;

 private:
  Verdict VerdictOfRows() const;
};
