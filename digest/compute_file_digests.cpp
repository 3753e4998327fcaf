// Stand-in: one thread feeds every context from the same pieces.
#include "digest/compute_file_digests.h"

#include <cstdio>
#include <functional>

#include "digest/compute_file_digest.h"
#include "digest/digest_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

using ReadPiece = std::function<int64_t(uint8_t* buffer, uint32_t size)>;

struct Contexts {
  std::vector<const DigestPlugin*> plugins;
  std::vector<DigestContext*> contexts;
  ~Contexts() {
    for (size_t i = 0; i < contexts.size(); ++i) {
      if (contexts[i]) plugins[i]->free(contexts[i]);
    }
  }
};

std::vector<Text> ComputeDigests(const std::vector<DigestChoice>& choices, const ReadPiece& read) {
  const std::vector<Text> failed(choices.size());
  Contexts all;
  for (const DigestChoice& choice : choices) {
    const DigestPlugin* plugin = FindDigestPlugin(choice.id);
    if (!plugin) return failed;
    all.plugins.push_back(plugin);
    // Every context reads the same piece, so none may overwrite it.
    all.contexts.push_back(plugin->create(choice.bits, 1));
    if (!all.contexts.back()) return failed;
  }
  std::vector<uint8_t> buffer(DIGEST_READ_SIZE);
  for (;;) {
    const int64_t got = read(buffer.data(), DIGEST_READ_SIZE);
    if (got < 0) return failed;
    for (size_t i = 0; i < choices.size(); ++i) {
      all.plugins[i]->update(all.contexts[i], buffer.data(), static_cast<uint32_t>(got));
    }
    if (got != DIGEST_READ_SIZE) break;
  }
  std::vector<Text> digests;
  for (size_t i = 0; i < choices.size(); ++i) {
    all.plugins[i]->finish(all.contexts[i]);
    digests.push_back(DigestToHex(all.contexts[i]));
  }
  return digests;
}

}  // namespace

std::vector<Text> ComputeFileDigests(const Text& path, const std::vector<DigestChoice>& choices,
                                     unsigned) {
  DigestFile file;
  if (path.empty() || path.find(L'\0') != Text::npos || !file.Open(path)) {
    return std::vector<Text>(choices.size());
  }
  return ComputeDigests(choices,
                        [&file](uint8_t* buffer, uint32_t size) { return file.Read(buffer, size); });
}

std::vector<Text> ComputeStandardInputDigests(const std::vector<DigestChoice>& choices, unsigned) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  return ComputeDigests(choices, [](uint8_t* buffer, uint32_t size) -> int64_t {
    const size_t got = std::fread(buffer, 1, size, stdin);
    return std::ferror(stdin) ? -1 : static_cast<int64_t>(got);
  });
}

unsigned DigestWorkersForThisMachine() { return 1; }
