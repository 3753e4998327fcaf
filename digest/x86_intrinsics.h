#pragma once
// The x86 intrinsics the backends use. GCC 12's AVX-512 headers make their "undefined" vectors
// by initialising a variable from itself, which -Wuninitialized then reports in every caller;
// the warning is silenced for the headers only.
#include "digest/processor_features.h"

#if DIGEST_X86_64_BACKENDS
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#ifndef __clang__  // clang has no such warning, and warns of the unknown name
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop
#endif
