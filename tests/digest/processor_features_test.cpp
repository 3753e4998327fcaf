// The processor features the backends are chosen by, against the compiler's own reading of CPUID
// and XGETBV, and the rule that every backend list ends with code any processor runs.
#include "digest/shared/processor_features.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "digest/backend_selection.h"
#include "digest/digest_plugin.h"
#include "tests/digest/backends_under_test.h"

namespace {

TEST(ProcessorFeatures, AgreeWithTheCompilersOwnDetection) {
#if DIGEST_X86_64_BACKENDS
  // libgcc's detection also asks XGETBV whether the system saves the YMM and ZMM state.
  __builtin_cpu_init();
  const ProcessorFeatures& cpu = ThisProcessor();
  EXPECT_EQ(cpu.ssse3, __builtin_cpu_supports("ssse3") != 0);
  EXPECT_EQ(cpu.sse41, __builtin_cpu_supports("sse4.1") != 0);
  EXPECT_EQ(cpu.pclmulqdq, __builtin_cpu_supports("pclmul") != 0);
  EXPECT_EQ(cpu.avx2, __builtin_cpu_supports("avx2") != 0);
  EXPECT_EQ(cpu.bmi1, __builtin_cpu_supports("bmi") != 0);
  EXPECT_EQ(cpu.bmi2, __builtin_cpu_supports("bmi2") != 0);
  EXPECT_EQ(cpu.sha, __builtin_cpu_supports("sha") != 0);
  EXPECT_EQ(cpu.avx512f, __builtin_cpu_supports("avx512f") != 0);
  EXPECT_EQ(cpu.avx512bw, __builtin_cpu_supports("avx512bw") != 0);
  EXPECT_EQ(cpu.avx512vl, __builtin_cpu_supports("avx512vl") != 0);
  EXPECT_EQ(cpu.vpclmulqdq, __builtin_cpu_supports("vpclmulqdq") != 0);
#else
  GTEST_SKIP() << "no x86-64 backends on this architecture";
#endif
}

// The kernel's own reading of CPUID, in the first processor's block of /proc/cpuinfo, which a
// Windows program under Wine finds on drive Z:. Under qemu-user the processor model is emulated
// and the kernel's reading is the host's.
#ifdef _WIN32
constexpr char KERNEL_PROCESSOR_READING[] = "Z:\\proc\\cpuinfo";
#else
constexpr char KERNEL_PROCESSOR_READING[] = "/proc/cpuinfo";
#endif

TEST(ProcessorIdentity, AgreesWithTheKernelsReading) {
#if DIGEST_X86_64_BACKENDS && !defined(EMULATED_PROCESSOR_CLASS)
  std::ifstream cpuinfo(KERNEL_PROCESSOR_READING);
  if (!cpuinfo) GTEST_SKIP() << "no kernel reading of this processor's identity on this system";
  std::map<std::string, std::string> fields;
  for (std::string line; std::getline(cpuinfo, line) && !line.empty();) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, line.find_last_not_of(" \t", colon - 1) + 1);
    fields[key] = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
  }
  const ProcessorIdentity& identity = ThisProcessorIdentity();
  EXPECT_EQ(identity.vendor, fields["vendor_id"]);
  EXPECT_EQ(std::to_string(identity.family), fields["cpu family"]);
  EXPECT_EQ(std::to_string(identity.model), fields["model"]);
  EXPECT_EQ(std::to_string(identity.stepping), fields["stepping"]);
  EXPECT_EQ(identity.name, fields["model name"]);
#else
  GTEST_SKIP() << "no kernel reading of this processor's identity to compare with";
#endif
}

// The generic code ends every list and needs nothing, so that a processor of any kind finds a
// backend it runs.
TEST(ProcessorFeatures, EveryBackendListEndsWithTheGenericCode) {
  for (const TestAlgorithm& algorithm : AllTestAlgorithms()) {
    const std::vector<std::string> names = DigestBackendNames(algorithm.id, algorithm.bits);
    ASSERT_FALSE(names.empty()) << algorithm.name;
    EXPECT_EQ(names.back(), "generic") << algorithm.name;
    EXPECT_TRUE(ProcessorRunsDigestBackend(algorithm.id, algorithm.bits, "generic"));
  }
}

// An id that names no algorithm has no backends, and pointing it at one changes no plugin.
TEST(BackendSelection, AnUnknownAlgorithmHasNoBackends) {
  constexpr int32_t UNKNOWN = 99;
  EXPECT_TRUE(DigestBackendNames(UNKNOWN, 0).empty());
  EXPECT_FALSE(ProcessorRunsDigestBackend(UNKNOWN, 0, "generic"));
  EXPECT_EQ(ActiveDigestBackend(UNKNOWN, 0), "");
  const std::string keccakBefore = ActiveDigestBackend(DIGEST_SHA3, 256);
  EXPECT_FALSE(UseDigestBackend(UNKNOWN, 0, "generic"));
  EXPECT_EQ(ActiveDigestBackend(DIGEST_SHA3, 256), keccakBefore);
}

}  // namespace
