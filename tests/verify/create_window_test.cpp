// Making a sums file with the verifying window under Wine, driven from this second process: a
// small tree read, Save As accepted with Enter alone, the file's bytes those of the companion's
// `-r .` in the same folder; Cancel in the middle of the reading leaves no file behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/window_driver.h"
#include "verify/control_numbers.h"

namespace {

namespace fs = std::filesystem;

const std::vector<int> CONTROLS = {VERDICT_TEXT, ROWS_LIST, CANCEL_BUTTON};
const wchar_t SAVE_TITLE[] = L"Save checksums file as";

fs::path Folder(const std::string& name) {
  const fs::path folder =
      fs::temp_directory_path() / ("create-window-" + std::to_string(GetCurrentProcessId())) / name;
  fs::create_directories(folder);
  return folder;
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::wstring Verdict(const DrivenProgram& program) {
  return ReadControlText(GetDlgItem(program.Window(), VERDICT_TEXT));
}

std::wstring WaitForVerdict(const DrivenProgram& program, const std::wstring& start) {
  std::wstring verdict;
  WaitUntil(30000, [&] { return (verdict = Verdict(program)).rfind(start, 0) == 0; });
  return verdict;
}

// The companion's `--format gnu -a sha256 -r .` run in `folder`, written to `output`.
void CompanionList(const fs::path& folder, const fs::path& output) {
  std::wstring command = L"cmd /c \"cd /d \"" + folder.wstring() + L"\" && \"" +
                         std::wstring(CLI_PROGRAM) + L"\" --format gnu -a sha256 -r . > \"" +
                         output.wstring() + L"\"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST(CreateSumsWindow, ATreeIsSavedWithEnterAloneAsTheCompanionWritesIt) {
  const fs::path folder = Folder("tree");
  fs::create_directories(folder / "sub dir" / "deeper");
  Write(folder / "sub dir" / "empty", "");
  Write(folder / "sub dir" / "deeper" / "b.txt", "b");
  Write(folder / L"caf\u00e9 \u65e5\u672c.txt", "abc");
  Write(folder / "#hash", "#");
  Write(folder / "-dash", "-");
  const fs::path companion = folder.parent_path() / "companion-SHA256SUMS";
  CompanionList(folder, companion);

  DrivenProgram program(VERIFY_PROGRAM, L"--create \"" + folder.wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  std::wstring proposed;
  ASSERT_TRUE(program.AcceptFileDialogWithEnter(SAVE_TITLE, proposed));
  EXPECT_EQ(proposed, L"SHA256SUMS");
  EXPECT_EQ(WaitForVerdict(program, L"5 files in"), L"5 files in SHA256SUMS");
  const std::string written = Contents(folder / "SHA256SUMS");
  EXPECT_NE(written.find("  sub dir/deeper/b.txt\n"), std::string::npos) << written;
  EXPECT_EQ(written, Contents(companion));
  EXPECT_EQ(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE, 10000), 0);
}

// Under the read faults library (tests/support/read_faults.c), which the tests' Wine loads: the
// read of a file of this name never returns, which holds the run in the middle for Cancel.
TEST(CreateSumsWindow, CancelInTheMiddleLeavesNoFile) {
  const fs::path folder = Folder("cancel");
  Write(folder / "a.txt", "abc");
  Write(folder / "stuck.tmp", "abc");
  fs::rename(folder / "stuck.tmp", folder / "reads-never-return.bin");
  DrivenProgram program(VERIFY_PROGRAM, L"--create \"" + folder.wstring() + L"\"");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  ASSERT_EQ(WaitForVerdict(program, L"Reading files: 1 of 2"), L"Reading files: 1 of 2");
  program.ClickButton(CANCEL_BUTTON);
  EXPECT_EQ(WaitForVerdict(program, L"Cancelled"), L"Cancelled: no checksums file was written");
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 2u);
  EXPECT_EQ(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE, 10000), 0);
}

TEST(CreateSumsWindow, TheStartMenusEntryAsksForAFolderAndMakesNothingWhenCancelled) {
  DrivenProgram program(VERIFY_PROGRAM, L"--create");
  ASSERT_TRUE(program.WaitForWindow(VERIFY_WINDOW_TITLE, CONTROLS));
  ASSERT_TRUE(program.AnswerFileDialog(L"Choose a folder", L""));
  EXPECT_EQ(WaitForVerdict(program, L"No folder"), L"No folder chosen: no checksums file was made");
  EXPECT_EQ(program.Close(DrivenProgram::CloseBy::CLOSE_MESSAGE, 10000), 0);
}

}  // namespace
