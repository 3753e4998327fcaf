#pragma once
// A digest plugin that records what the framework hands it, for the tests of the read loop and
// of the file layer.
#include <cstdint>
#include <functional>
#include <vector>

#include "digest/digest_plugin.h"
#include "runtime/text.h"

// What the plugin saw during the last computation.
struct Recording {
  std::vector<uint32_t> updateSizes;
  std::vector<int32_t> createArguments;
  int finishCount = 0;
};
extern Recording recording;

// Runs inside every update, while the engine holds the file open; empty unless a test sets it.
extern std::function<void()> duringUpdate;

// The plugin's id. It registers on first use, after the plugins a test file registers while it
// loads, so that id -1 still selects the first of those.
int32_t RecordingPluginId();

// The pieces the plugin receives for the file's range; `recording` holds the rest.
std::vector<uint32_t> UpdateSizesFor(const Text& path, int64_t offset = 0, int64_t length = -1);
