// The drop target under real OLE: registered on a real toolkit window, driven through its
// IDropTarget interface with real data objects, and once through a real DoDragDrop.
#include "toolkit/drop_support.h"

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/main_heap.h"
#include "tests/support/file_drag.h"
#include "toolkit/drop_target.h"
#include "toolkit/dropped_files.h"
#include "toolkit/event_queue.h"
#include "toolkit/message_pump.h"
#include "toolkit/gadgets.h"
#include "toolkit/numbered_window.h"
#include "tests/toolkit/toolkit_test_support.h"

namespace {

constexpr ObjectNumber WINDOW = 0;
constexpr DWORD EVERY_EFFECT = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
constexpr POINTL NOWHERE = {0, 0};

class ToolkitEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    StartToolkitLibraries();
    StartDropSupport();
  }
  void TearDown() override {
    StopDropSupport();
    StopGadgets();
    StopWindows();
    StopEventSystem();
  }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

// How a ScriptedData object answers GetData: its block, a failure, or a stream in its place.
enum class Answer { BLOCK, FAILURE, STREAM };

// A data object offering one format with a block it keeps (and, when asked to, a second format
// with the same block), handing it out with itself as the medium's releaser, so that the test
// sees every medium given back. It notes the formats it is asked about.
class ScriptedData : public IDataObject {
 public:
  ScriptedData(CLIPFORMAT format, HGLOBAL block, Answer answer, CLIPFORMAT alsoOffered = 0)
      : format_(format), alsoOffered_(alsoOffered), block_(block), answer_(answer) {}
  ~ScriptedData() { GlobalFree(block_); }

  int MediaOut() const { return mediaOut_; }
  UINT BlockLocks() const { return GlobalFlags(block_) & GMEM_LOCKCOUNT; }
  const std::vector<CLIPFORMAT>& Asked() const { return asked_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = (iid == IID_IUnknown || iid == IID_IDataObject) ? this : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  // Lives on the test's stack; the count tracks the media handed out.
  ULONG STDMETHODCALLTYPE AddRef() override { return ++mediaOut_; }
  ULONG STDMETHODCALLTYPE Release() override { return --mediaOut_; }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!Offers(*format) || answer_ == Answer::FAILURE) return DV_E_FORMATETC;
    if (answer_ == Answer::STREAM) {
      // The stream is the medium's own: giving the medium back releases it.
      medium->tymed = TYMED_ISTREAM;
      if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &medium->pstm))) return E_OUTOFMEMORY;
    } else {
      medium->tymed = TYMED_HGLOBAL;
      medium->hGlobal = block_;
    }
    medium->pUnkForRelease = this;
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    asked_.push_back(format->cfFormat);
    return Offers(*format) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  bool Offers(const FORMATETC& format) const {
    const CLIPFORMAT asked = format.cfFormat;
    const bool offered = asked == format_ || (alsoOffered_ && asked == alsoOffered_);
    return offered && (format.tymed & TYMED_HGLOBAL);
  }

  CLIPFORMAT format_;
  CLIPFORMAT alsoOffered_;
  HGLOBAL block_;  // ours
  Answer answer_;
  int mediaOut_ = 0;
  std::vector<CLIPFORMAT> asked_;
};

HGLOBAL GlobalCopy(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  return block;
}

HGLOBAL TextBlock(const std::wstring& text) {
  return GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// A DROPFILES header followed by raw name bytes, sound or not.
HGLOBAL RawFileList(DWORD namesOffset, BOOL wide, const std::string& nameBytes) {
  DROPFILES header{};
  header.pFiles = namesOffset;
  header.fWide = wide;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  bytes += nameBytes;
  return GlobalCopy(bytes.data(), bytes.size());
}

std::string WideBytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// A real shell-style file list data object, released at the end of the scope.
class FileList {
 public:
  explicit FileList(const std::vector<std::wstring>& paths)
      : data_(NewFileListData(MakeFileListBlock(paths))) {}
  ~FileList() { data_->Release(); }
  IDataObject* Get() const { return data_; }

 private:
  IDataObject* data_;
};

IDropTarget* RegisteredTarget() {
  return static_cast<IDropTarget*>(GetPropW(WindowHandle(WINDOW), L"ZQ_DropAccept"));
}

WindowDropTarget* TargetRecord() {
  return static_cast<WindowDropTarget*>(GetPropW(WindowHandle(WINDOW), L"ZQ_DropAccept"));
}

struct Effects {
  DWORD enter, over, drop;
};

// One whole drag over the window: enter, move, drop, with the same keys throughout.
Effects DragOnto(IDataObject* data, DWORD offered, DWORD keys) {
  IDropTarget* target = RegisteredTarget();
  Effects effects{offered, offered, offered};
  EXPECT_EQ(target->DragEnter(data, keys, NOWHERE, &effects.enter), S_OK);
  EXPECT_EQ(target->DragOver(keys, NOWHERE, &effects.over), S_OK);
  EXPECT_EQ(target->Drop(data, keys, NOWHERE, &effects.drop), S_OK);
  return effects;
}

// The dropped text after the drop event has become the current one.
Text TextOfQueuedDrop() {
  EXPECT_EQ(NextQueuedEvent(), EVENT_WINDOW_DROP);
  EXPECT_EQ(CurrentEventWindow(), WINDOW);
  return DroppedFilesText();
}

class DropTargetTest : public testing::Test {
 protected:
  void SetUp() override {
    OpenNumberedWindow(WINDOW, 100, 100, 400, 300, L"Drop target test", WS_CAPTION | WS_SYSMENU);
    PumpEvents();
    heapWithWindow = MainHeapBytesInUse();
  }
  void TearDown() override {
    CloseNumberedWindow(WINDOW);
    PumpEvents();
  }

  size_t heapWithWindow = 0;
};

TEST_F(DropTargetTest, ALinkOnlyWindowLinksWhateverTheKeysAndQueuesOneDrop) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  ASSERT_NE(RegisteredTarget(), nullptr);
  FileList files({L"C:\\data\\report.txt"});
  const std::vector<DWORD> keyStates{0, MK_LBUTTON | MK_SHIFT, MK_CONTROL, MK_CONTROL | MK_SHIFT,
                                     MK_ALT};
  for (DWORD keys : keyStates) {
    SCOPED_TRACE(keys);
    const Effects effects = DragOnto(files.Get(), EVERY_EFFECT, keys);
    EXPECT_EQ(effects.enter, DROPEFFECT_LINK);
    EXPECT_EQ(effects.over, DROPEFFECT_LINK);
    EXPECT_EQ(effects.drop, DROPEFFECT_LINK);
    EXPECT_EQ(TextOfQueuedDrop(), L"C:\\data\\report.txt");
    EXPECT_EQ(CurrentEventGadget(), 0);
    EXPECT_EQ(CurrentEventType(), 0);
    EXPECT_EQ(NextQueuedEvent(), 0);
  }
}

TEST_F(DropTargetTest, ASourceThatCannotLinkIsRefusedAndItsDropQueuesNothing) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  FileList files({L"C:\\data\\report.txt"});
  const std::vector<DWORD> withoutLink{DROPEFFECT_COPY, DROPEFFECT_MOVE,
                                       DROPEFFECT_COPY | DROPEFFECT_MOVE};
  for (DWORD offered : withoutLink) {
    SCOPED_TRACE(offered);
    const Effects effects = DragOnto(files.Get(), offered, 0);
    EXPECT_EQ(effects.enter, DROPEFFECT_NONE);
    EXPECT_EQ(effects.over, DROPEFFECT_NONE);
    EXPECT_EQ(effects.drop, DROPEFFECT_NONE);
  }
  EXPECT_TRUE(TakeQueuedEvents().empty());
}

TEST_F(DropTargetTest, TextWithoutAFileListIsRefused) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  ScriptedData text(CF_UNICODETEXT, TextBlock(L"just text"), Answer::BLOCK);
  const Effects effects = DragOnto(&text, EVERY_EFFECT, 0);
  EXPECT_EQ(effects.enter, DROPEFFECT_NONE);
  EXPECT_EQ(effects.drop, DROPEFFECT_NONE);
  EXPECT_TRUE(TakeQueuedEvents().empty());
  EXPECT_EQ(text.MediaOut(), 0);
}

TEST_F(DropTargetTest, CopyAndMoveFollowTheKeysWhenLinkIsNotAllowed) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_COPY | DROPEFFECT_MOVE);
  FileList files({L"C:\\a.txt"});
  const struct {
    DWORD keys;
    DWORD effect;
  } cases[] = {
      {0, DROPEFFECT_COPY},
      {MK_SHIFT, DROPEFFECT_MOVE},
      {MK_LBUTTON | MK_SHIFT, DROPEFFECT_MOVE},  // mouse buttons do not count
      {MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY},
      {MK_ALT, DROPEFFECT_COPY},
  };
  for (const auto& expected : cases) {
    SCOPED_TRACE(expected.keys);
    const Effects effects = DragOnto(files.Get(), EVERY_EFFECT, expected.keys);
    EXPECT_EQ(effects.enter, expected.effect);
    EXPECT_EQ(effects.drop, expected.effect);
    EXPECT_EQ(TextOfQueuedDrop(), L"C:\\a.txt");
  }
  // A source offering only a move gets a move whatever the keys.
  EXPECT_EQ(DragOnto(files.Get(), DROPEFFECT_MOVE, 0).drop, DROPEFFECT_MOVE);
  EXPECT_EQ(TextOfQueuedDrop(), L"C:\\a.txt");
}

TEST(DropEffect, TheLinkKeysLinkWhereverLinkIsAllowed) {
  constexpr DWORD COPY_MOVE_LINK = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  constexpr DWORD MOVE_LINK = DROPEFFECT_MOVE | DROPEFFECT_LINK;
  constexpr DWORD COPY_LINK = DROPEFFECT_COPY | DROPEFFECT_LINK;
  const struct {
    DWORD allowed, keys, effect;
  } cases[] = {
      {COPY_MOVE_LINK, 0, DROPEFFECT_COPY},
      {COPY_MOVE_LINK, MK_SHIFT, DROPEFFECT_MOVE},
      {COPY_MOVE_LINK, MK_CONTROL, DROPEFFECT_COPY},
      {COPY_MOVE_LINK, MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK},
      {COPY_MOVE_LINK, MK_ALT, DROPEFFECT_LINK},
      {COPY_MOVE_LINK, MK_ALT | MK_SHIFT, DROPEFFECT_COPY},  // exactly Alt links, no more
      {COPY_MOVE_LINK, MK_CONTROL | MK_SHIFT | MK_ALT, DROPEFFECT_COPY},
      {MOVE_LINK, 0, DROPEFFECT_MOVE},
      {MOVE_LINK, MK_ALT | MK_RBUTTON, DROPEFFECT_LINK},
      {COPY_LINK, MK_SHIFT, DROPEFFECT_COPY},
      {COPY_LINK, MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK},
  };
  for (const auto& expected : cases) {
    SCOPED_TRACE(testing::Message() << expected.allowed << " " << expected.keys);
    EXPECT_EQ(ChooseDropEffect(COPY_MOVE_LINK, expected.allowed, expected.keys), expected.effect);
  }
}

TEST_F(DropTargetTest, DragEnterAsksOnlyAboutFormatsThatAllowWhatIsOffered) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  AcceptWindowDrops(WINDOW, CF_UNICODETEXT, DROPEFFECT_COPY);  // the newer entry: tried first
  ScriptedData both(CF_HDROP, MakeFileListBlock({L"C:\\a.txt"}), Answer::BLOCK, CF_UNICODETEXT);
  EXPECT_EQ(DragOnto(&both, DROPEFFECT_LINK, 0).drop, DROPEFFECT_LINK);
  EXPECT_EQ(both.Asked(), std::vector<CLIPFORMAT>{CF_HDROP});
  EXPECT_EQ(TextOfQueuedDrop(), L"C:\\a.txt");
  // Offered copy too, the newer entry is asked and matches.
  EXPECT_EQ(DragOnto(&both, DROPEFFECT_LINK | DROPEFFECT_COPY, 0).drop, DROPEFFECT_COPY);
  EXPECT_EQ(both.Asked(), (std::vector<CLIPFORMAT>{CF_HDROP, CF_UNICODETEXT}));
  EXPECT_EQ(TextOfQueuedDrop(), L"") << "a drop of text, not of files";
}

TEST_F(DropTargetTest, ADropTheQueueDoesNotKeepIsRefused) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  const size_t heapWithTarget = MainHeapBytesInUse();
  FileList first({L"C:\\first.txt"});
  FileList second({L"C:\\second.txt"});
  RaiseEventSuppression();
  EXPECT_EQ(DragOnto(first.Get(), EVERY_EFFECT, 0).drop, DROPEFFECT_NONE) << "suppressed";
  LowerEventSuppression();
  EXPECT_EQ(DragOnto(first.Get(), EVERY_EFFECT, 0).drop, DROPEFFECT_LINK);
  EXPECT_EQ(DragOnto(second.Get(), EVERY_EFFECT, 0).drop, DROPEFFECT_NONE) << "merged";
  EXPECT_EQ(TextOfQueuedDrop(), L"C:\\first.txt");
  EXPECT_EQ(NextQueuedEvent(), 0);
  EXPECT_EQ(MainHeapBytesInUse(), heapWithTarget);
}

TEST_F(DropTargetTest, DroppedPathsComeBackJoinedByLineFeedsUntilAnotherEvent) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  FileList files({L"C:\\one.txt", L"D:\\deep\\two words.bin", L"E:\\\u00e9t\u00e9\\\u6587.txt"});
  EXPECT_EQ(DragOnto(files.Get(), EVERY_EFFECT, 0).drop, DROPEFFECT_LINK);
  ASSERT_EQ(WaitForEvent(0), EVENT_WINDOW_DROP);
  EXPECT_EQ(DroppedFilesText(),
            L"C:\\one.txt\nD:\\deep\\two words.bin\nE:\\\u00e9t\u00e9\\\u6587.txt");
  EXPECT_EQ(DroppedFilesText(), DroppedFilesText());  // reading leaves the data in place

  PostToolkitEvent(EVENT_TIMER, 1, WINDOW, 0, nullptr, nullptr, 0);
  ASSERT_EQ(WaitForEvent(0), EVENT_TIMER);
  EXPECT_EQ(DroppedFilesText(), L"");
}

TEST_F(DropTargetTest, TheDropRecordIsReleasedAtTheNextWait) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  const size_t heapWithTarget = MainHeapBytesInUse();
  FileList files({L"C:\\one.txt", L"C:\\two.txt"});
  DragOnto(files.Get(), EVERY_EFFECT, 0);
  ASSERT_EQ(WaitForEvent(0), EVENT_WINDOW_DROP);
  EXPECT_GT(MainHeapBytesInUse(), heapWithTarget);
  EXPECT_EQ(DroppedFilesText(), L"C:\\one.txt\nC:\\two.txt");
  WaitForEvent(0);
  TakeQueuedEvents();
  EXPECT_EQ(MainHeapBytesInUse(), heapWithTarget);
}

TEST_F(DropTargetTest, EveryFailureInDropRefusesItQueuesNothingAndGivesTheMediumBack) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  const size_t heapWithTarget = MainHeapBytesInUse();
  for (Answer answer : {Answer::FAILURE, Answer::STREAM}) {
    ScriptedData data(CF_HDROP, MakeFileListBlock({L"C:\\a.txt"}), answer);
    const Effects effects = DragOnto(&data, EVERY_EFFECT, 0);
    EXPECT_EQ(effects.enter, DROPEFFECT_LINK);  // the format is offered...
    EXPECT_EQ(effects.drop, DROPEFFECT_NONE);   // ...but never delivered as global memory
    EXPECT_EQ(data.MediaOut(), 0);
    EXPECT_EQ(data.BlockLocks(), 0u);
  }
  EXPECT_TRUE(TakeQueuedEvents().empty());
  EXPECT_EQ(MainHeapBytesInUse(), heapWithTarget);
}

TEST_F(DropTargetTest, AFileListThatOverrunsItsBlockGivesNoNamesAndASoundOneDoes) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  const DWORD names = sizeof(DROPFILES);
  const struct {
    const char* what;
    HGLOBAL block;
    const wchar_t* text;
  } cases[] = {
      {"names past the block", RawFileList(4096, TRUE, WideBytes(std::wstring(L"C:\\a\0\0", 6))),
       L""},
      {"no end of list", RawFileList(names, TRUE, WideBytes(std::wstring(L"C:\\a\0B", 6))), L""},
      {"name without end", RawFileList(names, TRUE, WideBytes(L"C:\\abc")), L""},
      {"empty list", RawFileList(names, TRUE, WideBytes(std::wstring(1, L'\0'))), L""},
      {"header cut short", GlobalCopy("\x14\0\0", 3), L""},
      {"narrow names", RawFileList(names, FALSE, std::string("C:\\x.txt\0D:\\y\0\0", 16)),
       L"C:\\x.txt\nD:\\y"},
      {"names before the end", RawFileList(names, TRUE, WideBytes(std::wstring(L"C:\\a\0\0Z", 7))),
       L"C:\\a"},
  };
  for (const auto& sample : cases) {
    SCOPED_TRACE(sample.what);
    ScriptedData data(CF_HDROP, sample.block, Answer::BLOCK);
    EXPECT_EQ(DragOnto(&data, EVERY_EFFECT, 0).drop, DROPEFFECT_LINK);
    EXPECT_EQ(TextOfQueuedDrop(), sample.text);
  }
}

TEST_F(DropTargetTest, WithdrawingTheOnlyFormatUnregistersTheWindowAndFreesItsTarget) {
  HWND window = WindowHandle(WINDOW);
  AcceptWindowDrops(WINDOW, 0, DROPEFFECT_LINK);    // format 0 is nothing to accept
  AcceptWindowDrops(7, CF_HDROP, DROPEFFECT_LINK);  // nor is a window that is not open
  EXPECT_EQ(RegisteredTarget(), nullptr);
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  ASSERT_NE(RegisteredTarget(), nullptr);
  AcceptWindowDrops(WINDOW, CF_HDROP, 0);
  EXPECT_EQ(RegisteredTarget(), nullptr);
  EXPECT_EQ(MainHeapBytesInUse(), heapWithWindow);
  // OLE no longer knows the window as a drop target.
  WindowDropTarget* probe = NewWindowDropTarget(WINDOW, window);
  EXPECT_EQ(RegisterDragDrop(window, AsDropTarget(probe)), S_OK);
  RevokeDragDrop(window);
  AsDropTarget(probe)->Release();
  EXPECT_EQ(MainHeapBytesInUse(), heapWithWindow);
}

TEST_F(DropTargetTest, AcceptingTheSameFormatTwiceKeepsOneEntryAndOneRegistration) {
  HWND window = WindowHandle(WINDOW);
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_COPY);
  WindowDropTarget* target = TargetRecord();
  const int32_t references = target->references;
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  EXPECT_EQ(TargetRecord(), target);
  EXPECT_EQ(target->references, references);
  ASSERT_NE(target->formats, nullptr);
  EXPECT_EQ(target->formats->next, nullptr);
  EXPECT_EQ(target->formats->actions, DROPEFFECT_LINK);  // the newer mask wins
  EXPECT_EQ(RegisterDragDrop(window, RegisteredTarget()), DRAGDROP_E_ALREADYREGISTERED);
  // One withdrawal frees everything: no second registration holds the target.
  AcceptWindowDrops(WINDOW, CF_HDROP, 0);
  EXPECT_EQ(MainHeapBytesInUse(), heapWithWindow);
}

TEST_F(DropTargetTest, AWindowRegisteredByAnotherTargetIsTakenOver) {
  HWND window = WindowHandle(WINDOW);
  WindowDropTarget* other = NewWindowDropTarget(WINDOW, window);
  ASSERT_EQ(RegisterDragDrop(window, AsDropTarget(other)), S_OK);
  AsDropTarget(other)->Release();  // OLE holds the only reference
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  ASSERT_NE(RegisteredTarget(), nullptr);
  EXPECT_NE(TargetRecord(), other);
  // Withdrawing frees ours; the other one went when it was revoked.
  AcceptWindowDrops(WINDOW, CF_HDROP, 0);
  EXPECT_EQ(MainHeapBytesInUse(), heapWithWindow);
}

TEST_F(DropTargetTest, QueryInterfaceGivesTheTargetForItsTwoInterfacesOnly) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  IDropTarget* target = RegisteredTarget();
  const int32_t references = TargetRecord()->references;
  const struct {
    const IID* id;
    HRESULT result;
  } cases[] = {
      {&IID_IUnknown, S_OK},
      {&IID_IDropTarget, S_OK},
      {&IID_IDataObject, E_NOINTERFACE},
      {&IID_IDropSource, E_NOINTERFACE},
  };
  for (const auto& expected : cases) {
    SCOPED_TRACE(expected.result);
    void* out = &out;  // must be overwritten either way
    EXPECT_EQ(target->QueryInterface(*expected.id, &out), expected.result);
    const bool given = expected.result == S_OK;
    EXPECT_EQ(out, given ? static_cast<void*>(target) : nullptr);
    EXPECT_EQ(TargetRecord()->references, references + (given ? 1 : 0));
    if (given) target->Release();
  }
  EXPECT_EQ(target->QueryInterface(IID_IDropTarget, nullptr), E_INVALIDARG);
  EXPECT_EQ(TargetRecord()->references, references);
}

TEST_F(DropTargetTest, TheTextFormatStandsForAllThreeAndTheNewestIsTriedFirst) {
  AcceptWindowDrops(WINDOW, CF_TEXT, DROPEFFECT_COPY);
  std::vector<int32_t> formats;
  for (const DropFormatEntry* entry = TargetRecord()->formats; entry; entry = entry->next) {
    formats.push_back(entry->format);
  }
  EXPECT_EQ(formats, (std::vector<int32_t>{CF_UNICODETEXT, CF_OEMTEXT, CF_TEXT}));
  // Text arrives as a drop, but names no files.
  ScriptedData text(CF_UNICODETEXT, TextBlock(L"C:\\not\\a\\file\\list"), Answer::BLOCK);
  EXPECT_EQ(DragOnto(&text, DROPEFFECT_COPY, 0).drop, DROPEFFECT_COPY);
  EXPECT_EQ(TextOfQueuedDrop(), L"");
  EXPECT_EQ(text.MediaOut(), 0);
  EXPECT_EQ(text.BlockLocks(), 0u);
  AcceptWindowDrops(WINDOW, CF_TEXT, 0);
  EXPECT_EQ(RegisteredTarget(), nullptr);
  NextQueuedEvent();  // gives the drop's record back
  EXPECT_EQ(MainHeapBytesInUse(), heapWithWindow);
}

TEST_F(DropTargetTest, ClosingTheWindowFreesItsTarget) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  CloseNumberedWindow(WINDOW);
  PumpEvents();
  OpenNumberedWindow(WINDOW, 100, 100, 400, 300, L"Drop target test", WS_CAPTION | WS_SYSMENU);
  PumpEvents();
  EXPECT_EQ(RegisteredTarget(), nullptr);
  EXPECT_EQ(MainHeapBytesInUse(), heapWithWindow);
}

TEST_F(DropTargetTest, ARealDragAndDropReachesTheWindow) {
  AcceptWindowDrops(WINDOW, CF_HDROP, DROPEFFECT_LINK);
  SetWindowTopmost(WINDOW, 1);
  RECT client{};
  GetClientRect(WindowHandle(WINDOW), &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ClientToScreen(WindowHandle(WINDOW), &centre);
  EXPECT_EQ(DragFilesTo(centre, {L"C:\\dragged\\file.iso"}), DROPEFFECT_LINK);
  EXPECT_EQ(TextOfQueuedDrop(), L"C:\\dragged\\file.iso");
}

}  // namespace
