#include "tests/support/processor_classes.h"

#include "report/algorithm_table.h"
#include "digest/backend_selection.h"

namespace {

constexpr ProcessorFeatures BASELINE{};  // SSE2, which every x86-64 processor has
constexpr ProcessorFeatures AVX2 = [] {
  ProcessorFeatures features{};
  features.ssse3 = features.sse41 = features.pclmulqdq = true;
  features.avx2 = features.bmi1 = features.bmi2 = true;
  return features;
}();
constexpr ProcessorFeatures AVX2_SHA = [] {
  ProcessorFeatures features = AVX2;
  features.sha = true;
  return features;
}();
constexpr ProcessorFeatures AVX512 = [] {
  ProcessorFeatures features = AVX2_SHA;
  features.avx512f = features.avx512bw = features.avx512vl = features.vpclmulqdq = true;
  return features;
}();

}  // namespace

const std::vector<ProcessorClass>& ProcessorClasses() {
  static const std::vector<ProcessorClass> classes = {
      {"baseline", "every x86-64 processor", BASELINE},
      {"avx2", "Intel Core 4th to 10th generation", AVX2},
      {"avx2-sha", "AMD Zen 1 to 3, Intel Core from the 12th generation", AVX2_SHA},
      {"avx512", "Intel Xeon from Ice Lake, AMD Zen 4 and 5", AVX512},
  };
  return classes;
}

const ProcessorClass* ProcessorClassNamed(const std::string& name) {
  for (const ProcessorClass& processorClass : ProcessorClasses()) {
    if (name == processorClass.name) return &processorClass;
  }
  return nullptr;
}

bool ThisProcessorRuns(const ProcessorClass& processorClass) {
  for (const NamedProcessorFeature& feature : PROCESSOR_FEATURES) {
    if (processorClass.features.*feature.field && !(ThisProcessor().*feature.field)) return false;
  }
  return true;
}

PinnedProcessorClass::PinnedProcessorClass(const ProcessorClass& processorClass)
    : pinned(ThisProcessorRuns(processorClass)) {
  if (!pinned) return;
  for (const NamedAlgorithm& algorithm : ALGORITHMS) {
    const ReportRow& row = algorithm.row;
    const ProcessorFeatures& features = processorClass.features;
    const std::string chosen = DigestBackendChosenOn(row.algorithm, row.bits, features);
    UseDigestBackend(row.algorithm, row.bits, chosen);
  }
}

PinnedProcessorClass::~PinnedProcessorClass() {
  if (!pinned) return;
  for (const NamedAlgorithm& algorithm : ALGORITHMS) {
    UseChosenDigestBackend(algorithm.row.algorithm, algorithm.row.bits);
  }
}
