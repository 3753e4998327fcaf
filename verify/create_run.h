#pragma once
// Making a sums file, on the run's thread: the items are walked first, each file found posted as
// a waiting row at once (in batches, the first without delay), so that the bar knows the whole
// run's bytes; then every file is read on the engine's workers and its row posted with its digest,
// or with why it could not be read.
#include <vector>

#include "sums/named_algorithms.h"
#include "sums/sums_file_plan.h"
#include "verify/run_board.h"

struct CreateRequest {
  std::vector<SumsFileItem> items;
  Text folder;  // the sums file's, with its separator: the rows' names are below it
  const NamedAlgorithm* algorithm = nullptr;
};

void RunCreate(RunBoard& board, const CreateRequest& request);
