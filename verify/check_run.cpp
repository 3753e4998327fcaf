#include "verify/check_run.h"

#include <atomic>
#include <new>
#include <thread>

#include "verify/file_runs.h"
#include "verify/sums_file_run.h"

namespace {

std::atomic<int> runsGoing{0};

}  // namespace

bool AllRunsEnded() {
  return runsGoing == 0;
}

CheckRun::CheckRun(std::function<void()> wake)
    : board(std::make_shared<RunBoard>(std::move(wake))) {}

CheckRun::~CheckRun() {
  board->Cancel();
  board->Forget();
}

void CheckRun::Start(std::function<void(RunBoard&)> body) {
  ++runsGoing;
  std::thread([held = board, body = std::move(body)] {
    try {
      body(*held);
    } catch (const std::bad_alloc&) {
      // The rows done so far stay; those not reached are not checked.
      held->Post([](RunOutbox& box) { box.outOfMemory = true; });
    }
    held->Finish();
    --runsGoing;
  }).detach();
}

void CheckRun::CheckSumsFile(const Text& sumsFile) {
  Start([sumsFile](RunBoard& board) { RunSumsFileCheck(board, sumsFile); });
}

void CheckRun::AddUnlisted(const Text& sumsFile, const std::vector<Text>& names) {
  Start([sumsFile, names](RunBoard& board) { RunUnlistedAdd(board, sumsFile, names); });
}

void CheckRun::CheckDigest(const Text& file, const AlgorithmList& candidates, const Text& hex) {
  Start([file, candidates, hex](RunBoard& board) { RunDigestCheck(board, file, candidates, hex); });
}

void CheckRun::Create(const CreateRequest& request) {
  Start([request](RunBoard& board) { RunCreate(board, request); });
}

void CheckRun::CompareFiles(const Text& first, const Text& second) {
  Start([first, second](RunBoard& board) { RunComparison(board, first, second); });
}
