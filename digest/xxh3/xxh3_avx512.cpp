// XXH3 on AVX-512 Foundation (this file is compiled with -mavx512f).
#include "digest/shared/processor_features.h"

#if DIGEST_X86_64_BACKENDS

#define XXH_VECTOR XXH_AVX512
#include "digest/xxh3/xxh3_functions.h"

const Xxh3Functions XXH3_AVX512_FUNCTIONS = {Reset, Update, Digest};

bool ProcessorRunsXxh3Avx512(const ProcessorFeatures& cpu) {
  return cpu.avx512f;
}

#endif
