// Listed names under Wine, the verify window beside `checksums-cli -c`: both find the same files
// from a second folder, whatever form the sums file's path and the names take; and neither opens
// a listed pipe, share or device, which a pipe server that never writes would otherwise learn of
// (and hold the reader for ever).
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/driver/window_driver.h"
#include "verify/control_numbers.h"

namespace {

// FIPS 180-2's digest of "abc", and the digest of no bytes at all.
const char SHA256_ABC[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const char SHA256_EMPTY[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
constexpr DWORD PATIENCE_MS = 60000;

std::filesystem::path Folder(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("listed-names-" + std::to_string(GetCurrentProcessId())) /
                                       name;
  std::filesystem::create_directories(folder);
  return folder;
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The companion started in this process's folder; `waitAlso` ends the wait early when signalled.
// Its exit code, or -1 when it was still running.
long RunCompanion(const std::wstring& sumsFile, HANDLE waitAlso = nullptr) {
  std::wstring command = L"\"" + std::wstring(CLI_PROGRAM) + L"\" -c \"" + sumsFile + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  const HANDLE waited[] = {process.hProcess, waitAlso};
  const bool ended =
      WaitForMultipleObjects(waitAlso ? 2 : 1, waited, FALSE, PATIENCE_MS) == WAIT_OBJECT_0;
  DWORD code = STILL_ACTIVE;
  if (ended) GetExitCodeProcess(process.hProcess, &code);
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended ? static_cast<long>(code) : -1;
}

bool RunIsOver(const std::wstring& verdict) {
  return !verdict.empty() && verdict.rfind(L"Checking", 0) != 0 &&
         verdict.rfind(L"Reading", 0) != 0;
}

// The window's verdict once its run is over, or once `stopEarly` says so.
std::wstring WindowVerdict(
    const std::wstring& sumsFile, const std::function<bool()>& stopEarly = [] { return false; }) {
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + sumsFile + L"\"");
  if (!program.WaitForWindow(VERIFY_WINDOW_TITLE, {VERDICT_TEXT})) return L"no window";
  std::wstring verdict;
  WaitUntil(PATIENCE_MS, [&] {
    verdict = ReadControlText(GetDlgItem(program.Window(), VERDICT_TEXT));
    return RunIsOver(verdict) || stopEarly();
  });
  return verdict;
}

class WorkingFolder {
 public:
  explicit WorkingFolder(const std::filesystem::path& folder)
      : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingFolder() { std::filesystem::current_path(previous); }

 private:
  std::filesystem::path previous;
};

TEST(ListedNames, TheWindowAndTheCompanionFindTheSameFilesFromAnotherFolder) {
  const std::filesystem::path base = Folder("forms");
  const std::filesystem::path dl = Folder("forms/dl");
  Write(dl / "a.txt", "abc");
  Write(dl / "setup.iso", "abc");
  Write(base / "up.txt", "abc");
  Write(dl / "setup.iso.sha256", SHA256_ABC);
  const std::string line = std::string(SHA256_ABC) + "  ";
  Write(dl / "SHA256SUMS", line + "a.txt\n" + line + "../up.txt\n" + line + "..\\up.txt\n" + line +
                               (dl / "a.txt").string() + "\n");
  // A folder above the sums file's, as a console or a script starts the programs.
  const WorkingFolder above(base);
  struct Case {
    std::wstring sumsFile;
    std::wstring verdict;
  };
  const Case cases[] = {
      {L"dl\\SHA256SUMS", L"All 4 files OK"},
      {(dl / "SHA256SUMS").wstring(), L"All 4 files OK"},
      {L"dl\\setup.iso.sha256", L"1 file OK"},
      {L"dl/setup.iso.sha256", L"1 file OK"},
      {L"..\\forms\\dl\\setup.iso.sha256", L"1 file OK"},
      {(dl / "setup.iso.sha256").wstring(), L"1 file OK"},
  };
  for (const Case& test : cases) {
    const std::string shown(test.sumsFile.begin(), test.sumsFile.end());
    EXPECT_EQ(WindowVerdict(test.sumsFile), test.verdict) << shown;
    EXPECT_EQ(RunCompanion(test.sumsFile), 0) << shown;
  }
}

// A pipe that records whether a client connected, and never writes.
class ListeningPipe {
 public:
  explicit ListeningPipe(const std::wstring& name) {
    pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                            PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    connection.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ConnectNamedPipe(pipe, &connection) && GetLastError() == ERROR_PIPE_CONNECTED) {
      SetEvent(connection.hEvent);
    }
  }
  ~ListeningPipe() {
    CancelIo(pipe);
    CloseHandle(pipe);
    CloseHandle(connection.hEvent);
  }
  bool Listening() const { return pipe != INVALID_HANDLE_VALUE; }
  HANDLE Connected() const { return connection.hEvent; }
  bool WasConnected() const { return WaitForSingleObject(connection.hEvent, 0) == WAIT_OBJECT_0; }

 private:
  HANDLE pipe;
  OVERLAPPED connection{};
};

TEST(ListedNames, PipesSharesAndDevicesListedAreNeverOpened) {
  const std::filesystem::path folder = Folder("outside");
  const std::string pipe = "checksums-listed-" + std::to_string(GetCurrentProcessId());
  // Each would pass with the empty digest if it were read as empty, or keep its reader waiting.
  const char* const names[] = {"\\\\.\\pipe\\", "//./pipe/", "\\\\?\\pipe\\",
                               "\\\\localhost\\pipe\\"};
  std::string lines;
  for (const char* name : names) lines += std::string(SHA256_EMPTY) + "  " + name + pipe + "\n";
  lines += std::string(SHA256_EMPTY) + "  NUL\n" + SHA256_EMPTY + "  com1.txt\n";
  Write(folder / "SHA256SUMS", lines);
  const std::wstring sums = (folder / "SHA256SUMS").wstring();
  const std::wstring pipeName = L"\\\\.\\pipe\\" + std::wstring(pipe.begin(), pipe.end());
  {
    const ListeningPipe listening(pipeName);
    ASSERT_TRUE(listening.Listening());
    EXPECT_EQ(RunCompanion(sums, listening.Connected()), 1);
    EXPECT_FALSE(listening.WasConnected());
  }
  const ListeningPipe listening(pipeName);
  ASSERT_TRUE(listening.Listening());
  EXPECT_EQ(WindowVerdict(sums, [&] { return listening.WasConnected(); }), L"6 of 6 UNREADABLE");
  EXPECT_FALSE(listening.WasConnected());
}

}  // namespace
