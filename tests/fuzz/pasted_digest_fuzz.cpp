// Digests pasted into --expect come from any page. Reading one must not fault; a digest it takes
// must be hex digits of a length some algorithm has (the named one's, when named), and written
// again in colon-parted pairs after its standard name it must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sums/pasted_digest.h"

namespace {

Text InColonPairs(const Text& hex) {
  Text pairs;
  for (size_t k = 0; k < hex.size(); k += 2) {
    if (k > 0) pairs += L':';
    pairs += hex.substr(k, 2);
  }
  return pairs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text text = TextFromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  PastedDigest digest;
  Text problem;
  if (!ReadPastedDigest(text, digest, problem)) {
    if (problem.empty()) std::abort();
    return 0;
  }
  const bool hex = digest.hex.find_first_not_of(L"0123456789abcdefABCDEF") == Text::npos;
  if (!hex || AlgorithmsWithHexLength(AllAlgorithms(), digest.hex.size()).empty() ||
      (digest.algorithm && HexLength(*digest.algorithm) != digest.hex.size())) {
    std::abort();
  }
  const Text name = digest.algorithm ? Text(digest.algorithm->displayName) + L" = " : Text();
  PastedDigest again;
  if (!ReadPastedDigest(name + InColonPairs(digest.hex), again, problem) ||
      again.algorithm != digest.algorithm || again.hex != digest.hex) {
    std::abort();
  }
  return 0;
}
