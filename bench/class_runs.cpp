#include "bench/class_runs.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstring>

#include "tests/support/processor_classes.h"

extern char** environ;

namespace {

constexpr char CAPABILITY_VARIABLE[] = "OPENSSL_ia32cap";

// Where CPUID reports a feature, as a bit of OpenSSL's two logical vectors.
constexpr int LV0_LEAF1_ECX = 32;
constexpr int LV1_LEAF7_EBX = 0;
constexpr int LV1_LEAF7_ECX = 32;

struct CapabilityBits {
  bool ProcessorFeatures::*field;
  uint64_t lv0;
  uint64_t lv1;
};

constexpr uint64_t Bit(int offset, int bit) {
  return uint64_t{1} << (offset + bit);
}

// AVX2 is only taken with AVX and the system's saving of the YMM state (XSAVE and OSXSAVE).
constexpr uint64_t AVX_WITH_SAVED_STATE =
    Bit(LV0_LEAF1_ECX, 26) | Bit(LV0_LEAF1_ECX, 27) | Bit(LV0_LEAF1_ECX, 28);

constexpr CapabilityBits CAPABILITY_BITS[] = {
    {&ProcessorFeatures::ssse3, Bit(LV0_LEAF1_ECX, 9), 0},
    {&ProcessorFeatures::sse41, Bit(LV0_LEAF1_ECX, 19), 0},
    {&ProcessorFeatures::pclmulqdq, Bit(LV0_LEAF1_ECX, 1), 0},
    {&ProcessorFeatures::avx2, AVX_WITH_SAVED_STATE, Bit(LV1_LEAF7_EBX, 5)},
    {&ProcessorFeatures::bmi1, 0, Bit(LV1_LEAF7_EBX, 3)},
    {&ProcessorFeatures::bmi2, 0, Bit(LV1_LEAF7_EBX, 8)},
    {&ProcessorFeatures::sha, 0, Bit(LV1_LEAF7_EBX, 29)},
    {&ProcessorFeatures::avx512f, AVX_WITH_SAVED_STATE, Bit(LV1_LEAF7_EBX, 16)},
    {&ProcessorFeatures::avx512bw, 0, Bit(LV1_LEAF7_EBX, 30)},
    {&ProcessorFeatures::avx512vl, 0, Bit(LV1_LEAF7_EBX, 31)},
    {&ProcessorFeatures::vpclmulqdq, 0, Bit(LV1_LEAF7_ECX, 10)},
};
static_assert(std::size(CAPABILITY_BITS) == std::size(PROCESSOR_FEATURES),
              "every feature needs its capability bits");

constexpr uint64_t LV0_LEAF1_EDX = 0xFFFFFFFF;

}  // namespace

std::string OpenSslCapabilityMask(const ProcessorFeatures& features) {
  uint64_t kept0 = LV0_LEAF1_EDX, kept1 = 0;
  for (const CapabilityBits& bits : CAPABILITY_BITS) {
    if (!(features.*bits.field)) continue;
    kept0 |= bits.lv0;
    kept1 |= bits.lv1;
  }
  char mask[64];
  std::snprintf(mask, sizeof mask, "~0x%" PRIx64 ":~0x%" PRIx64, ~kept0, ~kept1);
  return mask;
}

bool RunProgram(const std::vector<std::string>& arguments, const std::string& capabilityMask,
                std::string* output) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable; ++variable) {
    if (std::strncmp(*variable, CAPABILITY_VARIABLE, std::strlen(CAPABILITY_VARIABLE)) != 0)
      environment.push_back(*variable);
  }
  if (!capabilityMask.empty()) {
    environment.push_back(std::string(CAPABILITY_VARIABLE) + "=" + capabilityMask);
  }
  auto pointers = [](std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& text : strings) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
  };
  std::vector<std::string> argumentCopy = arguments;
  std::vector<char*> argv = pointers(argumentCopy), envp = pointers(environment);

  int pipeEnds[2] = {-1, -1};
  if (output && pipe(pipeEnds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output) {
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  }
  std::fflush(stdout);  // the child may share it
  pid_t child;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (output) {
    close(pipeEnds[1]);
    char chunk[4096];
    ssize_t got;
    output->clear();
    while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0) output->append(chunk, got);
    close(pipeEnds[0]);
  }
  if (spawned != 0) return false;
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ThisExecutable() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, length) : std::string();
}
