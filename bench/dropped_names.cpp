// The text of a drop of many files: DroppedFilesText on shell file lists of 1,000 to 100,000
// names, as the window meets them after EVENT_WINDOW_DROP. Runs on Windows (or Wine); prints the
// best of a few rounds for each size. Usage: dropped_names [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/file_drag.h"
#include "toolkit/drop_support.h"
#include "toolkit/dropped_files.h"
#include "toolkit/event_queue.h"
#include "toolkit/scoped_handles.h"

namespace {

constexpr int DEFAULT_ROUNDS = 3;
constexpr size_t NAME_COUNTS[] = {1000, 4000, 16000, 100000};

std::vector<std::wstring> Names(size_t count) {
  std::vector<std::wstring> names;
  for (size_t i = 0; i < count; ++i) {
    names.push_back(L"C:\\Users\\someone\\Downloads\\batch\\file-" + std::to_wstring(i) + L".bin");
  }
  return names;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One drop of `block` made current, then its text read and timed; the text's length in `length`.
double TimeOneDrop(HGLOBAL block, size_t* length) {
  {
    GlobalMemoryLock lock(block);
    DropRecord* record = CopyDropRecord(CF_HDROP, lock.Bytes(), GlobalSize(block));
    PostToolkitEvent(EVENT_WINDOW_DROP, 0, 0, 0, record, ReleaseDropRecord, 0);
  }
  if (NextQueuedEvent() != EVENT_WINDOW_DROP) return -1;
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  const Text text = DroppedFilesText();
  QueryPerformanceCounter(&end);
  *length = text.size();
  return Seconds(start, end);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : DEFAULT_ROUNDS;
  StartEventSystem();
  std::printf("| dropped names | text length | DroppedFilesText, best of %d |\n", rounds);
  std::printf("|---:|---:|---:|\n");
  for (size_t count : NAME_COUNTS) {
    HGLOBAL block = MakeFileListBlock(Names(count));
    double best = 1e9;
    size_t length = 0;
    for (int round = 0; round < rounds; ++round) best = std::min(best, TimeOneDrop(block, &length));
    GlobalFree(block);
    std::printf("| %zu | %zu | %.1f ms |\n", count, length, best * 1000);
  }
  NextQueuedEvent();  // gives the last drop's record back
  StopEventSystem();
  return 0;
}
