#pragma once
// The processor classes the digest engine is measured and tested on, named once for the tests and
// the benchmarks. The engine itself chooses by feature bits; a class is a set of them that many
// processors share, and pinning one runs on this processor the backends a processor of that class
// would get.
#include <string>
#include <vector>

#include "digest/shared/processor_features.h"

struct ProcessorClass {
  const char* name;
  const char* examples;  // processors that belong to it
  ProcessorFeatures features;
};

// From the class every x86-64 processor belongs to up to the widest; each has the features of the
// one before.
const std::vector<ProcessorClass>& ProcessorClasses();

// Null when no class has that name.
const ProcessorClass* ProcessorClassNamed(const std::string& name);

// Whether this processor has every feature of the class.
bool ThisProcessorRuns(const ProcessorClass& processorClass);

// Points every plugin at the backend registration would choose on a processor of the class, for
// the scope; then back at registration's own choice. Pins nothing when this processor cannot run
// the class.
class PinnedProcessorClass {
 public:
  explicit PinnedProcessorClass(const ProcessorClass& processorClass);
  ~PinnedProcessorClass();
  PinnedProcessorClass(const PinnedProcessorClass&) = delete;
  PinnedProcessorClass& operator=(const PinnedProcessorClass&) = delete;
  bool Pinned() const { return pinned; }

 private:
  bool pinned;
};
