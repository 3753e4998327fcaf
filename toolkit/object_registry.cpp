#include "toolkit/object_registry.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/main_heap.h"

namespace {

bool IsSlotNumber(const ObjectTable* table, ObjectNumber number) {
  return number >= 0 && number < table->capacity;
}

bool IsLive(const void* record) {
  return record && static_cast<const ObjectRecordHead*>(record)->handle;
}

void* RecordOfLinks(AnyRecordLinks* links) {
  return links + 1;
}

// The list entry whose record has this address, found by walking the list, so that a number
// which is no record of ours is never dereferenced.
AnyRecordLinks* FindAnyRecord(const ObjectTable* table, ObjectNumber number) {
  for (AnyRecordLinks* links = table->anyRecords; links; links = links->older) {
    if (NumberOfAnyRecord(RecordOfLinks(links)) == number) return links;
  }
  return nullptr;
}

void* ObtainAnyRecord(ObjectTable* table) {
  auto* links = static_cast<AnyRecordLinks*>(
      AllocateFromMainHeap(sizeof(AnyRecordLinks) + static_cast<size_t>(table->recordSize)));
  if (!links) return nullptr;
  links->older = table->anyRecords;
  if (links->older) links->older->newer = links;
  table->anyRecords = links;
  return RecordOfLinks(links);
}

// The most slots whose array size in bytes still fits a signed size.
constexpr int64_t MAX_SLOTS = PTRDIFF_MAX / static_cast<int64_t>(sizeof(void*));

// Refuses a number whose slot array cannot be sized. From 2^61 less the grow step the size in
// bytes would wrap, to a small array in which the number's slot aliases a low one; no heap gives
// half the address space, so a signed size is the limit.
bool GrowSlots(ObjectTable* table, ObjectNumber number) {
  if (number > MAX_SLOTS - table->growStep) return false;
  int64_t capacity = number + table->growStep;
  auto* slots =
      static_cast<void**>(AllocateFromMainHeap(static_cast<size_t>(capacity) * sizeof(void*)));
  if (!slots) return false;
  std::memcpy(slots, table->slots, static_cast<size_t>(table->capacity) * sizeof(void*));
  ReleaseToMainHeap(table->slots);
  table->slots = slots;
  table->capacity = capacity;
  return true;
}

// Addresses of the ANY_OBJECT records already offered to the release routine, so that a record
// the routine leaves in the list is not offered twice.
class OfferedRecords {
 public:
  ~OfferedRecords() { ReleaseToMainHeap(numbers_); }

  bool Contains(ObjectNumber number) const {
    for (int64_t i = 0; i < count_; ++i) {
      if (numbers_[i] == number) return true;
    }
    return false;
  }

  bool Add(ObjectNumber number) {
    if (count_ == capacity_) {
      int64_t capacity = capacity_ ? capacity_ * 2 : 16;
      auto* numbers = static_cast<ObjectNumber*>(
          AllocateFromMainHeap(static_cast<size_t>(capacity) * sizeof(ObjectNumber)));
      if (!numbers) return false;
      if (numbers_)
        std::memcpy(numbers, numbers_, static_cast<size_t>(count_) * sizeof(ObjectNumber));
      ReleaseToMainHeap(numbers_);
      numbers_ = numbers;
      capacity_ = capacity;
    }
    numbers_[count_++] = number;
    return true;
  }

 private:
  ObjectNumber* numbers_ = nullptr;
  int64_t count_ = 0;
  int64_t capacity_ = 0;
};

ObjectNumber NewestUnofferedRecord(const ObjectTable* table, const OfferedRecords& offered) {
  for (AnyRecordLinks* links = table->anyRecords; links; links = links->older) {
    ObjectNumber number = NumberOfAnyRecord(RecordOfLinks(links));
    if (!offered.Contains(number)) return number;
  }
  return ANY_OBJECT;
}

}  // namespace

ObjectTable* CreateObjectTable(int32_t recordSize, int32_t growStep,
                               ReleaseRoutine releaseRoutine) {
  auto* table = static_cast<ObjectTable*>(AllocateFromMainHeap(sizeof(ObjectTable)));
  if (!table) return nullptr;
  table->slots =
      static_cast<void**>(AllocateFromMainHeap(static_cast<size_t>(growStep) * sizeof(void*)));
  if (!table->slots) {
    ReleaseToMainHeap(table);
    return nullptr;
  }
  table->recordSize = recordSize;
  table->growStep = growStep;
  table->capacity = growStep;
  table->releaseRoutine = releaseRoutine;
  return table;
}

void* ObtainObjectRecord(ObjectTable* table, ObjectNumber number) {
  if (number == ANY_OBJECT) return ObtainAnyRecord(table);
  if (number < 0) return nullptr;
  if (number >= table->capacity && !GrowSlots(table, number)) return nullptr;
  if (void* record = table->slots[number]) {
    // The release routine destroys a live object, whose teardown clears this record.
    if (table->releaseRoutine) table->releaseRoutine(number);
    return record;
  }
  void* record = AllocateFromMainHeap(static_cast<size_t>(table->recordSize));
  table->slots[number] = record;
  return record;
}

void* LookupObject(const ObjectTable* table, ObjectNumber number) {
  if (!table) return nullptr;
  if (IsSlotNumber(table, number)) {
    void* record = table->slots[number];
    return IsLive(record) ? record : nullptr;
  }
  AnyRecordLinks* links = FindAnyRecord(table, number);
  if (!links) return nullptr;
  void* record = RecordOfLinks(links);
  return IsLive(record) ? record : nullptr;
}

void ReleaseObjectRecord(ObjectTable* table, ObjectNumber number) {
  if (!table) return;
  if (IsSlotNumber(table, number)) {
    if (void* record = table->slots[number])
      std::memset(record, 0, static_cast<size_t>(table->recordSize));
    return;
  }
  AnyRecordLinks* links = FindAnyRecord(table, number);
  if (!links) return;
  if (links->newer) {
    links->newer->older = links->older;
  } else {
    table->anyRecords = links->older;
  }
  if (links->older) links->older->newer = links->newer;
  ReleaseToMainHeap(links);
}

void ReleaseAllObjects(ObjectTable* table) {
  if (!table || !table->releaseRoutine) return;
  table->cursor = 0;
  while (table->cursor >= 0 && table->cursor < table->capacity) {
    ObjectNumber number = table->cursor++;
    if (IsLive(table->slots[number])) table->releaseRoutine(number);
  }
  OfferedRecords offered;
  for (;;) {
    ObjectNumber number = NewestUnofferedRecord(table, offered);
    if (number == ANY_OBJECT || !offered.Add(number)) return;
    table->releaseRoutine(number);
  }
}
