#pragma once
// Known-answer files of the standards (NIST CAVP response files, the RFC 1321 suite), read where
// the python3-cryptography-vectors package installs them; never copied into this repository.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The package's hashes folder; under Wine the same folder through drive Z:.
std::filesystem::path HashVectorFolder();

std::vector<uint8_t> BytesFromHex(const std::string& hex);

// One Len/Msg/MD entry; `line` is where its MD stands in the file.
struct MessageVector {
  std::vector<uint8_t> message;
  std::string digest;  // lower-case hexadecimal
  int line;
};

// The entries of a ShortMsg/LongMsg file (or the RFC 1321 suite). Fails the calling test when
// the file cannot be read or holds none.
std::vector<MessageVector> ReadMessageVectors(const std::filesystem::path& file);

// A Monte Carlo file: its seed and the checkpoint digests in COUNT order.
struct MonteCarloFile {
  std::vector<uint8_t> seed;
  std::vector<std::string> checkpoints;
};

MonteCarloFile ReadMonteCarloFile(const std::filesystem::path& file);
