#pragma once
// Scratch files for tests, in a folder of their own that is removed at exit.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/text.h"

std::filesystem::path ScratchFolder();
Text TextFromPath(const std::filesystem::path& path);

// Writes `bytes` to a new file under ScratchFolder() and returns its path as program text; `name`
// is in UTF-8.
Text WriteScratchFile(const std::string& name, const std::vector<uint8_t>& bytes);
Text WriteScratchFile(const std::string& name, const std::string& bytes);

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed);
