#include "tests/digest/hash_vectors.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// "Name = value" lines; everything else ([L = 20], comments, blanks) is skipped.
struct Field {
  std::string name;
  std::string value;
  int line;
};

std::vector<Field> ReadFields(const std::filesystem::path& file) {
  std::vector<Field> fields;
  std::ifstream in(file);
  if (!in) {
    ADD_FAILURE() << "cannot read " << file.string() << " (package python3-cryptography-vectors)";
    return fields;
  }
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text[0] == '#' || text[0] == '[') continue;
    const size_t equals = text.find(" = ");
    if (equals == std::string::npos) continue;
    fields.push_back({text.substr(0, equals), text.substr(equals + 3), line});
  }
  return fields;
}

}  // namespace

std::filesystem::path HashVectorFolder() {
#ifdef _WIN32
  return L"Z:\\usr\\lib\\python3\\dist-packages\\cryptography_vectors\\hashes";
#else
  return "/usr/lib/python3/dist-packages/cryptography_vectors/hashes";
#endif
}

std::vector<uint8_t> BytesFromHex(const std::string& hex) {
  std::vector<uint8_t> bytes(hex.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
  }
  return bytes;
}

std::vector<MessageVector> ReadMessageVectors(const std::filesystem::path& file) {
  std::vector<MessageVector> vectors;
  long bitLength = -1;
  std::vector<uint8_t> message;
  for (const Field& field : ReadFields(file)) {
    if (field.name == "Len") {
      bitLength = std::stol(field.value);
    } else if (field.name == "Msg") {
      // Len 0 comes with the placeholder "00"; only Len says how many bytes count.
      message = BytesFromHex(field.value);
      EXPECT_EQ(bitLength % 8, 0) << file.string() << ":" << field.line << " is not byte-oriented";
      message.resize(static_cast<size_t>(bitLength / 8));
    } else if (field.name == "MD") {
      vectors.push_back({message, field.value, field.line});
    }
  }
  EXPECT_FALSE(vectors.empty()) << "no vectors in " << file.string();
  return vectors;
}

MonteCarloFile ReadMonteCarloFile(const std::filesystem::path& file) {
  MonteCarloFile vectors;
  for (const Field& field : ReadFields(file)) {
    if (field.name == "Seed") vectors.seed = BytesFromHex(field.value);
    if (field.name == "MD") vectors.checkpoints.push_back(field.value);
  }
  EXPECT_FALSE(vectors.seed.empty() || vectors.checkpoints.empty())
      << "no Monte Carlo vectors in " << file.string();
  return vectors;
}
