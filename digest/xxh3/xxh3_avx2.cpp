// XXH3 on AVX2 (this file is compiled with -mavx2).
#include "digest/shared/processor_features.h"

#if DIGEST_X86_64_BACKENDS

#define XXH_VECTOR XXH_AVX2
#include "digest/xxh3/xxh3_functions.h"

const Xxh3Functions XXH3_AVX2_FUNCTIONS = {Reset, Update, Digest};

bool ProcessorRunsXxh3Avx2(const ProcessorFeatures& cpu) {
  return cpu.avx2;
}

#endif
