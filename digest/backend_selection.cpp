#include "digest/backend_selection.h"

#include <type_traits>

#include "digest/blake3/blake3_backend.h"
#include "digest/crc32/crc32_backend.h"
#include "digest/digest_plugin.h"
#include "digest/md5/md5_backend.h"
#include "digest/sha1/sha1_backend.h"
#include "digest/sha2/sha2_backend.h"
#include "digest/sha3/keccak_backend.h"
#include "digest/xxh3/xxh3_backend.h"

namespace {

// Calls visit(list, active, runPass) with the algorithm's backend list, the pointer its plugin
// calls and its way of running a backend for the choice by speed; `unknown` for an id that names
// no algorithm, which has no backends.
template <typename Result, typename Visit>
Result WithBackends(int32_t id, int32_t bits, Result unknown, Visit visit) {
  switch (id) {
    case DIGEST_CRC32:
      return visit(CRC32_BACKENDS, crc32Register, RunCrc32Pass);
    case DIGEST_MD5:
      return visit(MD5_BACKENDS, md5Blocks, RunMd5Pass);
    case DIGEST_SHA1:
      return visit(SHA1_BACKENDS, sha1Blocks, RunSha1Pass);
    case DIGEST_SHA2:
      if (bits == 384 || bits == 512) return visit(SHA512_BACKENDS, sha512Blocks, RunSha512Pass);
      return visit(SHA256_BACKENDS, sha256Blocks, RunSha256Pass);
    case DIGEST_SHA3:
      return visit(KECCAK_BACKENDS, keccakAbsorb, RunKeccakPass);
    case DIGEST_BLAKE3:
      return visit(BLAKE3_BACKENDS, g_cpu_features, RunBlake3Pass);
    case DIGEST_XXH3:
      return visit(XXH3_BACKENDS, xxh3Backend, RunXxh3Pass);
  }
  return unknown;
}

}  // namespace

std::vector<std::string> DigestBackendNames(int32_t id, int32_t bits) {
  return WithBackends(id, bits, std::vector<std::string>(), [](const auto& list, auto&, auto) {
    std::vector<std::string> names;
    for (const auto& backend : list) names.push_back(backend.name);
    return names;
  });
}

bool ProcessorRunsDigestBackend(int32_t id, int32_t bits, const std::string& name,
                                const ProcessorFeatures& features) {
  return WithBackends(id, bits, false, [&](const auto& list, auto&, auto) {
    for (const auto& backend : list) {
      if (name == backend.name) return ProcessorRunsBackend(backend, features);
    }
    return false;
  });
}

bool UseDigestBackend(int32_t id, int32_t bits, const std::string& name,
                      const ProcessorFeatures& features) {
  return WithBackends(id, bits, false, [&](const auto& list, auto& active, auto) {
    for (const auto& backend : list) {
      if (name != backend.name || !ProcessorRunsBackend(backend, features)) continue;
      active = backend.blocks;
      return true;
    }
    return false;
  });
}

// BLAKE3 keeps its own dispatch's rule, the widest path; the others are timed.
void UseChosenDigestBackend(int32_t id, int32_t bits) {
  WithBackends(id, bits, 0, [id](const auto& list, auto& active, auto runPass) {
    active = id == DIGEST_BLAKE3 ? WidestBackendRunOn(list, ThisProcessor(), ThisProcessor()).blocks
                                 : ChooseDigestBackend(list, runPass);
    return 0;
  });
}

std::string DigestBackendChosenOn(int32_t id, int32_t bits, const ProcessorFeatures& features,
                                  const ProcessorFeatures& host) {
  return WithBackends(id, bits, std::string(), [&](const auto& list, auto& active, auto runPass) {
    using Blocks = std::remove_reference_t<decltype(active)>;
    if (id == DIGEST_BLAKE3) return std::string(WidestBackendRunOn(list, features, host).name);
    return std::string(FastestBackendRunOn(list, features, host, TrialTimer<Blocks>(runPass)).name);
  });
}

std::string ActiveDigestBackend(int32_t id, int32_t bits) {
  return WithBackends(id, bits, std::string(), [](const auto& list, auto& active, auto) {
    for (const auto& backend : list) {
      if (backend.blocks == active) return std::string(backend.name);
    }
    return std::string();
  });
}
