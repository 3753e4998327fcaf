#pragma once
// What the benchmarks need to measure a processor class: OpenSSL held to the class through its
// documented capability mask, the OPENSSL_ia32cap environment variable, which OpenSSL reads once
// when it starts; so every OpenSSL measurement of a class runs in a child process that has it.
// The engine reads no environment: the benchmark pins our backends itself.
#include <string>
#include <vector>

#include "digest/shared/processor_features.h"

// The mask that clears every capability bit a processor with `features` lacks: "~LV0:~LV1",
// where LV0 holds CPUID leaf 1's EDX and ECX and LV1 leaf 7's EBX and ECX (man 3
// OPENSSL_ia32cap). The SSE2-era bits of EDX stay, which every x86-64 processor has.
std::string OpenSslCapabilityMask(const ProcessorFeatures& features);

// Runs a program to its end, with OPENSSL_ia32cap set to `capabilityMask` unless it is empty. Its
// standard output is collected into `output` when one is given and shared otherwise. False when
// the program cannot run or fails.
bool RunProgram(const std::vector<std::string>& arguments, const std::string& capabilityMask,
                std::string* output = nullptr);

// This benchmark's own executable, to run again as a child.
std::string ThisExecutable();
