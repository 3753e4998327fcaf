// XXH3 on SSE2, which every x86-64 processor runs.
#include "digest/shared/processor_features.h"

#if DIGEST_X86_64_BACKENDS

#define XXH_VECTOR XXH_SSE2
#include "digest/xxh3/xxh3_functions.h"

const Xxh3Functions XXH3_SSE2_FUNCTIONS = {Reset, Update, Digest};

#endif
