#include "tests/digest/recording_plugin.h"

#include "digest/compute_file_digest.h"
#include "runtime/main_heap.h"

Recording recording;
std::function<void()> duringUpdate;

namespace {

constexpr int32_t RECORDING_ID = 100;

DigestContext* RecordingCreate(int32_t bits, int32_t preserveInput) {
  recording.createArguments = {bits, preserveInput};
  auto* context = static_cast<DigestContext*>(AllocateFromMainHeap(sizeof(DigestContext)));
  context->bits = 32;
  return context;
}

void RecordingUpdate(DigestContext*, uint8_t*, uint32_t length) {
  recording.updateSizes.push_back(length);
  if (duringUpdate) duringUpdate();
}

void RecordingFinish(DigestContext* context) {
  ++recording.finishCount;
  context->digest[0] = 0xAB;
}

void RecordingFree(DigestContext* context) {
  ReleaseToMainHeap(context);
}

}  // namespace

int32_t RecordingPluginId() {
  static const bool registered = [] {
    DigestPlugin* slot = RegisterDigestPlugin(RECORDING_ID);
    if (slot) {
      *slot = DigestPlugin{RECORDING_ID, RecordingCreate, RecordingUpdate, RecordingFinish,
                           RecordingFree};
    }
    return slot != nullptr;
  }();
  return registered ? RECORDING_ID : 0;
}

std::vector<uint32_t> UpdateSizesFor(const Text& path, int64_t offset, int64_t length) {
  recording = Recording{};
  ComputeFileDigestRange(path, RecordingPluginId(), 0, offset, length);
  return recording.updateSizes;
}
