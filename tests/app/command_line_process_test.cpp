// The routines on a real process's own command line: each example line is handed to
// CreateProcessW, and the started probe reports what it found in GetCommandLineW.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/app/command_line_examples.h"

namespace {

std::wstring ProbePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring own(path, length);
  return own.substr(0, own.find_last_of(L'\\') + 1) + L"command_line_probe.exe";
}

// Runs the probe with `commandLine` and returns what it wrote to standard output.
std::string RunProbe(const Text& commandLine) {
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return "no pipe";
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  std::wstring writableLine = commandLine;
  const std::wstring probe = ProbePath();
  const BOOL started = CreateProcessW(probe.c_str(), writableLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  std::string output = started ? "" : "not started";
  char buffer[4096];
  DWORD got = 0;
  while (started && ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    output.append(buffer, got);
  CloseHandle(readEnd);
  if (started) {
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  return output;
}

TEST(ProcessCommandLine, ProbeSeesEveryExampleAsTheTokenizerDoes) {
  for (const CommandLineExample& example : CommandLineExamples()) {
    SCOPED_TRACE(Utf8FromText(example.name));
    std::ostringstream expected;
    expected << example.arguments.size() << "\n";
    for (const Text& argument : example.arguments) expected << Utf8FromText(argument) << "\n";
    expected << example.arguments.size() << "\n";  // the cursor stays after the last argument
    EXPECT_EQ(RunProbe(example.commandLine), expected.str());
  }
}

}  // namespace
