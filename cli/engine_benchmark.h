#pragma once
// What --benchmark prints: this processor, its features, what the choice by speed cost, and for
// each algorithm every backend this processor runs with its speed on a file-sized run in memory,
// the one the engine chose and the one --backend pinned; then a read of each FILE given. Users
// attach it to a report of a slow run: it shows whether the choice was right on a processor we
// may not have.
// It registers the plugins itself, timing that registration with the choice by speed in it, and
// must run before anything else registers them.
#include <vector>

#include "cli/options/cli_options.h"
#include "runtime/text.h"

void WriteEngineBenchmark(const std::vector<PinnedBackend>& pins, const std::vector<Text>& files);

// Points each pinned algorithm's plugin at its backend; after registration.
void UsePinnedBackends(const std::vector<PinnedBackend>& pins);
