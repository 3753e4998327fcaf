// The object registry with a stand-in kind whose "native object" is just a handle value, and
// whose release routine honours the contract by releasing the record itself.
#include "toolkit/object_registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/main_heap.h"

#if defined(__SANITIZE_ADDRESS__)
// A slot array too large for any heap must be refused as on Windows, not stop the run.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}
#endif

namespace {

struct TestRecord {
  void* handle;
  int64_t payload;
};

ObjectTable* table;
std::vector<ObjectNumber> released;
// Tables live for the process, as in the toolkit: kept reachable to the end (no destructor).
ObjectTable* everyTable[32];
int tableCount;

ObjectTable* MakeTable(int32_t growStep, ReleaseRoutine releaseRoutine) {
  return everyTable[tableCount++] = CreateObjectTable(sizeof(TestRecord), growStep, releaseRoutine);
}

void ReleaseTestObject(ObjectNumber number) {
  released.push_back(number);
  ReleaseObjectRecord(table, number);
}

// A release routine that destroys nothing, as for an object that refuses to go.
void ReleaseNothing(ObjectNumber number) {
  released.push_back(number);
}

void* HandleFor(ObjectNumber number) {
  return reinterpret_cast<void*>(number * 16 + 0x1000);
}

TestRecord* Create(ObjectNumber number) {
  auto* record = static_cast<TestRecord*>(ObtainObjectRecord(table, number));
  if (record) record->handle = HandleFor(number == ANY_OBJECT ? 1 : number);
  return record;
}

class ObjectRegistry : public testing::Test {
 protected:
  void SetUp() override {
    released.clear();
    table = MakeTable(50, ReleaseTestObject);
  }
};

TEST_F(ObjectRegistry, GrowsToTheNumberPlusTheGrowStepWithTheGapFree) {
  ASSERT_EQ(table->capacity, 50);
  ASSERT_NE(Create(100), nullptr);
  EXPECT_EQ(table->capacity, 150);
  for (ObjectNumber number = 50; number < 150; ++number) {
    if (number == 100) continue;
    EXPECT_EQ(table->slots[number], nullptr) << number;
    EXPECT_EQ(LookupObject(table, number), nullptr) << number;
  }
  EXPECT_NE(LookupObject(table, 100), nullptr);
  EXPECT_TRUE(released.empty());
}

TEST_F(ObjectRegistry, CreatingUnderALiveNumberReleasesTheOldObjectAndReusesItsRecord) {
  TestRecord* first = Create(4);
  first->payload = 42;
  auto* second = static_cast<TestRecord*>(ObtainObjectRecord(table, 4));
  EXPECT_EQ(released, std::vector<ObjectNumber>{4});
  EXPECT_EQ(second, first);
  EXPECT_EQ(second->handle, nullptr) << "the old object's teardown cleared the record";
  EXPECT_EQ(second->payload, 0);
  EXPECT_EQ(LookupObject(table, 4), nullptr) << "not live until the kind sets the handle";
}

TEST_F(ObjectRegistry, LookupOfUnusedDestroyedAndForeignNumbersFindsNothing) {
  Create(3);
  ReleaseObjectRecord(table, 3);
  int64_t notARecord[4] = {1, 2, 3, 4};  // readable memory that holds a non-zero "handle"
  Create(ANY_OBJECT);

  EXPECT_EQ(LookupObject(table, 9), nullptr);
  EXPECT_EQ(LookupObject(table, 3), nullptr);
  EXPECT_EQ(LookupObject(table, NumberOfAnyRecord(notARecord)), nullptr);
  // An unmapped address: the registry must not even look at it.
  EXPECT_EQ(LookupObject(table, int64_t{0x7FFF00001230}), nullptr);
  EXPECT_EQ(LookupObject(table, int64_t{1} << 40), nullptr);
}

TEST_F(ObjectRegistry, AnyObjectNumbersAreTheRecordsAddressesAndIndependent) {
  TestRecord* older = Create(ANY_OBJECT);
  TestRecord* newer = Create(ANY_OBJECT);
  ObjectNumber olderNumber = NumberOfAnyRecord(older);
  ObjectNumber newerNumber = NumberOfAnyRecord(newer);
  ASSERT_NE(olderNumber, newerNumber);
  EXPECT_GE(olderNumber, table->capacity);
  EXPECT_EQ(LookupObject(table, olderNumber), older);
  EXPECT_EQ(LookupObject(table, newerNumber), newer);

  ReleaseObjectRecord(table, newerNumber);
  EXPECT_EQ(LookupObject(table, newerNumber), nullptr);
  EXPECT_EQ(LookupObject(table, olderNumber), older);
  ReleaseObjectRecord(table, olderNumber);
  EXPECT_EQ(table->anyRecords, nullptr);
}

TEST_F(ObjectRegistry, ReleaseAllGoesThroughSlotsInOrderThenAnyRecordsNewestFirst) {
  Create(7);
  TestRecord* older = Create(ANY_OBJECT);
  Create(3);
  TestRecord* newer = Create(ANY_OBJECT);
  ObjectNumber olderNumber = NumberOfAnyRecord(older);
  ObjectNumber newerNumber = NumberOfAnyRecord(newer);

  ReleaseAllObjects(table);
  EXPECT_EQ(released, (std::vector<ObjectNumber>{3, 7, newerNumber, olderNumber}));
  EXPECT_EQ(LookupObject(table, 3), nullptr);
  EXPECT_EQ(LookupObject(table, 7), nullptr);
  EXPECT_EQ(table->anyRecords, nullptr);
}

TEST_F(ObjectRegistry, ReleaseAllOffersARecordThatStaysOnlyOnce) {
  table = MakeTable(8, ReleaseNothing);
  Create(2);
  ObjectNumber older = NumberOfAnyRecord(Create(ANY_OBJECT));
  ObjectNumber newer = NumberOfAnyRecord(Create(ANY_OBJECT));
  ReleaseAllObjects(table);
  EXPECT_EQ(released, (std::vector<ObjectNumber>{2, newer, older}));
  ReleaseObjectRecord(table, older);
  ReleaseObjectRecord(table, newer);
}

TEST_F(ObjectRegistry, TableWithoutReleaseRoutineReusesTheRecordAsItIs) {
  table = MakeTable(4, nullptr);
  TestRecord* first = Create(1);
  first->payload = 7;
  EXPECT_EQ(ObtainObjectRecord(table, 1), first);
  EXPECT_EQ(first->payload, 7) << "the registry itself clears nothing";
  ReleaseAllObjects(table);
  EXPECT_EQ(LookupObject(table, 1), first) << "nothing releases the object";
}

TEST_F(ObjectRegistry, NegativeAndUnsizableNumbersAreRefusedAndChangeNothing) {
  TestRecord* zero = Create(0);
  void** slots = table->slots;
  const size_t heap = MainHeapBytesInUse();
  const ObjectNumber refused[] = {
      -2,
      INT64_MIN,
      (int64_t{1} << 61) - 50,  // the slot array's size in bytes would wrap to 0
      int64_t{1} << 61,         // it would wrap to 50 slots, in which this one is slot 0
      int64_t{1} << 62,
      INT64_MAX,
      int64_t{1} << 57,  // the size fits, but no heap holds 2^60 bytes
  };
  for (ObjectNumber number : refused) {
    SCOPED_TRACE(number);
    EXPECT_EQ(Create(number), nullptr);
    EXPECT_EQ(LookupObject(table, number), nullptr);
    ReleaseObjectRecord(table, number);
  }
  EXPECT_EQ(table->capacity, 50);
  EXPECT_EQ(table->slots, slots);
  EXPECT_EQ(LookupObject(table, 0), zero);
  EXPECT_TRUE(released.empty());
  EXPECT_EQ(MainHeapBytesInUse(), heap);
}

TEST_F(ObjectRegistry, ReleasingEverythingGivesTheHeapBack) {
  for (ObjectNumber number = 0; number < 10; ++number) Create(number);
  ReleaseAllObjects(table);
  // The slot records stay with their slots for reuse; every other block goes back.
  size_t settled = MainHeapBytesInUse();
  for (int round = 0; round < 100; ++round) {
    Create(ANY_OBJECT);
    Create(ANY_OBJECT);
    Create(round % 10);
    ReleaseAllObjects(table);
  }
  EXPECT_EQ(MainHeapBytesInUse(), settled);
}

}  // namespace
