// Every backend this processor runs, for each algorithm of the table, against the
// generic backend: the input chooses the digest, the backend, preserveInput, the alignment and
// the points where the message is cut into updates; the rest of it is the message.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "report/report_table.h"
#include "digest/backend_selection.h"
#include "digest/compute_file_digest.h"
#include "digest/register_digest_plugins.h"

namespace {

constexpr size_t MOST_PIECES = 16;
constexpr size_t LARGEST_MISALIGNMENT = 63;
constexpr size_t LONGEST_MESSAGE = 4096;  // many blocks of every algorithm

void Require(bool condition) {
  if (!condition) std::abort();
}

struct Feed {
  std::vector<size_t> cuts;  // ascending positions in the message
  int32_t preserveInput;
  size_t misalignment;  // of every piece's first byte from a 64-byte boundary
};

// The digest of `message` fed in the pieces between the cuts, each copied to its own misaligned
// place, as the plugin's create, update and finish see it.
Text FedDigest(const ReportRow& row, const std::vector<uint8_t>& message, const Feed& feed) {
  const DigestPlugin* plugin = FindDigestPlugin(row.algorithm);
  DigestContext* context = plugin->create(row.bits, feed.preserveInput);
  std::vector<size_t> bounds = feed.cuts;
  bounds.insert(bounds.begin(), 0);
  bounds.push_back(message.size());
  alignas(64) static uint8_t place[LARGEST_MISALIGNMENT + LONGEST_MESSAGE];
  for (size_t i = 0; i + 1 < bounds.size(); ++i) {
    const size_t length = bounds[i + 1] - bounds[i];
    const uint8_t* original = message.data() + bounds[i];
    uint8_t* piece = place + feed.misalignment;
    // An empty message has no data pointer to copy from, yet its empty updates still count.
    if (length > 0) std::memcpy(piece, original, length);
    plugin->update(context, piece, static_cast<uint32_t>(length));
    if (feed.preserveInput && length > 0) Require(std::memcmp(piece, original, length) == 0);
  }
  plugin->finish(context);
  const Text text = DigestToHex(context);
  plugin->free(context);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterDigestPlugins();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const ReportRow& row =
      ALGORITHMS[input.ConsumeIntegralInRange<size_t>(0, ALGORITHM_COUNT - 1)].row;
  std::vector<std::string> backends;
  for (const std::string& name : DigestBackendNames(row.algorithm, row.bits)) {
    if (ProcessorRunsDigestBackend(row.algorithm, row.bits, name)) backends.push_back(name);
  }
  const std::string& backend =
      backends[input.ConsumeIntegralInRange<size_t>(0, backends.size() - 1)];
  Feed feed;
  feed.preserveInput = input.ConsumeBool();
  feed.misalignment = input.ConsumeIntegralInRange<size_t>(0, LARGEST_MISALIGNMENT);
  std::vector<uint16_t> cutSeeds(input.ConsumeIntegralInRange<size_t>(0, MOST_PIECES - 1));
  for (uint16_t& seed : cutSeeds) seed = input.ConsumeIntegral<uint16_t>();
  const std::vector<uint8_t> message = input.ConsumeRemainingBytes<uint8_t>();
  if (message.size() > LONGEST_MESSAGE) return 0;
  for (const uint16_t seed : cutSeeds) feed.cuts.push_back(seed % (message.size() + 1));
  std::sort(feed.cuts.begin(), feed.cuts.end());

  Require(UseDigestBackend(row.algorithm, row.bits, "generic"));
  const Text expected = FedDigest(row, message, Feed{{}, 1, 0});
  Require(UseDigestBackend(row.algorithm, row.bits, backend));
  Require(FedDigest(row, message, feed) == expected);
  Require(!expected.empty());
  return 0;
}
