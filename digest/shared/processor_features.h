#pragma once
// What this processor offers the digest backends, read once from CPUID and XGETBV. On a
// processor of another architecture every field is false and only portable code runs.
#include <cstdint>
#include <iterator>
#include <string>

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

// Whether the processor has RDTSCP, which reads the time-stamp counter with the number of the core
// it runs on: the choice by speed's clock, not a feature of any backend.
bool ThisProcessorHasRdtscp();

struct NamedProcessorFeature {
  const char* name;
  bool ProcessorFeatures::*field;
};

// Every field of ProcessorFeatures with its name, in declaration order.
inline constexpr NamedProcessorFeature PROCESSOR_FEATURES[] = {
    {"SSSE3", &ProcessorFeatures::ssse3},
    {"SSE4.1", &ProcessorFeatures::sse41},
    {"PCLMULQDQ", &ProcessorFeatures::pclmulqdq},
    {"AVX2", &ProcessorFeatures::avx2},
    {"BMI1", &ProcessorFeatures::bmi1},
    {"BMI2", &ProcessorFeatures::bmi2},
    {"SHA", &ProcessorFeatures::sha},
    {"AVX512F", &ProcessorFeatures::avx512f},
    {"AVX512BW", &ProcessorFeatures::avx512bw},
    {"AVX512VL", &ProcessorFeatures::avx512vl},
    {"VPCLMULQDQ", &ProcessorFeatures::vpclmulqdq},
};
static_assert(std::size(PROCESSOR_FEATURES) == sizeof(ProcessorFeatures),
              "a feature added to ProcessorFeatures needs its name here");

// The names of the features that are set, joined by ", "; "none" when there are none.
std::string FeatureNames(const ProcessorFeatures& features);

// Who made this processor and which one it is, as CPUID tells: for the benchmark tables and the
// companion's report of a slow run, where speeds differ by core more than by feature. Empty
// names and zeros on other architectures.
struct ProcessorIdentity {
  std::string vendor;  // "GenuineIntel", "AuthenticAMD", ...
  uint32_t family;     // with the extended family added, as the vendors number them
  uint32_t model;      // with the extended model
  uint32_t stepping;
  std::string name;  // the brand string, spaces trimmed
};

const ProcessorIdentity& ThisProcessorIdentity();

// "NAME (VENDOR family F, model M, stepping S)", in decimal.
std::string DescribeProcessor(const ProcessorIdentity& identity);
