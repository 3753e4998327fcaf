#pragma once
// Throughput on 1 MiB updates of the backends a processor class gets, beside OpenSSL held to the
// same class, printed as the class's throughput table.
#include "tests/support/processor_classes.h"

// The benchmark runs itself with this option and the class's name, and OPENSSL_ia32cap set for
// the class; options after those go to Google Benchmark. Gives the exit code.
inline constexpr char THROUGHPUT_OPTION[] = "--throughput";
int MeasureThroughput(const ProcessorClass& processorClass, int argc, char** argv);
