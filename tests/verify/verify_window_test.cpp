// The verifying window end to end under Wine, driven from this second process as a user would:
// a sums file with every status and a line not understood, names up the tree or absolute and a
// file another program holds locked, whose verdicts must be those of `checksums-cli -c` on the
// same files; a digest taken from the clipboard and checked at once; two files compared; Cancel
// in the middle of a long run; a huge sums file; names beyond ASCII; a pasted text of no digest's
// length; closing by WM_CLOSE, and by taskkill before the window is up.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/window_driver.h"
#include "verify/control_numbers.h"

namespace {

const char SHA256_ABC[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::vector<int> CONTROLS = {VERDICT_TEXT, DIGEST_BOX, ROWS_LIST, CANCEL_BUTTON};

std::filesystem::path Folder(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("verify-window-" + std::to_string(GetCurrentProcessId())) /
                                       name;
  std::filesystem::create_directories(folder);
  return folder;
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Line(const char* hex, const std::string& name) {
  return std::string(hex) + "  " + name + "\n";
}

std::wstring Verdict(const DrivenProgram& program) {
  return ReadControlText(GetDlgItem(program.Window(), VERDICT_TEXT));
}

// Waits for a verdict that starts with `start`, or for one that no longer says the run is going.
std::wstring WaitForVerdict(const DrivenProgram& program, const std::wstring& start = L"") {
  std::wstring verdict;
  WaitUntil(30000, [&] {
    verdict = Verdict(program);
    if (!start.empty()) return verdict.rfind(start, 0) == 0;
    return !verdict.empty() && verdict.rfind(L"Checking", 0) != 0 &&
           verdict.rfind(L"Reading", 0) != 0;
  });
  return verdict;
}

void PressKey(HWND control, WPARAM key) {
  PostMessageW(control, WM_KEYDOWN, key, 1);
  PostMessageW(control, WM_KEYUP, key, 1u << 31 | 1u << 30 | 1);
}

// The middle of the rows list, in the window's client coordinates: where a test drops files.
POINT ListMiddle(const DrivenProgram& program) {
  RECT list;
  GetWindowRect(GetDlgItem(program.Window(), ROWS_LIST), &list);
  MapWindowPoints(nullptr, program.Window(), reinterpret_cast<POINT*>(&list), 2);
  return {(list.left + list.right) / 2, (list.top + list.bottom) / 2};
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PutOnClipboard(const std::wstring& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

// The rows as Copy gives them, each NAME: STATUS..., by name.
std::map<std::wstring, std::wstring> CopiedRows(const DrivenProgram& program) {
  PutOnClipboard(L"");
  program.ClickButton(COPY_BUTTON);
  std::wstring text;
  WaitUntil(10000, [&] { return !(text = ClipboardText()).empty(); });
  std::map<std::wstring, std::wstring> rows;
  std::wistringstream lines(text);
  for (std::wstring line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    const size_t colon = line.find(L": ");
    if (colon != std::wstring::npos) rows[line.substr(0, colon)] = line.substr(colon + 2);
  }
  return rows;
}

// checksums-cli -c in the sums file's folder: its verdict on each name, in the window's words
// ("OK", "FAILED", or the reason it could not read the file).
std::map<std::wstring, std::wstring> CompanionVerdicts(const std::filesystem::path& sumsFile) {
  const std::filesystem::path output = sumsFile.parent_path() / "companion-output.txt";
  std::wstring command = L"cmd /c \"\"" + std::wstring(CLI_PROGRAM) + L"\" -c \"" +
                         sumsFile.filename().wstring() + L"\" > \"" + output.wstring() +
                         L"\" 2>&1\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const std::wstring folder = sumsFile.parent_path().wstring();
  EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, folder.c_str(), &startup, &process));
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::map<std::wstring, std::wstring> verdicts;
  std::ifstream lines(output);
  const std::string cannotRead = "checksums-cli: cannot read ";
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::wstring wide(line.begin(), line.end());
    if (line.rfind(cannotRead, 0) == 0) {
      const size_t colon = wide.find(L": ", cannotRead.size());
      verdicts[wide.substr(cannotRead.size(), colon - cannotRead.size())] = wide.substr(colon + 2);
      continue;
    }
    const size_t colon = wide.find(L": ");
    if (colon == std::wstring::npos || line.rfind("checksums-cli", 0) == 0) continue;
    const std::wstring word = wide.substr(colon + 2);
    if (word == L"OK" || word == L"FAILED") verdicts[wide.substr(0, colon)] = word;
  }
  return verdicts;
}

TEST(VerifyWindow, ASumsFileGetsTheCompanionsVerdictOnEveryLine) {
  const std::filesystem::path folder = Folder("sums");
  Write(folder / "a.txt", "abc");
  Write(folder / "b.txt", "abd");
  Write(folder.parent_path() / "up.txt", "abc");
  Write(folder / "absolute.txt", "abc");
  Write(folder / "locked.txt", "abc");
  std::filesystem::create_directories(folder / "folder");
  const std::string absolute = (folder / "absolute.txt").string();
  Write(folder / "SHA256SUMS", Line(SHA256_ABC, "a.txt") + Line(SHA256_ABC, "b.txt") +
                                   Line(SHA256_ABC, "c.txt") + "no checksum here\n" +
                                   Line(SHA256_ABC, "folder") + Line(SHA256_ABC, "../up.txt") +
                                   Line(SHA256_ABC, absolute) + Line(SHA256_ABC, "locked.txt"));
  // Held open with no sharing, as another program may, through both checks.
  HANDLE locked = CreateFileW((folder / "locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  EXPECT_EQ(WaitForVerdict(program), L"1 of 7 FAILED, 1 MISSING, 2 UNREADABLE");
  EXPECT_EQ(ReadControlText(GetDlgItem(program.Window(), DETAILS_TEXT)),
            L"3 OK, 1 FAILED, 1 MISSING, 2 UNREADABLE; 1 line not understood: line 4");
  const std::map<std::wstring, std::wstring> rows = CopiedRows(program);
  const std::map<std::wstring, std::wstring> companion = CompanionVerdicts(folder / "SHA256SUMS");
  CloseHandle(locked);
  ASSERT_EQ(rows.size(), 7u);
  ASSERT_EQ(companion.size(), 7u);
  for (const auto& [name, verdict] : companion) {
    const std::wstring& row = rows.at(name);
    if (verdict == L"OK" || verdict == L"FAILED") {
      EXPECT_EQ(row.substr(0, verdict.size()), verdict) << name;
    } else {
      // "MISSING (reason)" or "UNREADABLE (reason)": the companion's reason, word for word.
      EXPECT_NE(row.find(L" (" + verdict + L")"), std::wstring::npos) << name << ": " << row;
    }
  }
  EXPECT_EQ(rows.at(L"c.txt").rfind(L"MISSING", 0), 0u);
  EXPECT_EQ(rows.at(L"folder").rfind(L"UNREADABLE", 0), 0u);
  EXPECT_EQ(rows.at(L"locked.txt").rfind(L"UNREADABLE (", 0), 0u);
  EXPECT_EQ(rows.at(L"../up.txt"), L"OK");
  EXPECT_EQ(rows.at(std::wstring(absolute.begin(), absolute.end())), L"OK");
  // With the run over, the last button closes the window.
  EXPECT_EQ(ReadControlText(GetDlgItem(program.Window(), CANCEL_BUTTON)), L"Close");
  program.ClickButton(CANCEL_BUTTON);
  EXPECT_EQ(WaitForSingleObject(program.Process(), 20000), WAIT_OBJECT_0);
}

TEST(VerifyWindow, ADigestOnTheClipboardIsPastedAndCheckedAtOnce) {
  const std::filesystem::path file = Folder("clipboard") / "setup.bin";
  Write(file, "abc");
  const std::wstring pasted = L"SHA256: " + std::wstring(SHA256_ABC, SHA256_ABC + 64);
  PutOnClipboard(pasted);
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + file.wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  EXPECT_EQ(WaitForVerdict(program, L"Match"), L"Match: SHA-256");
  EXPECT_EQ(ReadControlText(GetDlgItem(program.Window(), DIGEST_BOX)), pasted);
}

// The lines b3sum and xxhsum write for "abc" (xxhsum's newer GNU form for XXH3 with its prefix),
// and a BLAKE3 digest pasted: the algorithm is told by the file's name, the tag, the prefix or
// the digest itself.
TEST(VerifyWindow, SumsFilesOfB3sumAndXxhsumAndAPastedBlake3DigestAreChecked) {
  const std::filesystem::path folder = Folder("authors");
  Write(folder / "a.txt", "abc");
  const char BLAKE3_ABC[] = "6437b3ac38465133ffb63b75273a8db548c558465d79db03fd359c6cd5bd9d85";
  const std::pair<const char*, std::string> sumsFiles[] = {
      {"B3SUMS", std::string(BLAKE3_ABC) + "  a.txt\n"},
      {"release.xxh3", "XXH3 (a.txt) = 78af5f94892f3950\n"},
      {"XXH3SUMS.txt", "XXH3_78af5f94892f3950  a.txt\n"},
      {"release.xxh128", "06b05ab6733a618578af5f94892f3950  a.txt\n"}};
  for (const auto& [name, lines] : sumsFiles) {
    Write(folder / name, lines);
    DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / name).wstring() + L"\"");
    ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS)) << name;
    EXPECT_EQ(WaitForVerdict(program), L"1 file OK") << name;
  }
  PutOnClipboard(std::wstring(BLAKE3_ABC, BLAKE3_ABC + 64));
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "a.txt").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  EXPECT_EQ(WaitForVerdict(program, L"Match"), L"Match: BLAKE3");
}

TEST(VerifyWindow, ASecondFileDroppedInsteadOfADigestIsComparedWithTheFirst) {
  const std::filesystem::path folder = Folder("two");
  Write(folder / "first.bin", "abc");
  Write(folder / "same.bin", "abc");
  Write(folder / "other.bin", "abd");
  PutOnClipboard(L"");
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "first.bin").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  WaitForVerdict(program, L"Paste");
  const POINT middle = ListMiddle(program);
  program.DropFilesAt(middle, {(folder / "same.bin").wstring()});
  EXPECT_EQ(WaitForVerdict(program, L"Same"), L"Same content");
  program.DropFilesAt(middle, {(folder / "other.bin").wstring()});
  EXPECT_EQ(WaitForVerdict(program, L"Different"), L"Different content");
}

// A sums file whose check takes many seconds: 40 lines of SHA3-512 over 64 MB files, with
// alternating names so that each line is a read of its own.
std::filesystem::path LongRunSumsFile(const std::filesystem::path& folder) {
  const std::string large(64 << 20, 'x');
  Write(folder / "one.bin", large);
  Write(folder / "two.bin", large);
  std::string lines;
  for (int i = 0; i < 40; ++i)
    lines += std::string(128, 'a') + "  " + (i % 2 ? "one.bin\n" : "two.bin\n");
  Write(folder / "SHA3-512SUMS", lines);
  return folder / "SHA3-512SUMS";
}

TEST(VerifyWindow, CancelStopsALongRunAndKeepsTheRowsDone) {
  const std::filesystem::path folder = Folder("cancel");
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + LongRunSumsFile(folder).wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  ASSERT_EQ(WaitForVerdict(program, L"Checking").rfind(L"Checking", 0), 0u);
  Sleep(300);
  EXPECT_EQ(ReadControlText(GetDlgItem(program.Window(), CANCEL_BUTTON)), L"Cancel");
  program.ClickButton(CANCEL_BUTTON);
  const std::wstring verdict = WaitForVerdict(program, L"Cancelled");
  EXPECT_EQ(verdict.rfind(L"Cancelled after ", 0), 0u) << verdict;
  EXPECT_NE(verdict.find(L" of 40 files"), std::wstring::npos) << verdict;
  // The window still answers, and Escape with no run left closes it.
  PressKey(GetDlgItem(program.Window(), ROWS_LIST), VK_ESCAPE);
  EXPECT_EQ(WaitForSingleObject(program.Process(), 20000), WAIT_OBJECT_0);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

TEST(VerifyWindow, ClosingByWmCloseInTheMiddleOfARunEndsTheProgramAtOnce) {
  const std::filesystem::path folder = Folder("close");
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + LongRunSumsFile(folder).wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  ASSERT_EQ(WaitForVerdict(program, L"Checking").rfind(L"Checking", 0), 0u);
  EXPECT_EQ(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE, 5000), 0);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

// Under the read faults library (tests/support/read_faults.c), which the tests' Wine loads: reads
// of a sums file fail from 64 KiB on, and a listed file's read never returns.
TEST(VerifyWindow, ASumsFileWhoseReadFailsPartWayIsRedAndSaysHowFarItWasRead) {
  const std::filesystem::path folder = Folder("reads-fail-past-64k");
  Write(folder / "a.txt", "abc");
  std::string lines;
  while (lines.size() < (200 << 10)) lines += Line(SHA256_ABC, "a.txt");
  Write(folder / "SHA256SUMS", lines);
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  const std::wstring verdict = WaitForVerdict(program);
  EXPECT_EQ(verdict.rfind(L"SHA256SUMS could not be read to the end: ", 0), 0u) << verdict;
  EXPECT_NE(verdict.find(L" entries read before it stopped."), std::wstring::npos) << verdict;
  EXPECT_EQ(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE, 5000), 0);
}

TEST(VerifyWindow, AReadThatNeverReturnsHoldsNeitherCancelNorClose) {
  const std::filesystem::path folder = Folder("stuck");
  Write(folder / "a.txt", "abc");
  // Written under another name: this process runs under the library too, and the writing reads.
  Write(folder / "stuck.tmp", "abc");
  std::filesystem::rename(folder / "stuck.tmp", folder / "reads-never-return.bin");
  Write(folder / "SHA256SUMS",
        Line(SHA256_ABC, "a.txt") + Line(SHA256_ABC, "reads-never-return.bin"));
  for (const bool cancelFirst : {true, false}) {
    DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
    ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
    ASSERT_EQ(WaitForVerdict(program, L"Checking 1 of 2"), L"Checking 1 of 2 files...");
    ULONGLONG asked = GetTickCount64();
    if (cancelFirst) {
      program.ClickButton(CANCEL_BUTTON);
      EXPECT_EQ(WaitForVerdict(program, L"Cancelled"), L"Cancelled after 1 of 2 files");
      std::printf("Cancel answered in %llu ms\n", GetTickCount64() - asked);
      asked = GetTickCount64();
    }
    EXPECT_EQ(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE, 10000), 0);
    std::printf("Close ended the program in %llu ms\n", GetTickCount64() - asked);
  }
}

TEST(VerifyWindow, AHugeSumsFileIsReadWhileTheWindowAnswersAndEscapeOrAnotherFileStopsTheReading) {
  const std::filesystem::path folder = Folder("huge");
  const std::string line = Line(SHA256_ABC, "listed-file.txt");
  std::string lines;
  lines.reserve((100 << 20) + line.size());
  while (lines.size() < (100 << 20)) lines += line;
  Write(folder / "SHA256SUMS", lines);
  lines = std::string();
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  EXPECT_EQ(WaitForVerdict(program, L"Reading"), L"Reading SHA256SUMS...");
  std::wstring current;
  EXPECT_TRUE(WaitUntil(10000, [&] {
    current = ReadControlText(GetDlgItem(program.Window(), CURRENT_TEXT));
    return current.find(L"SHA256SUMS: ") != std::wstring::npos;
  })) << current;
  DWORD_PTR ignored = 0;
  EXPECT_TRUE(
      SendMessageTimeoutW(program.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored));
  PressKey(GetDlgItem(program.Window(), ROWS_LIST), VK_ESCAPE);
  std::wstring verdict;
  EXPECT_TRUE(
      WaitUntil(3000, [&] { return (verdict = Verdict(program)).rfind(L"Cancelled", 0) == 0; }));
  EXPECT_EQ(verdict, L"Cancelled while reading SHA256SUMS");
  // Another sums file dropped in the middle of the reading is checked at once.
  Write(folder / "a.txt", "abc");
  Write(folder / "a.sha256", Line(SHA256_ABC, "a.txt"));
  const POINT middle = ListMiddle(program);
  program.DropFilesAt(middle, {(folder / "SHA256SUMS").wstring()});
  EXPECT_EQ(WaitForVerdict(program, L"Reading"), L"Reading SHA256SUMS...");
  program.DropFilesAt(middle, {(folder / "a.sha256").wstring()});
  EXPECT_TRUE(WaitUntil(3000, [&] { return (verdict = Verdict(program)) == L"1 file OK"; }))
      << verdict;
  // Idle now: WM_CLOSE ends it.
  EXPECT_EQ(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE, 5000), 0);
  std::error_code gone;
  std::filesystem::remove_all(folder, gone);
}

// The top-level windows of a process, hidden ones too.
std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::pair<DWORD, std::vector<HWND>> found{processId, {}};
  EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto* search = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search->first) search->second.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.second;
}

TEST(VerifyWindow, TaskkillWithoutForceEndsTheProgramEvenBeforeItsWindowIsUp) {
  const std::filesystem::path folder = Folder("taskkill");
  Write(folder / "a.txt", "abc");
  Write(folder / "SHA256SUMS", Line(SHA256_ABC, "a.txt"));
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
  // What taskkill without /f does, as early as it can: WM_CLOSE posted to every top-level window
  // of the process, which are then the system's input-method window and the program's hidden
  // one, made before its own.
  std::vector<HWND> windows;
  for (DWORD start = GetTickCount(); windows.size() < 2 && GetTickCount() - start < 10000;) {
    windows = TopLevelWindowsOf(program.ProcessId());
  }
  ASSERT_GE(windows.size(), 2u);
  for (HWND window : windows) PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(program.Process(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(program.Process(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

TEST(VerifyWindow, NamesBeyondAsciiAreShownAsWrittenInTheListAndInCopiedText) {
  const std::filesystem::path folder = Folder("names");
  const std::wstring name = L"r\u00e9sum\u00e9 \u2713 \u65e5\u672c.txt";
  Write(folder / name, "abc");
  const std::wstring line = std::wstring(SHA256_ABC, SHA256_ABC + 64) + L"  " + name + L"\r\n";
  std::string utf16 = "\xff\xfe";
  for (wchar_t unit : line) utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr),
                   0);
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), static_cast<int>(utf8.size()),
                      nullptr, nullptr);
  utf8.pop_back();
  Write(folder / "utf8.sha256", utf8);
  Write(folder / "utf16.sha256", utf16);
  for (const char* sums : {"utf8.sha256", "utf16.sha256"}) {
    DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / sums).wstring() + L"\"");
    ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
    EXPECT_EQ(WaitForVerdict(program), L"1 file OK") << sums;
    EXPECT_EQ(ReadListCell(program.Process(), GetDlgItem(program.Window(), ROWS_LIST), 0, 0), name)
        << sums;
    const std::map<std::wstring, std::wstring> rows = CopiedRows(program);
    ASSERT_EQ(rows.count(name), 1u) << sums;
    EXPECT_EQ(rows.at(name), L"OK");
  }
}

TEST(VerifyWindow, APastedTextOfNoDigestsLengthStartsNoRunAndEnterChecksAgain) {
  const std::filesystem::path file = Folder("paste") / "setup.bin";
  Write(file, "abc");
  PutOnClipboard(L"");
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + file.wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  WaitForVerdict(program, L"Paste");
  HWND box = GetDlgItem(program.Window(), DIGEST_BOX);
  const std::wstring digest(SHA256_ABC, SHA256_ABC + 64);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(digest.substr(1).c_str()),
                      SMTO_NORMAL, 10000, &ignored);
  EXPECT_EQ(WaitForVerdict(program, L"The pasted"),
            L"The pasted text is no digest: it needs 8, 16, 32, 40, 56, 64, 96 or 128 hexadecimal "
            L"digits, maybe after a name (sha256:).");
  HWND list = GetDlgItem(program.Window(), ROWS_LIST);
  DWORD_PTR rows = 1;
  SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &rows);
  EXPECT_EQ(rows, 0u);
  SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(digest.c_str()), SMTO_NORMAL,
                      10000, &ignored);
  EXPECT_EQ(WaitForVerdict(program, L"Match"), L"Match: SHA-256");
  // The file changes; Enter in the digest box checks it again.
  Write(file, "abd");
  PressKey(box, VK_RETURN);
  EXPECT_EQ(WaitForVerdict(program, L"No match"), L"No match");
}

// The control that has the keyboard focus in the program's window thread.
HWND FocusOf(const DrivenProgram& program) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(program.Window(), nullptr), &info);
  return info.hwndFocus;
}

// Presses Tab until `control` has the focus; false when it never gets it.
bool TabTo(const DrivenProgram& program, HWND control) {
  for (int presses = 0; presses < 20 && FocusOf(program) != control; ++presses) {
    HWND focus = FocusOf(program);
    PressKey(focus ? focus : program.Window(), VK_TAB);
    WaitUntil(2000, [&] { return FocusOf(program) != focus; });
  }
  return FocusOf(program) == control;
}

TEST(VerifyWindow, EnterOnAButtonReachedWithTabPressesIt) {
  const std::filesystem::path folder = Folder("enter");
  Write(folder / "a.txt", "abc");
  Write(folder / "SHA256SUMS", Line(SHA256_ABC, "a.txt"));
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  ASSERT_EQ(WaitForVerdict(program), L"1 file OK");
  PutOnClipboard(L"");
  HWND copy = GetDlgItem(program.Window(), COPY_BUTTON);
  ASSERT_TRUE(TabTo(program, copy));
  PressKey(copy, VK_RETURN);
  std::wstring copied;
  EXPECT_TRUE(WaitUntil(10000, [&] { return !(copied = ClipboardText()).empty(); }));
  EXPECT_EQ(copied, L"a.txt: OK\r\n");
}

// A file the sums file does not name is an UNLISTED row; "Add" (reached with Tab) appends its
// line after every byte there, and the check again finds every file OK.
TEST(VerifyWindow, AnUnlistedFileIsShownAndAddAppendsItsLine) {
  const std::filesystem::path folder = Folder("unlisted");
  Write(folder / "a.txt", "abc");
  Write(folder / "new.txt", "abc");
  const std::string listed = "# made by hand\n" + Line(SHA256_ABC, "a.txt");
  Write(folder / "SHA256SUMS", listed);
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  ASSERT_EQ(WaitForVerdict(program), L"1 file OK");
  EXPECT_EQ(ReadControlText(GetDlgItem(program.Window(), DETAILS_TEXT)),
            L"1 OK, 0 FAILED, 0 MISSING, 0 UNREADABLE; 1 file here is not in SHA256SUMS");
  EXPECT_EQ(ReadListCell(program.Process(), GetDlgItem(program.Window(), ROWS_LIST), 1, 3),
            L"UNLISTED");
  HWND add = GetDlgItem(program.Window(), ADD_BUTTON);
  EXPECT_EQ(ReadControlText(add), L"Add 1 unlisted file");
  ASSERT_TRUE(TabTo(program, add));
  PressKey(add, VK_RETURN);
  EXPECT_EQ(WaitForVerdict(program, L"All"), L"All 2 files OK");
  std::ifstream file(folder / "SHA256SUMS", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
            listed + Line(SHA256_ABC, "new.txt"));
}

}  // namespace
