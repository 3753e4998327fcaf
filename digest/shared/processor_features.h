#pragma once
// What this processor offers the digest backends, read once from CPUID and XGETBV. On a
// processor of another architecture every field is false and only portable code runs.
#if defined(__x86_64__) || defined(_M_X64)
#define DIGEST_X86_64_BACKENDS 1
#else
#define DIGEST_X86_64_BACKENDS 0
#endif

struct ProcessorFeatures {
  bool ssse3;
  bool sse41;
  bool pclmulqdq;
  bool avx2;  // with the YMM state saved by the system
  bool bmi1;
  bool bmi2;
  bool sha;
  bool avx512f;  // this and the three below: with the ZMM and mask state saved
  bool avx512bw;
  bool avx512vl;
  bool vpclmulqdq;  // the 256- and 512-bit forms need AVX and AVX-512 themselves
};

const ProcessorFeatures& ThisProcessor();
