#pragma once
// The report's eleven digests of a file from one read of it (ComputeFileDigests), timed.
#include <string>
#include <vector>

// Seconds taken with `workers` threads; `digests` gets the lower-case hex in the report's order.
double TimeOnePass(const std::string& path, unsigned workers, std::vector<std::string>& digests);
