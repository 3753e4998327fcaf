#include "verify/verify_controller.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>

#include "sums/folder_entries.h"
#include "sums/folder_separator.h"
#include "sums/pasted_digest.h"
#include "sums/replace_file.h"
#include "sums/sums_file_plan.h"
#include "sums/sums_line_writer.h"
#include "toolkit/dropped_files.h"
#include "toolkit/event_queue.h"
#include "toolkit/folder_dialog.h"
#include "toolkit/gadgets.h"
#include "toolkit/message_pump.h"
#include "toolkit/numbered_window.h"
#include "toolkit/open_file_dialog.h"
#include "toolkit/window_shortcuts.h"
#include "verify/check_run.h"
#include "verify/check_view.h"
#include "verify/clipboard.h"
#include "verify/command_line_file.h"
#include "verify/control_numbers.h"
#include "verify/copied_rows.h"
#include "verify/pasted_check.h"
#include "verify/rows_list.h"
#include "verify/sums_file_kind.h"
#include "verify/verify_window.h"

namespace {

// Posted by the run's threads when its outbox has something; never merged with another.
constexpr int32_t EVENT_RUN_POSTED = 0x10100;
constexpr UINT_PTR PROGRESS_TIMER = 1;
constexpr UINT PROGRESS_TICK_MS = 100;
constexpr int32_t PROGRESS_RANGE = 1000;
// How long Cancel waits for a run to stop by itself, so that the rows being judged are kept;
// within the tenth of a second in which a button should answer.
constexpr std::chrono::milliseconds CANCEL_WAIT{50};
constexpr WORD COMMAND_ENTER = 100, COMMAND_ESCAPE = 101, COMMAND_COPY = 102;
const ACCEL SHORTCUTS[] = {{FVIRTKEY | FNOINVERT, VK_RETURN, COMMAND_ENTER},
                           {FVIRTKEY | FNOINVERT, VK_ESCAPE, COMMAND_ESCAPE},
                           {FVIRTKEY | FNOINVERT | FCONTROL, 'C', COMMAND_COPY}};

const wchar_t BOTH_ROADS[] =
    L"Open or drop a sums file to check the files it lists, or choose a file and paste its "
    L"published digest.";
const wchar_t OPEN_TITLE[] = L"Open";
const wchar_t SAVE_TITLE[] = L"Save checksums file as";
const wchar_t FOLDER_TITLE[] = L"Choose a folder to make a checksums file of";
const wchar_t NO_FOLDER[] = L"No folder chosen: no checksums file was made";
const wchar_t FIRST_SAVE_TYPE[] = L"sha256";

// The algorithms "Save as type" offers, SHA-256 first, then the others in the table's order.
AlgorithmList SaveTypes() {
  AlgorithmList types = {FindAlgorithmByName(FIRST_SAVE_TYPE)};
  for (const NamedAlgorithm* algorithm : AllAlgorithms()) {
    if (algorithm != types[0]) types.push_back(algorithm);
  }
  return types;
}

// "SHA-256 (SHA256SUMS)|*.*|MD5 (MD5SUMS)|*.*|...": every file is shown whatever the type.
Text SaveTypeFilter(const SumsFilePlan& plan) {
  Text filter;
  for (const NamedAlgorithm* algorithm : SaveTypes()) {
    if (!filter.empty()) filter += L"|";
    filter +=
        Text(algorithm->displayName) + L" (" + ProposedSumsFileName(plan, *algorithm) + L")|*.*";
  }
  return filter;
}

Text FullPath(const Text& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  Text full(length, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
  return full;
}

bool AskYesNo(const Text& question) {
  return MessageBoxW(WindowHandle(VERIFY_WINDOW), question.c_str(), VERIFY_WINDOW_TITLE,
                     MB_YESNO | MB_ICONWARNING) == IDYES;
}
const wchar_t ALL_FILES[] = L"All Files (*.*)|*.*";

class Controller {
 public:
  void Start(const Text& path) {
    AddWindowShortcuts(VERIFY_WINDOW, SHORTCUTS, sizeof(SHORTCUTS) / sizeof(SHORTCUTS[0]));
    std::vector<Text> createItems;
    if (CommandLineAsksToCreate(createItems)) {
      // The Start menu's entry names nothing: the user chooses a folder.
      if (createItems.empty()) createItems.push_back(AskFolderName(FOLDER_TITLE));
      if (createItems[0].empty()) {
        ShowVerdict({NO_FOLDER, Text(), VerdictColour::NEUTRAL});
      } else {
        StartCreate(createItems);
      }
    } else if (path.empty()) {
      ShowVerdict({BOTH_ROADS, Text(), VerdictColour::NEUTRAL});
    } else {
      OpenPath(path);
    }
    ShowCancelOrClose();
  }

  // False once the window is to close.
  bool Handle(int64_t event) {
    const bool goOn = HandleEvent(event);
    ShowCancelOrClose();
    ShowAddButton();
    return goOn;
  }

 private:
  bool HandleEvent(int64_t event) {
    switch (event) {
      case EVENT_CLOSE_WINDOW:
        return false;
      case EVENT_WINDOW_SIZED:
        LayOutVerifyWindow();
        break;
      case EVENT_WINDOW_DROP:
        TakeDrop(DroppedFilesText());
        break;
      case EVENT_GADGET:
        return OnGadget(CurrentEventGadget(), CurrentEventType());
      case EVENT_MENU:
        return OnCommand(static_cast<WORD>(CurrentEventGadget()));
      case EVENT_TIMER:
        TakeFromRun();
        ShowRunProgress();
        break;
      case EVENT_RUN_POSTED:
        TakeFromRun();
        break;
      default:
        break;
    }
    return true;
  }

  bool Running() const { return run && view.state == RunState::RUNNING; }

  // The last button cancels a run while one goes and otherwise closes the window, saying which.
  void ShowCancelOrClose() {
    if (Running() == cancelShown) return;
    cancelShown = Running();
    ChangeGadgetText(CANCEL_BUTTON, cancelShown ? L"Cancel" : L"Close");
  }

  // "Add N unlisted files", once a sums file's check has ended and found some.
  void ShowAddButton() {
    const size_t count = view.kind == CheckKind::SUMS_FILE && view.state == RunState::DONE
                             ? view.rows.UnlistedNames().size()
                             : 0;
    if (count == addShown) return;
    addShown = count;
    HWND button = VerifyControlHandle(ADD_BUTTON);
    if (count > 0) {
      const Text text =
          L"Add " + GroupedNumber(count) + (count == 1 ? L" unlisted file" : L" unlisted files");
      ChangeGadgetText(ADD_BUTTON, text.c_str());
    } else if (GetFocus() == button) {
      SetFocus(List());
    }
    ShowWindow(button, count > 0 ? SW_SHOW : SW_HIDE);
  }

  // Lines for the unlisted files go after the sums file's last, on the run's thread, and the
  // file is checked again: a failure leaves it as it was and says why under the verdict.
  void AddUnlisted() {
    if (Running() || view.kind != CheckKind::SUMS_FILE) return;
    const Text sumsFile = view.file;
    const std::vector<Text> names = view.rows.UnlistedNames();
    if (names.empty()) return;
    StopRun();
    view.Begin(CheckKind::SUMS_FILE, sumsFile);
    view.adding = names.size();
    StartRun([&](CheckRun& started) { started.AddUnlisted(sumsFile, names); });
  }

  // Making a sums file of files and folders: read for SHA-256, the first type Save As offers.
  void StartCreate(const std::vector<Text>& given) {
    created.clear();
    for (const Text& path : given) {
      const Text full = FullPath(path);
      created.push_back({full, KindOf(full) == EntryKind::FOLDER});
    }
    const NamedAlgorithm& algorithm = *FindAlgorithmByName(FIRST_SAVE_TYPE);
    plan = PlanSumsFile(created, algorithm);
    savePath.clear();
    CreateWith(algorithm);
  }

  void CreateWith(const NamedAlgorithm& algorithm) {
    StopRun();
    oneFile.clear();
    Text shown = created[0].path;
    if (created.size() > 1) shown += L" and " + std::to_wstring(created.size() - 1) + L" more";
    ChangeGadgetText(FILE_BOX, shown.c_str());
    ChangeGadgetText(DIGEST_BOX, L"");
    view.Begin(CheckKind::CREATE, plan.folder, {&algorithm});
    const CreateRequest request{created, plan.folder, &algorithm};
    StartRun([&](CheckRun& started) { started.Create(request); });
  }

  // At the end of a making run: Save As proposes the name; another type chosen reads the files
  // again for it, and the file is then written without asking again.
  void SaveCreated() {
    const RowCounts counts = view.rows.Counts();
    if (counts.unreadable > 0 &&
        !AskYesNo(GroupedNumber(counts.unreadable) +
                  (counts.unreadable == 1 ? L" file" : L" files") +
                  L" could not be read. Save the checksums file without them?")) {
      EndSave(SaveState::NOT_SAVED, plan.fileName, {}, Text());
      return;
    }
    const NamedAlgorithm& algorithm = *view.candidates[0];
    if (savePath.empty() && !AskWhereToSave(algorithm)) return;
    const Text path = savePath;
    savePath.clear();
    const CreatedSumsFile lines =
        CreatedSumsFileLines(view.rows, NameBelowFolder(plan.folder, path));
    Text reason;
    const bool saved = ReplaceFileBytes(path, SumsFileBytes(lines.lines), reason);
    EndSave(saved ? SaveState::SAVED : SaveState::FAILED, FileNamePart(path), lines, reason);
  }

  // False when nothing is to be saved now: the user cancelled, or the files are read again.
  bool AskWhereToSave(const NamedAlgorithm& algorithm) {
    int32_t type = 0;
    const Text proposed = plan.folder + plan.fileName;
    const Text path =
        AskSaveFileName(SAVE_TITLE, proposed.c_str(), SaveTypeFilter(plan).c_str(), type);
    if (path.empty()) {
      EndSave(SaveState::NOT_SAVED, plan.fileName, {}, Text());
      return false;
    }
    const AlgorithmList types = SaveTypes();
    const NamedAlgorithm& chosen = *types[static_cast<size_t>(type) < types.size() ? type : 0];
    savePath = NameForChosenAlgorithm(path, plan, chosen);
    // The dialog asked about the name it showed; a name changed for the type is asked here.
    if (savePath != path && KindOf(savePath) != EntryKind::MISSING &&
        !AskYesNo(FileNamePart(savePath) + L" already exists. Replace it?")) {
      savePath.clear();
      EndSave(SaveState::NOT_SAVED, plan.fileName, {}, Text());
      return false;
    }
    if (&chosen == &algorithm) return true;
    // The digests read are SHA-256 alone: reading again for the one chosen keeps the usual run
    // as fast as the companion's, where computing every type at once would not.
    plan.fileName = ProposedSumsFileName(plan, chosen);
    CreateWith(chosen);
    return false;
  }

  void EndSave(SaveState state, const Text& fileName, const CreatedSumsFile& lines,
               const Text& reason) {
    view.save = {state, fileName, lines.lines.size(), lines.unreadable, reason};
    ShowVerdict(view.CurrentVerdict());
  }

  void OpenPath(const Text& path) {
    StopRun();
    savePath.clear();
    oneFile.clear();
    ChangeGadgetText(FILE_BOX, path.c_str());
    ChangeGadgetText(DIGEST_BOX, L"");
    if (IsSumsFile(path)) {
      view.Begin(CheckKind::SUMS_FILE, path);
      StartRun([&](CheckRun& started) { started.CheckSumsFile(path); });
      return;
    }
    oneFile = path;
    view.Begin(CheckKind::NONE, path);
    ShowRows(List(), nullptr);
    ShowVerdict(PastePromptVerdict(FileNamePart(path), Text(), Text()));
    SetFocus(VerifyControlHandle(DIGEST_BOX));
    PastedDigest digest;
    Text problem;
    const Text clipboard = ClipboardText(VerifyControlHandle(DIGEST_BOX));
    if (ReadPastedDigest(clipboard, digest, problem)) {
      ChangeGadgetText(DIGEST_BOX, clipboard.c_str());
      CheckPastedText();
    }
  }

  void TakeDrop(const Text& names) {
    const Text first = names.substr(0, names.find(L'\n'));
    if (first.empty()) return;
    if (!oneFile.empty() && !IsSumsFile(first)) {
      CompareWith(first);
    } else {
      OpenPath(first);
    }
  }

  void CompareWith(const Text& second) {
    StopRun();
    view.Begin(CheckKind::TWO_FILES, oneFile);
    ChangeGadgetText(DIGEST_BOX, second.c_str());
    StartRun([&](CheckRun& started) { started.CompareFiles(oneFile, second); });
  }

  void CheckPastedText() {
    if (oneFile.empty()) return;
    const Text text = GadgetText(DIGEST_BOX);
    PastedDigest digest;
    Text problem;
    if (!ReadPastedDigest(text, digest, problem)) {
      StopRun();
      view.Begin(CheckKind::NONE, oneFile);
      ShowRows(List(), nullptr);
      ShowVerdict(PastePromptVerdict(FileNamePart(oneFile), text, problem));
      return;
    }
    StopRun();
    const AlgorithmList candidates = CandidateAlgorithms(digest);
    view.Begin(CheckKind::PASTED_DIGEST, oneFile, candidates);
    StartRun([&](CheckRun& started) { started.CheckDigest(oneFile, candidates, digest.hex); });
  }

  // False when the window is to close.
  bool OnGadget(int64_t gadget, int64_t type) {
    if (gadget == DIGEST_BOX && type == EN_CHANGE) CheckPastedText();
    if (type != BN_CLICKED) return true;
    if (gadget == OPEN_BUTTON) {
      const Text path = AskOpenFileName(OPEN_TITLE, nullptr, ALL_FILES, 0);
      if (!path.empty()) OpenPath(path);
    }
    if (gadget == COMPARE_BUTTON && !oneFile.empty()) {
      const Text path = AskOpenFileName(OPEN_TITLE, nullptr, ALL_FILES, 0);
      if (!path.empty()) CompareWith(path);
    }
    if (gadget == COPY_BUTTON) Copy();
    if (gadget == ADD_BUTTON) AddUnlisted();
    if (gadget == CANCEL_BUTTON) return CancelOrClose();
    return true;
  }

  // Escape and the last button: a run going is cancelled, and with none the window closes.
  bool CancelOrClose() {
    if (!Running()) return false;
    run->Cancel();
    if (run->WaitForEnd(CANCEL_WAIT)) {
      TakeFromRun();
    } else {
      LetGoOfRun();  // a read that does not return
    }
    return true;
  }

  // The run is left to end by itself; what it posted is shown, the rows not reached not checked.
  void LetGoOfRun() {
    view.EndCancelled(run->Take());
    StopRun();
    ShowRows(List(), &view.rows);
    ShowVerdict(view.CurrentVerdict());
    ShowProgress(PROGRESS_RANGE, Text());
  }

  bool OnCommand(WORD command) {
    HWND focus = GetFocus();
    if (command == COMMAND_ESCAPE) return CancelOrClose();
    if (command == COMMAND_COPY) {
      if (focus == VerifyControlHandle(DIGEST_BOX) || focus == VerifyControlHandle(FILE_BOX)) {
        SendMessageW(focus, WM_COPY, 0, 0);
      } else {
        Copy();
      }
    }
    if (command == COMMAND_ENTER) {
      if (focus == VerifyControlHandle(DIGEST_BOX)) {
        CheckPastedText();
      } else if (focus && GetParent(focus) == WindowHandle(VERIFY_WINDOW) && focus != List()) {
        SendMessageW(focus, BM_CLICK, 0, 0);
      }
    }
    return true;
  }

  void Copy() {
    const Text text = CopiedRowsText(view.rows, SelectedRows(List()));
    if (!text.empty()) PutTextOnClipboard(WindowHandle(VERIFY_WINDOW), text);
  }

  // The run is started before the window shows it, so that its threads need not wait for drawing.
  void StartRun(const std::function<void(CheckRun&)>& start) {
    run = std::make_unique<CheckRun>(
        [] { PostEventFromAnotherThread(EVENT_RUN_POSTED, 0, VERIFY_WINDOW, 0, nullptr); });
    start(*run);
    SetTimer(WindowHandle(VERIFY_WINDOW), PROGRESS_TIMER, PROGRESS_TICK_MS, nullptr);
    ShowRows(List(), nullptr);
    ShowProgress(0, Text());
    ShowVerdict(view.CurrentVerdict());
  }

  void StopRun() {
    run.reset();
    KillTimer(WindowHandle(VERIFY_WINDOW), PROGRESS_TIMER);
    // What a cancelled run posted is not for the next one.
    RemoveQueuedEvents(EVENT_RUN_POSTED, ANY_EVENT_FIELD, ANY_EVENT_FIELD, ANY_EVENT_FIELD);
  }

  // Woken by the run at its listing and its end; the rows done between come with the progress
  // timer's ticks, so that many small files cost a redraw a tick, not one a file.
  void TakeFromRun() {
    if (!run) return;
    RunOutbox outbox = run->Take();
    if (outbox.Empty()) return;
    const bool finished = outbox.finished;
    // Listing gives the rows and the end reorders them; between, rows only change.
    const bool allRows = outbox.listing != nullptr || !outbox.found.empty() || finished;
    size_t first = SIZE_MAX, last = 0;
    for (const RowUpdate& update : outbox.updates) {
      first = std::min(first, update.index);
      last = std::max(last, update.index);
    }
    try {
      view.Apply(std::move(outbox));
    } catch (const std::bad_alloc&) {
      view.outOfMemory = true;  // the rows shown so far stay
      LetGoOfRun();
      return;
    }
    if (allRows) {
      ShowRows(List(), &view.rows);
    } else {
      ShowChangedRows(List(), first, last);
    }
    ShowVerdict(view.CurrentVerdict());
    if (finished) {
      KillTimer(WindowHandle(VERIFY_WINDOW), PROGRESS_TIMER);
      ShowRunProgress();
      if (view.kind == CheckKind::CREATE && view.state == RunState::DONE) SaveCreated();
    }
  }

  void ShowRunProgress() {
    if (!run) return;
    const RunProgress progress = run->Progress();
    int32_t permille = PROGRESS_RANGE;
    if (view.state == RunState::RUNNING && progress.bytesTotal > 0) {
      permille = static_cast<int32_t>(std::min<uint64_t>(
          PROGRESS_RANGE, progress.bytesDone * PROGRESS_RANGE / progress.bytesTotal));
    } else if (view.state == RunState::RUNNING) {
      permille = 0;
    }
    Text current;
    if (!progress.current.empty()) {
      current = L"Reading " + progress.current;
      if (progress.currentSize > 0) {
        current +=
            L": " + std::to_wstring(progress.currentDone * 100 / progress.currentSize) + L" %";
      }
    }
    ShowProgress(permille, current);
  }

  HWND List() const { return VerifyControlHandle(ROWS_LIST); }

  static Text GadgetText(int32_t number) {
    HWND control = VerifyControlHandle(number);
    Text text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  CheckView view;
  Text oneFile;  // the file a digest is pasted for, or a second file compared with
  std::unique_ptr<CheckRun> run;
  std::vector<SumsFileItem> created;  // the files and folders a sums file is made of
  SumsFilePlan plan;
  Text savePath;  // chosen for a second read in another algorithm: saved to without asking
  bool cancelShown = true;  // the button's text says Cancel
  size_t addShown = 0;      // the unlisted files the Add button offers; hidden at 0
};

}  // namespace

void RunVerifyWindow() {
  Controller controller;
  controller.Start(CommandLineFile());
  while (controller.Handle(WaitForEvent(-1))) {
  }
}
