// The verifying window end to end under Wine, driven from this second process as a user would:
// a sums file with every status and a line not understood, whose verdicts must be those of
// `checksums-cli -c` on the same files; a digest taken from the clipboard and checked at once;
// two files compared; Cancel in the middle of a long run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/driver/window_driver.h"
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
  std::filesystem::create_directories(folder / "folder");
  Write(folder / "SHA256SUMS", Line(SHA256_ABC, "a.txt") + Line(SHA256_ABC, "b.txt") +
                                   Line(SHA256_ABC, "c.txt") + "no checksum here\n" +
                                   Line(SHA256_ABC, "folder"));
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA256SUMS").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  EXPECT_EQ(WaitForVerdict(program), L"1 of 4 FAILED, 1 MISSING, 1 UNREADABLE");
  EXPECT_EQ(ReadControlText(GetDlgItem(program.Window(), DETAILS_TEXT)),
            L"1 OK, 1 FAILED, 1 MISSING, 1 UNREADABLE; 1 line not understood: line 4");
  const std::map<std::wstring, std::wstring> rows = CopiedRows(program);
  const std::map<std::wstring, std::wstring> companion = CompanionVerdicts(folder / "SHA256SUMS");
  ASSERT_EQ(rows.size(), 4u);
  ASSERT_EQ(companion.size(), 4u);
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

TEST(VerifyWindow, ASecondFileDroppedInsteadOfADigestIsComparedWithTheFirst) {
  const std::filesystem::path folder = Folder("two");
  Write(folder / "first.bin", "abc");
  Write(folder / "same.bin", "abc");
  Write(folder / "other.bin", "abd");
  PutOnClipboard(L"");
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "first.bin").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  WaitForVerdict(program, L"Paste");
  RECT list;
  GetWindowRect(GetDlgItem(program.Window(), ROWS_LIST), &list);
  MapWindowPoints(nullptr, program.Window(), reinterpret_cast<POINT*>(&list), 2);
  const POINT middle{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
  program.DropFilesAt(middle, {(folder / "same.bin").wstring()});
  EXPECT_EQ(WaitForVerdict(program, L"Same"), L"Same content");
  program.DropFilesAt(middle, {(folder / "other.bin").wstring()});
  EXPECT_EQ(WaitForVerdict(program, L"Different"), L"Different content");
}

TEST(VerifyWindow, CancelStopsALongRunAndKeepsTheRowsDone) {
  const std::filesystem::path folder = Folder("cancel");
  const std::string large(64 << 20, 'x');
  Write(folder / "one.bin", large);
  Write(folder / "two.bin", large);
  std::string lines;
  // Alternating names: each line is a read of its own, many seconds of SHA3-512 in all.
  for (int i = 0; i < 40; ++i)
    lines += std::string(128, 'a') + "  " + (i % 2 ? "one.bin\n" : "two.bin\n");
  Write(folder / "SHA3-512SUMS", lines);
  DrivenProgram program(VERIFY_PROGRAM, L"\"" + (folder / "SHA3-512SUMS").wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  ASSERT_EQ(WaitForVerdict(program, L"Checking").rfind(L"Checking", 0), 0u);
  Sleep(300);
  program.ClickButton(CANCEL_BUTTON);
  const std::wstring verdict = WaitForVerdict(program, L"Cancelled");
  EXPECT_EQ(verdict.rfind(L"Cancelled after ", 0), 0u) << verdict;
  EXPECT_NE(verdict.find(L" of 40 files"), std::wstring::npos) << verdict;
  // The window still answers, and Escape with no run left closes it.
  PostMessageW(GetDlgItem(program.Window(), ROWS_LIST), WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(GetDlgItem(program.Window(), ROWS_LIST), WM_KEYUP, VK_ESCAPE,
               1u << 31 | 1u << 30 | 1);
  EXPECT_EQ(WaitForSingleObject(program.Process(), 20000), WAIT_OBJECT_0);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
