#pragma once
// Small owners for what the toolkit must give back: each releases its resource when it goes out
// of scope, so no return path forgets it.
#include <windows.h>

#include "runtime/main_heap.h"
#include "toolkit/event_queue.h"

// Holds events back while the program changes a control itself.
class EventSuppression {
 public:
  EventSuppression() { RaiseEventSuppression(); }
  ~EventSuppression() { LowerEventSuppression(); }
  EventSuppression(const EventSuppression&) = delete;
  EventSuppression& operator=(const EventSuppression&) = delete;
};

// A library loaded by name, freed again at the end of the scope.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
  ~LoadedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  template <typename Function>
  Function Find(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

// A lock on a global memory block, undone at the end of the scope.
class GlobalMemoryLock {
 public:
  explicit GlobalMemoryLock(HGLOBAL block) : block_(block), bytes_(GlobalLock(block)) {}
  ~GlobalMemoryLock() {
    if (bytes_) GlobalUnlock(block_);
  }
  GlobalMemoryLock(const GlobalMemoryLock&) = delete;
  GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;

  void* Bytes() const { return bytes_; }

 private:
  HGLOBAL block_;
  void* bytes_;
};

// A block of the main heap, released at the end of the scope unless Take() hands it on.
template <typename T>
class MainHeapBlock {
 public:
  explicit MainHeapBlock(size_t size) : block_(static_cast<T*>(AllocateFromMainHeap(size))) {}
  ~MainHeapBlock() { ReleaseToMainHeap(block_); }
  MainHeapBlock(const MainHeapBlock&) = delete;
  MainHeapBlock& operator=(const MainHeapBlock&) = delete;

  T* Get() const { return block_; }
  T* Take() {
    T* block = block_;
    block_ = nullptr;
    return block;
  }

 private:
  T* block_;
};
