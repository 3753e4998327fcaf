#pragma once
// The x86 intrinsics the backends use, and DIGEST_TARGET(features), the target attribute that lets
// a function use them; every backend marks its functions with it. The tests build the AVX-512 and
// carry-less multiplication backends (files named *avx512* or *pclmulqdq*) a second time with
// DIGEST_EMULATED_INTRINSICS: SIMDe's portable versions then stand in under the usual names and
// no target is asked of the compiler, so that the code runs on any x86-64 processor.
#include "digest/shared/processor_features.h"

#if DIGEST_X86_64_BACKENDS && DIGEST_EMULATED_INTRINSICS
#define SIMDE_ENABLE_NATIVE_ALIASES
#include <simde/x86/avx512.h>
#include <simde/x86/clmul.h>
#define DIGEST_TARGET(features)
// The one intrinsic the backends use that SIMDe 0.7.4 lacks.
inline __m512i _mm512_zextsi128_si512(__m128i low) {
  return _mm512_inserti32x4(_mm512_setzero_si512(), low, 0);
}
#elif DIGEST_X86_64_BACKENDS
// GCC 12's AVX-512 headers make their "undefined" vectors by initialising a variable from itself,
// which -Wuninitialized then reports in every caller; the warning is silenced for the headers only.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#ifndef __clang__  // clang has no such warning, and warns of the unknown name
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop
#define DIGEST_TARGET(features) __attribute__((target(features)))
#endif
