// Listed names under Wine, the verify window beside `checksums-cli -c`: both find the same files
// from another folder, whatever form the sums file's path and the names take; and neither opens
// a listed pipe, share or device, which a pipe server that never writes would otherwise learn of
// (and hold the reader for ever).
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/window_driver.h"
#include "verify/control_numbers.h"

namespace {

// FIPS 180-2's digest of "abc", and the digest of no bytes at all.
const std::string SHA256_ABC = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string SHA256_EMPTY = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
constexpr DWORD PATIENCE_MS = 60000;

std::filesystem::path Written(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("listed-names-" + std::to_string(GetCurrentProcessId())) /
                                     name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// The companion's exit code, run in this process's folder; -1 when `stopEarly` was signalled
// first or it did not end.
long RunCompanion(const std::wstring& sumsFile, HANDLE stopEarly = nullptr) {
  std::wstring command = L"\"" + std::wstring(CLI_PROGRAM) + L"\" -c \"" + sumsFile + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  const HANDLE waited[] = {process.hProcess, stopEarly};
  DWORD code = STILL_ACTIVE;
  if (WaitForMultipleObjects(stopEarly ? 2 : 1, waited, FALSE, PATIENCE_MS) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  }
  TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == STILL_ACTIVE ? -1 : static_cast<long>(code);
}

// The window's verdict once its run is over, or once `stopEarly` says so.
std::wstring WindowVerdict(
    const std::wstring& sumsFile, const std::function<bool()>& stopEarly = [] { return false; }) {
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + sumsFile + L"\"");
  if (!program.WaitForWindow(VERIFY_WINDOW_TITLE, {VERDICT_TEXT})) return L"no window";
  std::wstring verdict;
  WaitUntil(PATIENCE_MS, [&] {
    verdict = ReadControlText(GetDlgItem(program.Window(), VERDICT_TEXT));
    return (!verdict.empty() && verdict.rfind(L"Checking", 0) != 0 &&
            verdict.rfind(L"Reading", 0) != 0) ||
           stopEarly();
  });
  return verdict;
}

TEST(ListedNames, TheWindowAndTheCompanionFindTheSameFilesFromAnotherFolder) {
  const std::filesystem::path dl = Written("forms/dl/a.txt", "abc").parent_path();
  Written("forms/dl/setup.iso", "abc");
  Written("forms/up.txt", "abc");
  Written("forms/dl/setup.iso.sha256", SHA256_ABC);
  const std::string line = SHA256_ABC + "  ";
  Written("forms/dl/SHA256SUMS", line + "a.txt\n" + line + "../up.txt\n" + line + "..\\up.txt\n" +
                                     line + (dl / "a.txt").string() + "\n");
  // The folder above the sums file's, as a console or a script starts the programs.
  const std::filesystem::path started = std::filesystem::current_path();
  std::filesystem::current_path(dl.parent_path());
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"dl\\SHA256SUMS", L"All 4 files OK"},
      {(dl / "SHA256SUMS").wstring(), L"All 4 files OK"},
      {L"dl\\setup.iso.sha256", L"1 file OK"},
      {L"dl/setup.iso.sha256", L"1 file OK"},
      {L"..\\forms\\dl\\setup.iso.sha256", L"1 file OK"},
      {(dl / "setup.iso.sha256").wstring(), L"1 file OK"}};
  for (const auto& [sumsFile, verdict] : cases) {
    EXPECT_EQ(WindowVerdict(sumsFile), verdict) << std::filesystem::path(sumsFile);
    EXPECT_EQ(RunCompanion(sumsFile), 0) << std::filesystem::path(sumsFile);
  }
  std::filesystem::current_path(started);
}

// A pipe that records whether a client connected, and never writes.
struct ListeningPipe {
  explicit ListeningPipe(const std::wstring& name)
      : pipe(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                              PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr)) {
    connection.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ConnectNamedPipe(pipe, &connection) && GetLastError() == ERROR_PIPE_CONNECTED) {
      SetEvent(connection.hEvent);
    }
  }
  ~ListeningPipe() {
    CloseHandle(pipe);
    CloseHandle(connection.hEvent);
  }
  bool Connected() const { return WaitForSingleObject(connection.hEvent, 0) == WAIT_OBJECT_0; }

  HANDLE pipe;
  OVERLAPPED connection{};
};

TEST(ListedNames, PipesSharesAndDevicesListedAreNeverOpened) {
  const std::string pipe = "checksums-listed-" + std::to_string(GetCurrentProcessId());
  // Each would pass with the empty digest if it were read as empty, or keep its reader waiting.
  std::string lines;
  for (const char* name :
       {"\\\\.\\pipe\\", "//./pipe/", "\\\\?\\pipe\\", "\\\\localhost\\pipe\\"}) {
    lines += SHA256_EMPTY + "  " + name + pipe + "\n";
  }
  lines += SHA256_EMPTY + "  NUL\n" + SHA256_EMPTY + "  com1.txt\n";
  const std::wstring sums = Written("outside/SHA256SUMS", lines).wstring();
  const std::wstring pipeName = L"\\\\.\\pipe\\" + std::wstring(pipe.begin(), pipe.end());
  {
    const ListeningPipe listening(pipeName);
    ASSERT_NE(listening.pipe, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunCompanion(sums, listening.connection.hEvent), 1);
    EXPECT_FALSE(listening.Connected());
  }
  const ListeningPipe listening(pipeName);
  EXPECT_EQ(WindowVerdict(sums, [&] { return listening.Connected(); }), L"6 of 6 UNREADABLE");
  EXPECT_FALSE(listening.Connected());
}

}  // namespace
