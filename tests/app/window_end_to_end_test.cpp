// The checksum window as a user meets it: a second process starts checksums.exe, finds its window
// and checks what its controls show, clicks its buttons, answers its dialog, drops files on it
// and closes it. Expected digests come from Python's hashlib and zlib, not from our engine.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <fstream>
#include <map>
#include <sstream>

#include "runtime/text.h"
#include "tests/support/window_driver.h"

namespace {

const std::wstring FIXTURE = WINDOW_FIXTURE_DIR;
const std::wstring PROGRAM = CHECKSUMS_PROGRAM;
const std::wstring CONTENDER = CONTENDER_PROGRAM;
const std::wstring TITLE_PREFIX =
    L"Calculate Checksums - Drag & Drop or click on 'Open File' - Filename: ";
const std::wstring BASE_TITLE = L"Calculate Checksums - Drag & Drop or click on 'Open File'";
const std::vector<std::wstring> START_LABELS = {L"CRC32:",       L"MD5:",         L"SHA-1:",
                                                L"SHA-2 (224):", L"SHA-2 (256):", L"SHA-2 (384):",
                                                L"SHA-2 (512):", L"SHA-3 (224):", L"SHA-3 (256):",
                                                L"SHA-3 (384):", L"SHA-3 (512):"};

std::wstring PathOf(const std::wstring& name) {
  return FIXTURE + L"\\" + name;
}

// File name -> its eleven lower-case digests, in the window's order.
const std::map<std::wstring, std::vector<std::wstring>>& ExpectedDigests() {
  static const auto table = [] {
    std::map<std::wstring, std::vector<std::wstring>> rows;
    std::ifstream in(Utf8FromText(PathOf(L"expected.tsv")));
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream cells(line);
      std::string name, digest;
      std::getline(cells, name, '\t');
      auto& row = rows[TextFromUtf8(name)];
      while (std::getline(cells, digest, '\t')) row.push_back(TextFromUtf8(digest));
    }
    return rows;
  }();
  return table;
}

std::vector<std::wstring> ExpectedFields(const std::wstring& name) {
  const auto& digests = ExpectedDigests().at(name);
  std::vector<std::wstring> fields;
  for (size_t i = 0; i < START_LABELS.size(); ++i) {
    std::wstring upper = digests.at(i);
    for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    fields.push_back(START_LABELS[i] + L" " + upper);
  }
  return fields;
}

std::vector<std::wstring> BareLabels() {
  std::vector<std::wstring> labels;
  for (const auto& label : START_LABELS) labels.push_back(label + L" ");
  return labels;
}

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

// Starts the program and waits for its first report (or its empty start state).
class Window : public ::testing::Test {
 protected:
  void Start(const std::wstring& arguments, bool expectReport) {
    ASSERT_EQ(ExpectedDigests().count(L"empty.bin"), 1u)
        << "fixture missing in " << Utf8FromText(FIXTURE);
    program = std::make_unique<DrivenProgram>(PROGRAM, arguments);
    ASSERT_TRUE(program->Started());
    ASSERT_TRUE(program->WaitForWindow());
    if (expectReport) {
      ASSERT_TRUE(program->WaitForReport());
    }
  }
  void ExpectCleanExit(DrivenProgram::CloseBy how = DrivenProgram::CloseBy::CLOSE_MESSAGE) {
    EXPECT_EQ(program->Close(how), 0);
  }
  std::unique_ptr<DrivenProgram> program;
};

TEST_F(Window, StartsEmptyTopmostCentredAndFixedInSize) {
  Start(L"", false);
  const WindowSnapshot shown = program->Read();
  EXPECT_EQ(shown.fields, START_LABELS);
  EXPECT_EQ(shown.status, L"");
  EXPECT_EQ(shown.title, TITLE_PREFIX);

  HWND window = program->Window();
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 1000);
  EXPECT_EQ(client.bottom, 400);
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  ExpectCleanExit();
}

TEST_F(Window, QuotedPathWithSpacesShowsItsReport) {
  const std::wstring path = PathOf(L"two words.bin");
  Start(Quoted(path), true);
  const WindowSnapshot shown = program->Read();
  EXPECT_EQ(shown.title, TITLE_PREFIX + L"two words.bin");
  EXPECT_EQ(shown.fields, ExpectedFields(L"two words.bin"));
  EXPECT_EQ(shown.status, L"File Path: " + path);
  ExpectCleanExit();
}

TEST_F(Window, EmptyFileShowsTheDigestsOfNothingAndMissingFileAndDeviceShowBareLabels) {
  Start(Quoted(PathOf(L"empty.bin")), true);
  EXPECT_EQ(program->Read().fields, ExpectedFields(L"empty.bin"));
  ExpectCleanExit();

  const std::wstring missing = PathOf(L"no such file.bin");
  Start(Quoted(missing), true);
  const WindowSnapshot shown = program->Read();
  EXPECT_EQ(shown.fields, BareLabels());
  EXPECT_EQ(shown.status, L"File Path: " + missing);
  EXPECT_EQ(shown.title, TITLE_PREFIX + L"no such file.bin");
  ExpectCleanExit(DrivenProgram::CloseBy::SYSTEM_MENU);

  // Read as a file, this device would never end and the window would never answer.
  Start(L"Z:\\dev\\zero", true);
  EXPECT_EQ(program->Read().fields, BareLabels());
  ExpectCleanExit();
}

TEST_F(Window, PathLongerThanTheOldLimitIsRead) {
  const std::wstring name = std::wstring(120, L'L') + L"\\" + std::wstring(120, L'M') + L"\\" +
                            std::wstring(60, L'N') + L"\\deep file.bin";
  const std::wstring path = PathOf(name);
  ASSERT_GT(path.size(), 300u);
  Start(Quoted(path), true);
  EXPECT_EQ(program->Read().fields, ExpectedFields(name));
  ExpectCleanExit();
}

TEST_F(Window, ClearPutsBackTheStartState) {
  Start(Quoted(PathOf(L"first.dat")), true);
  const WindowSnapshot report = program->Read();
  ASSERT_EQ(report.fields, ExpectedFields(L"first.dat"));
  program->ClickButton(CLEAR_BUTTON);
  ASSERT_TRUE(program->WaitForChange(report));
  const WindowSnapshot cleared = program->Read();
  EXPECT_EQ(cleared.fields, START_LABELS);
  EXPECT_EQ(cleared.status, L"");
  EXPECT_EQ(cleared.title, BASE_TITLE);
  ExpectCleanExit(DrivenProgram::CloseBy::ALT_F4);
}

TEST_F(Window, OpenFileShowsTheChosenFileAndCancelKeepsTheReport) {
  Start(L"", false);
  const std::wstring chosen = PathOf(L"chosen.txt");
  const WindowSnapshot before = program->Read();
  program->ClickButton(OPEN_FILE_BUTTON);
  ASSERT_TRUE(program->AnswerOpenFileDialog(chosen));
  ASSERT_TRUE(program->WaitForChange(before));
  ASSERT_TRUE(program->WaitForReport());
  WindowSnapshot shown = program->Read();
  EXPECT_EQ(shown.title, TITLE_PREFIX + L"chosen.txt");
  EXPECT_EQ(shown.fields, ExpectedFields(L"chosen.txt"));
  EXPECT_EQ(shown.status, L"File Path: " + chosen);

  program->ClickButton(OPEN_FILE_BUTTON);
  ASSERT_TRUE(program->AnswerOpenFileDialog(L""));
  ASSERT_TRUE(program->WaitForChange(shown));
  const WindowSnapshot cancelled = program->Read();
  EXPECT_EQ(cancelled.title, TITLE_PREFIX);
  EXPECT_EQ(cancelled.fields, shown.fields);
  EXPECT_EQ(cancelled.status, shown.status);
  ExpectCleanExit();
}

TEST_F(Window, DroppedFilesAreShown) {
  Start(L"", false);
  const std::wstring first = PathOf(L"first.dat");
  const std::wstring second = PathOf(L"second.dat");
  WindowSnapshot before = program->Read();
  EXPECT_EQ(program->DropFiles({first}), static_cast<DWORD>(DROPEFFECT_LINK));
  ASSERT_TRUE(program->WaitForChange(before));
  ASSERT_TRUE(program->WaitForReport());
  WindowSnapshot shown = program->Read();
  EXPECT_EQ(shown.title, TITLE_PREFIX + L"first.dat");
  EXPECT_EQ(shown.fields, ExpectedFields(L"first.dat"));
  EXPECT_EQ(shown.status, L"File Path: " + first);

  EXPECT_EQ(program->DropFiles({first, second}), static_cast<DWORD>(DROPEFFECT_LINK));
  ASSERT_TRUE(program->WaitForChange(shown));
  shown = program->Read();
  EXPECT_EQ(shown.title, TITLE_PREFIX + L"second.dat");
  EXPECT_EQ(shown.fields, BareLabels());
  // Wine's status bar shows a line feed as a space (Windows keeps it): accept exactly those two.
  const std::wstring joined = L"File Path: " + first + L"\n" + second;
  const std::wstring asWineShowsIt = L"File Path: " + first + L" " + second;
  EXPECT_TRUE(shown.status == joined || shown.status == asWineShowsIt)
      << Utf8FromText(shown.status);
  ExpectCleanExit();
}

struct ClassSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND candidate, LPARAM searchAddress) {
  auto* search = reinterpret_cast<ClassSearch*>(searchAddress);
  DWORD owner = 0;
  GetWindowThreadProcessId(candidate, &owner);
  wchar_t className[64] = {};
  GetClassNameW(candidate, className, 64);
  if (owner != search->processId || wcscmp(className, search->className) != 0) return TRUE;
  search->found = candidate;
  return FALSE;
}

// A top-level window of the process by its class, hidden ones included.
HWND FindWindowOfClass(DWORD processId, const wchar_t* className) {
  ClassSearch search{processId, className, nullptr};
  EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(Window, ForeignPostsToItsHiddenEventWindowAreIgnored) {
  Start(Quoted(PathOf(L"first.dat")), true);
  const WindowSnapshot report = program->Read();
  HWND hidden = FindWindowOfClass(program->ProcessId(), L"PostEventClass");
  ASSERT_NE(hidden, nullptr);
  const UINT message = RegisterWindowMessageW(L"ZQ_PostEventMessage");
  for (LPARAM lParam : {LPARAM{1}, LPARAM{0x7FFF00001230}, reinterpret_cast<LPARAM>(hidden)}) {
    PostMessageW(hidden, message, 0, lParam);
  }
  // Posted messages are handled in order: once "Clear" has acted, so have the posts.
  program->ClickButton(CLEAR_BUTTON);
  ASSERT_TRUE(program->WaitForChange(report));
  EXPECT_EQ(program->Read().fields, START_LABELS);
  // Under Wine a crashed program hangs in the debugger rather than ending: it must answer.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(program->Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer),
            0);
  ExpectCleanExit();
}

// file_contender.exe working on a file until it is ended.
class Contender {
 public:
  Contender(const wchar_t* mode, const std::wstring& path) {
    std::wstring commandLine = Quoted(CONTENDER) + L" " + mode + L" " + Quoted(path);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(CONTENDER.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
      process = PROCESS_INFORMATION{};
    }
  }
  Contender(const Contender&) = delete;
  Contender& operator=(const Contender&) = delete;
  ~Contender() {
    if (!process.hProcess) return;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  bool Started() const { return process.hProcess != nullptr; }

 private:
  PROCESS_INFORMATION process{};
};

// -1 when there is no such file.
LONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The fixture's name of the version of contended.bin the fields show ("contended.bin+K": K bytes
// appended), "bare" for bare labels, or empty when they show no one version.
std::wstring VersionShown(const std::vector<std::wstring>& fields) {
  if (fields == BareLabels()) return L"bare";
  for (const auto& row : ExpectedDigests()) {
    if (row.first.rfind(L"contended.bin", 0) == 0 && fields == ExpectedFields(row.first)) {
      return row.first;
    }
  }
  return L"";
}

// Shows a fresh copy of contended.bin while a contender works on it, from the moment the window
// is there, so mostly during its eleven passes. Once the window lets go of the file, the contender
// must get in: it was at work all along.
class ContendedWindow : public Window {
 protected:
  static constexpr int ROUNDS = 2;

  void ShowWhileContended(const wchar_t* mode, bool untilDeleted) {
    const std::wstring path = PathOf(std::wstring(L"contended-") + mode + L".bin");
    for (int round = 0; round < ROUNDS; ++round) {
      ASSERT_TRUE(CopyFileW(PathOf(L"contended.bin").c_str(), path.c_str(), FALSE));
      const LONGLONG copied = FileSize(path);
      program = std::make_unique<DrivenProgram>(PROGRAM, Quoted(path));
      ASSERT_TRUE(program->WaitForWindow());
      Contender contender(mode, path);
      ASSERT_TRUE(contender.Started());
      ASSERT_TRUE(program->WaitForReport());
      shown.push_back(VersionShown(program->Read().fields));
      const auto gotIn = [&] {
        return untilDeleted ? FileSize(path) == -1 : FileSize(path) > copied + APPENDED_ROWS;
      };
      // Generous, for a loaded machine: a contender that is never let in fails only at the end.
      const ULONGLONG deadline = GetTickCount64() + 60000;
      while (!gotIn() && GetTickCount64() < deadline) Sleep(20);
      EXPECT_TRUE(gotIn()) << "the contender did not get in once the window let go";
      ExpectCleanExit();
    }
    std::string versions;
    for (const auto& version : shown)
      versions += Utf8FromText(version.empty() ? L"mixed" : version) + " ";
    std::printf("versions shown: %s\n", versions.c_str());
  }
  // Every round shows one version, and at least one round all eleven digests.
  void ExpectOneVersionEachRound() {
    for (const auto& version : shown) EXPECT_NE(version, L"") << "the fields mix versions";
    EXPECT_LT(std::count(shown.begin(), shown.end(), L"bare"), ROUNDS);
  }

  // Appended bytes the fixture has rows for; an appender that gets further shows no known version.
  static constexpr LONGLONG APPENDED_ROWS = 1024;
  std::vector<std::wstring> shown;
};

TEST_F(ContendedWindow, ReportOfAFileBeingAppendedToIsOfOneVersion) {
  ShowWhileContended(L"append", false);
  ExpectOneVersionEachRound();
}

TEST_F(ContendedWindow, ReportOfAFileBeingDeletedIsOfOneVersion) {
  ShowWhileContended(L"delete", true);
  ExpectOneVersionEachRound();
  for (const auto& version : shown) EXPECT_TRUE(version == L"contended.bin" || version == L"bare");
}

TEST_F(Window, IdleWindowSleepsInItsWait) {
  Start(L"", false);
  // Measured from the moment its start-up is over: it waits for input with none queued.
  ASSERT_EQ(WaitForInputIdle(program->Process(), 60000), 0u);
  const ULONGLONG before = ProcessCpuTime(program->ProcessId());
  Sleep(2000);
  const double cpuSeconds = (ProcessCpuTime(program->ProcessId()) - before) / 1e7;
  std::printf("idle CPU over 2 s: %.3f s\n", cpuSeconds);
  RecordProperty("idle_cpu_ms", static_cast<int>(cpuSeconds * 1000));
  // A loop that spins would burn close to the whole two seconds.
  EXPECT_LT(cpuSeconds, 0.5);
  ExpectCleanExit();
}

TEST(Resources, IconGroupVersionAndManifest) {
  HMODULE image = LoadLibraryExW(PROGRAM.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr);
  HRSRC group = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(image, group)));
  for (int size : {64, 48, 32, 16}) {
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC icon = FindResourceW(image, MAKEINTRESOURCEW(id), RT_ICON);
    ASSERT_NE(icon, nullptr) << size;
    auto* header = static_cast<BITMAPINFOHEADER*>(LockResource(LoadResource(image, icon)));
    EXPECT_EQ(header->biWidth, size);
    EXPECT_EQ(header->biBitCount, 32) << size;
  }
  HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                         SizeofResource(image, manifest));
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("longPathAware"), std::string::npos);
  EXPECT_EQ(text.find("dpiAware"), std::string::npos);
  FreeLibrary(image);

  DWORD ignored = 0;
  std::vector<BYTE> version(GetFileVersionInfoSizeW(PROGRAM.c_str(), &ignored));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(PROGRAM.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
  wchar_t* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_STREQ(name, L"Calculate Checksums");
}

}  // namespace
