#include "digest/backend_selection.h"

#include "digest/blake3/blake3_backend.h"
#include "digest/crc32/crc32_backend.h"
#include "digest/digest_plugin.h"
#include "digest/md5/md5_backend.h"
#include "digest/sha1/sha1_backend.h"
#include "digest/sha2/sha2_backend.h"
#include "digest/sha3/keccak_backend.h"
#include "digest/xxh3/xxh3_backend.h"

namespace {

// Calls visit(table) with the algorithm's backend table (digest_backend.h); `unknown` for an id
// that names no algorithm, which has no backends.
template <typename Result, typename Visit>
Result WithBackends(int32_t id, int32_t bits, Result unknown, Visit visit) {
  switch (id) {
    case DIGEST_CRC32:
      return visit(CRC32_BACKEND_TABLE);
    case DIGEST_MD5:
      return visit(MD5_BACKEND_TABLE);
    case DIGEST_SHA1:
      return visit(SHA1_BACKEND_TABLE);
    case DIGEST_SHA2:
      if (bits == 384 || bits == 512) return visit(SHA512_BACKEND_TABLE);
      return visit(SHA256_BACKEND_TABLE);
    case DIGEST_SHA3:
      return visit(KECCAK_BACKEND_TABLE);
    case DIGEST_BLAKE3:
      return visit(BLAKE3_BACKEND_TABLE);
    case DIGEST_XXH3:
      return visit(XXH3_BACKEND_TABLE);
  }
  return unknown;
}

}  // namespace

std::vector<std::string> DigestBackendNames(int32_t id, int32_t bits) {
  return WithBackends(id, bits, std::vector<std::string>(), [](const auto& table) {
    std::vector<std::string> names;
    for (const auto& backend : table.candidates) names.push_back(backend.name);
    return names;
  });
}

bool ProcessorRunsDigestBackend(int32_t id, int32_t bits, const std::string& name,
                                const ProcessorFeatures& features) {
  return WithBackends(id, bits, false, [&](const auto& table) {
    for (const auto& backend : table.candidates) {
      if (name == backend.name) return ProcessorRunsBackend(backend, features);
    }
    return false;
  });
}

bool UseDigestBackend(int32_t id, int32_t bits, const std::string& name,
                      const ProcessorFeatures& features) {
  return WithBackends(id, bits, false, [&](const auto& table) {
    for (const auto& backend : table.candidates) {
      if (name != backend.name || !ProcessorRunsBackend(backend, features)) continue;
      table.active = backend.blocks;
      return true;
    }
    return false;
  });
}

void UseChosenDigestBackend(int32_t id, int32_t bits) {
  WithBackends(id, bits, 0, [](const auto& table) {
    table.active = ChosenBackendOn(table, ThisProcessor(), ThisProcessor()).blocks;
    return 0;
  });
}

std::string DigestBackendChosenOn(int32_t id, int32_t bits, const ProcessorFeatures& features,
                                  const ProcessorFeatures& host) {
  return WithBackends(id, bits, std::string(), [&](const auto& table) {
    return std::string(ChosenBackendOn(table, features, host).name);
  });
}

std::string ActiveDigestBackend(int32_t id, int32_t bits) {
  return WithBackends(id, bits, std::string(), [](const auto& table) {
    for (const auto& backend : table.candidates) {
      if (backend.blocks == table.active) return std::string(backend.name);
    }
    return std::string();
  });
}
