#include "digest/shared/processor_features.h"

#if DIGEST_X86_64_BACKENDS
#include <cpuid.h>

#include <cstring>
#endif

namespace {

#if DIGEST_X86_64_BACKENDS

struct CpuidRegisters {
  uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

CpuidRegisters Cpuid(uint32_t leaf, uint32_t subleaf) {
  CpuidRegisters r;
  // GCC's header declares the highest leaf unsigned, clang's signed.
  const auto highestLeaf = static_cast<uint32_t>(__get_cpuid_max(0, nullptr));
  if (leaf <= highestLeaf) __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
  return r;
}

bool Bit(uint32_t value, int bit) {
  return (value >> bit) & 1;
}

// XCR0, the register state the system saves across task switches; only valid with OSXSAVE.
uint64_t SavedRegisterState() {
  uint32_t low, high;
  __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return uint64_t{high} << 32 | low;
}

constexpr uint64_t XCR0_SSE_AND_YMM = 0x06;     // bits 1 and 2: XMM and the upper YMM halves
constexpr uint64_t XCR0_OPMASK_AND_ZMM = 0xE0;  // bits 5 to 7: k0-k7, upper ZMM0-15, ZMM16-31

// Family and model as both vendors define them: the extended family counts only past 15, the
// extended model only for families 6 and 15 and up.
ProcessorIdentity ReadProcessorIdentity() {
  ProcessorIdentity identity{};
  const CpuidRegisters leaf0 = Cpuid(0, 0);
  char vendor[12];
  std::memcpy(vendor, &leaf0.ebx, 4);
  std::memcpy(vendor + 4, &leaf0.edx, 4);
  std::memcpy(vendor + 8, &leaf0.ecx, 4);
  identity.vendor.assign(vendor, sizeof vendor);
  const uint32_t signature = Cpuid(1, 0).eax;
  const uint32_t baseFamily = (signature >> 8) & 0xF;
  identity.family = baseFamily + (baseFamily == 15 ? (signature >> 20) & 0xFF : 0);
  identity.model = (signature >> 4) & 0xF;
  if (baseFamily == 6 || baseFamily == 15) identity.model |= ((signature >> 16) & 0xF) << 4;
  identity.stepping = signature & 0xF;
  // GCC's header declares the highest leaf unsigned, clang's signed.
  if (static_cast<uint32_t>(__get_cpuid_max(0x80000000, nullptr)) >= 0x80000004) {
    char brand[48];
    for (uint32_t i = 0; i < 3; ++i) {
      CpuidRegisters r;
      __cpuid(0x80000002 + i, r.eax, r.ebx, r.ecx, r.edx);
      std::memcpy(brand + 16 * i, &r, 16);
    }
    identity.name.assign(brand, strnlen(brand, sizeof brand));
  }
  const size_t first = identity.name.find_first_not_of(' ');
  identity.name =
      first == std::string::npos
          ? std::string()
          : identity.name.substr(first, identity.name.find_last_not_of(' ') - first + 1);
  return identity;
}

ProcessorFeatures ReadProcessorFeatures() {
  ProcessorFeatures features{};
  const CpuidRegisters leaf1 = Cpuid(1, 0);
  const CpuidRegisters leaf7 = Cpuid(7, 0);

  const bool osxsave = Bit(leaf1.ecx, 27);
  const uint64_t saved = osxsave ? SavedRegisterState() : 0;
  const bool ymmSaved = (saved & XCR0_SSE_AND_YMM) == XCR0_SSE_AND_YMM;
  const bool zmmSaved = ymmSaved && (saved & XCR0_OPMASK_AND_ZMM) == XCR0_OPMASK_AND_ZMM;
  const bool avx = Bit(leaf1.ecx, 28) && ymmSaved;

  features.pclmulqdq = Bit(leaf1.ecx, 1);
  features.ssse3 = Bit(leaf1.ecx, 9);
  features.sse41 = Bit(leaf1.ecx, 19);
  features.bmi1 = Bit(leaf7.ebx, 3);
  features.avx2 = avx && Bit(leaf7.ebx, 5);
  features.bmi2 = Bit(leaf7.ebx, 8);
  features.avx512f = avx && zmmSaved && Bit(leaf7.ebx, 16);
  features.sha = Bit(leaf7.ebx, 29);
  features.avx512bw = features.avx512f && Bit(leaf7.ebx, 30);
  features.avx512vl = features.avx512f && Bit(leaf7.ebx, 31);
  features.vpclmulqdq = avx && Bit(leaf7.ecx, 10);
  return features;
}

bool ReadRdtscp() {
  // GCC's header declares the highest leaf unsigned, clang's signed.
  if (static_cast<uint32_t>(__get_cpuid_max(0x80000000, nullptr)) < 0x80000001) return false;
  CpuidRegisters r;
  __cpuid(0x80000001, r.eax, r.ebx, r.ecx, r.edx);
  return Bit(r.edx, 27);  // RDTSCP
}

#else

ProcessorFeatures ReadProcessorFeatures() {
  return ProcessorFeatures{};
}

bool ReadRdtscp() {
  return false;
}

ProcessorIdentity ReadProcessorIdentity() {
  return ProcessorIdentity{};
}

#endif

}  // namespace

const ProcessorFeatures& ThisProcessor() {
  static const ProcessorFeatures features = ReadProcessorFeatures();
  return features;
}

bool ThisProcessorHasRdtscp() {
  static const bool rdtscp = ReadRdtscp();
  return rdtscp;
}

const ProcessorIdentity& ThisProcessorIdentity() {
  static const ProcessorIdentity identity = ReadProcessorIdentity();
  return identity;
}

std::string FeatureNames(const ProcessorFeatures& features) {
  std::string names;
  for (const NamedProcessorFeature& feature : PROCESSOR_FEATURES) {
    if (!(features.*feature.field)) continue;
    names += names.empty() ? "" : ", ";
    names += feature.name;
  }
  return names.empty() ? "none" : names;
}

std::string DescribeProcessor(const ProcessorIdentity& identity) {
  const std::string name = identity.name.empty() ? "unnamed processor" : identity.name;
  if (identity.vendor.empty()) return name;
  return name + " (" + identity.vendor + " family " + std::to_string(identity.family) + ", model " +
         std::to_string(identity.model) + ", stepping " + std::to_string(identity.stepping) + ")";
}
