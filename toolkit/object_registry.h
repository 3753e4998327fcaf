#pragma once
// Numbered objects: every window, gadget and status bar is named by a number the program chooses
// (a small integer, kept in a slot) or by ANY_OBJECT, for which the record's own address becomes
// the number. One ObjectTable per kind of object.
#include <cstdint>

using ObjectNumber = int64_t;

constexpr ObjectNumber ANY_OBJECT = -1;

// Destroys the native object of a number; its WM_NCDESTROY handling must call
// ReleaseObjectRecord for the number before the routine returns. Given ANY_OBJECT, it releases
// every object of its kind.
using ReleaseRoutine = void (*)(ObjectNumber number);

// Precedes every record made under ANY_OBJECT, so that it leaves the list in constant time.
struct AnyRecordLinks {
  AnyRecordLinks* older;
  AnyRecordLinks* newer;
};

struct ObjectTable {
  int32_t recordSize;
  int32_t growStep;
  int64_t capacity;
  void** slots;                // ours: capacity record pointers, each record ours too
  AnyRecordLinks* anyRecords;  // newest first
  ReleaseRoutine releaseRoutine;
  int64_t cursor;
};

// Every record starts with its native handle; a record whose handle is null counts as absent.
struct ObjectRecordHead {
  void* handle;
};

// Made once when the kind's library starts; lives until the process ends.
ObjectTable* CreateObjectTable(int32_t recordSize, int32_t growStep, ReleaseRoutine releaseRoutine);

// The record under which a new object of this number is built. A number in use is released
// first through the table's release routine, and its record memory is reused. Null when the heap
// cannot supply a record.
void* ObtainObjectRecord(ObjectTable* table, ObjectNumber number);

// The live record of a number, or null. Safe for any number: a number beyond the slots is only
// taken as a record address when it is one of this table's ANY_OBJECT records.
void* LookupObject(const ObjectTable* table, ObjectNumber number);

// Called when the native object is gone: a slot record is cleared (the slot keeps its memory),
// an ANY_OBJECT record leaves the list and goes back to the heap.
void ReleaseObjectRecord(ObjectTable* table, ObjectNumber number);

// Runs the release routine for every live object: slots in increasing order of number, then the
// ANY_OBJECT records newest first, each once.
void ReleaseAllObjects(ObjectTable* table);

// The number of an ANY_OBJECT record: its own address.
inline ObjectNumber NumberOfAnyRecord(const void* record) {
  return static_cast<ObjectNumber>(reinterpret_cast<intptr_t>(record));
}
