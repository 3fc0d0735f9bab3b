// The record store: round trips through a restart, the record operations,
// growth steps, limits, pack, and the catalog's behaviour with vanished,
// damaged and foreign files.
#include <string.h>

#include <string>

#include "data_fixture.h"
#include "store.h"

using namespace data;

namespace {

class StoreTest : public DataTest {
 protected:
  DmOpenRef create(const char* name, uint32_t type = kTypeData) {
    EXPECT_EQ(DmCreateDatabase(0, name, kCreatorTables, type), errNone);
    return open(name);
  }
  DmOpenRef open(const char* name) {
    const LocalID id = DmFindDatabase(0, name);
    return id ? DmOpenDatabase(0, id, dmModeReadWrite) : nullptr;
  }
  static uint32_t add(DmOpenRef db, const std::string& bytes) {
    uint32_t index = kAfterLast;
    EXPECT_EQ(putRecord(db, &index, bytes.data(), static_cast<uint32_t>(bytes.size()), DirtyChange::set), errNone);
    return index;
  }
  static std::string record(DmOpenRef db, uint32_t index) {
    uint32_t size = 0;
    const char* p = recordBytes(db, index, &size);
    return p ? std::string(p, size) : "<none>";
  }
  static std::string text(int i) {
    return "record " + std::to_string(i) + std::string(static_cast<size_t>(i % 37), 'x');
  }
};

TEST_F(StoreTest, RecordsSurviveARestart) {
  DmOpenRef db = create("ROUNDTRIP");
  for (int i = 0; i < 500; ++i) EXPECT_EQ(add(db, text(i)), static_cast<uint32_t>(i));
  const char info[] = "the block";
  ASSERT_EQ(DmSetDatabaseInfo(db, info, sizeof info), errNone);
  DmCloseDatabase(db);
  restart();
  db = open("ROUNDTRIP");
  ASSERT_NE(db, nullptr);
  ASSERT_EQ(DmNumRecords(db), 500u);
  for (int i = 0; i < 500; ++i) EXPECT_EQ(record(db, static_cast<uint32_t>(i)), text(i));
  uint32_t size = 0;
  EXPECT_STREQ(DmAppInfo(db, &size), "the block");
  uint32_t type = 0, creator = 0;
  EXPECT_EQ(DmDatabaseInfo(0, databaseId(db), nullptr, &type, &creator), errNone);
  EXPECT_EQ(type, kTypeData);
  EXPECT_EQ(creator, kCreatorTables);
  DmCloseDatabase(db);
}

TEST_F(StoreTest, HandleOperations) {
  DmOpenRef db = create("HANDLES");
  uint32_t at = kAfterLast;
  MemHandle h = DmNewRecord(db, &at, 6);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(DmNumRecords(db), 0u) << "a new record joins when released";
  char* p = static_cast<char*>(MemHandleLock(h));
  EXPECT_EQ(std::string(p, 6), std::string(6, '\0'));
  EXPECT_EQ(DmWrite(p, 0, "abcdef", 6), errNone);
  EXPECT_EQ(DmWrite(p, 4, "xyz", 3), dmErrWriteOutOfBounds);
  MemHandleUnlock(h);
  EXPECT_EQ(DmReleaseRecord(db, at, true), errNone);
  EXPECT_EQ(record(db, 0), "abcdef");
  uint8_t attributes = 0;
  DmRecordInfo(db, 0, &attributes);
  EXPECT_TRUE(attributes & kAttrDirty);

  // Insert before it, then change and grow the old record through a handle.
  at = 0;
  h = DmNewRecord(db, &at, 3);
  p = static_cast<char*>(MemHandleLock(h));
  DmSet(p, 0, 3, 'z');
  MemHandleUnlock(h);
  DmReleaseRecord(db, 0, false);
  EXPECT_EQ(record(db, 0), "zzz");
  EXPECT_EQ(record(db, 1), "abcdef");
  h = DmGetRecord(db, 1);
  EXPECT_EQ(DmGetRecord(db, 1), 0u) << "a busy record is not handed out twice";
  h = DmResizeRecord(db, 1, 8);
  p = static_cast<char*>(MemHandleLock(h));
  EXPECT_EQ(MemHandleLock(h), p);
  EXPECT_TRUE(boxSays("already locked"));
  DmWrite(p, 6, "gh", 2);
  EXPECT_EQ(record(db, 1), "abcdef") << "changes are not seen before the release";
  MemHandleUnlock(h);
  DmReleaseRecord(db, 1, false);
  EXPECT_EQ(record(db, 1), "abcdefgh");
  DmSetRecordInfo(db, 1, 0);
  DmRecordInfo(db, 1, &attributes);
  EXPECT_EQ(attributes, 0);

  EXPECT_EQ(DmRemoveRecord(db, 0), errNone);
  EXPECT_EQ(DmNumRecords(db), 1u);
  EXPECT_EQ(record(db, 0), "abcdefgh");
  EXPECT_EQ(DmRemoveRecord(db, 5), dmErrIndexOutOfRange);
  EXPECT_EQ(DmQueryRecord(db, 1), 0u);
  DmCloseDatabase(db);
}

TEST_F(StoreTest, FileGrowsInTheStoresSteps) {
  DmOpenRef db = create("GROWTH");
  std::vector<long long> sizes{sizeOf("GROWTH")};
  for (int i = 0; i < 400; ++i) {
    add(db, std::string(1000, 'g'));
    if (sizeOf("GROWTH") != sizes.back()) sizes.push_back(sizeOf("GROWTH"));
  }
  const std::vector<long long> steps{15360, 30720, 46080, 107520, 168960, 261120, 353280, 445440};
  ASSERT_GE(sizes.size(), steps.size());
  for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(sizes[i], steps[i]) << "growth " << i;
  DmCloseDatabase(db);

  // A file whose size is not a multiple of the step is rounded up on opening.
  restart();
  ASSERT_EQ(truncate(path("GROWTH").c_str(), sizes.back() + 100), 0);
  db = open("GROWTH");
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(sizeOf("GROWTH") % 15360, 0);
  EXPECT_EQ(DmNumRecords(db), 400u);
  DmCloseDatabase(db);
}

TEST_F(StoreTest, RecordSizeLimit) {
  DmOpenRef db = create("LIMITS");
  std::string largest(kMaxRecordSize, 'l');
  EXPECT_EQ(add(db, largest), 0u);
  uint32_t at = kAfterLast;
  EXPECT_EQ(putRecord(db, &at, largest.data(), kMaxRecordSize + 1, DirtyChange::set), dmErrInvalidParam);
  EXPECT_EQ(DmNewRecord(db, &at, kMaxRecordSize + 1), 0u);
  EXPECT_EQ(record(db, 0), largest);
  DmCloseDatabase(db);
}

TEST_F(StoreTest, PackKeepsLiveRecordsInOrder) {
  DmOpenRef db = create("PACKED");
  for (const char* r : {"a!", "b*", "c!", "d*"}) add(db, std::string(r) + '\0');
  EXPECT_EQ(DbPack(db), errNone);
  ASSERT_EQ(DmNumRecords(db), 2u);
  EXPECT_EQ(record(db, 0), std::string("a!\0", 3));
  EXPECT_EQ(record(db, 1), std::string("c!\0", 3));
  EXPECT_FALSE(exists("PACKED_Temp"));
  // Every record deleted: an empty database, which takes new records.
  for (uint32_t i = 0; i < 2; ++i) {
    uint32_t at = i;
    std::string dead = std::string("x*") + '\0';
    putRecord(db, &at, dead.data(), 3, DirtyChange::keep);
  }
  EXPECT_EQ(DbPack(db), errNone);
  EXPECT_EQ(DmNumRecords(db), 0u);
  EXPECT_EQ(add(db, "again"), 0u);
  DmCloseDatabase(db);
  restart();
  db = open("PACKED");
  EXPECT_EQ(record(db, 0), "again");
  DmCloseDatabase(db);
}

TEST_F(StoreTest, ExistingNameAndVanishedFile) {
  DmOpenRef db = create("TWICE");
  add(db, "kept");
  DmCloseDatabase(db);
  EXPECT_EQ(DmCreateDatabase(0, "TWICE", kCreatorTables, kTypeData), dmErrAlreadyExists);
  db = open("TWICE");
  EXPECT_EQ(record(db, 0), "kept");
  DmCloseDatabase(db);

  ASSERT_EQ(unlink(path("TWICE").c_str()), 0);
  EXPECT_EQ(DmFindDatabase(0, "TWICE"), 0u);
  restart();
  EXPECT_EQ(DmFindDatabase(0, "TWICE"), 0u) << "the entry was erased";
  EXPECT_EQ(DmCreateDatabase(0, "TWICE", kCreatorTables, kTypeData), errNone);
}

TEST_F(StoreTest, NameLengths) {
  for (size_t length : {1, 63, 64, 65, 100, 127}) {
    const std::string name(length, static_cast<char>('A' + length % 26));
    DmOpenRef db = create(name.c_str());
    ASSERT_NE(db, nullptr) << length;
    add(db, name);
    DmCloseDatabase(db);
  }
  restart();
  for (size_t length : {1, 63, 64, 65, 100, 127}) {
    const std::string name(length, static_cast<char>('A' + length % 26));
    DmOpenRef db = open(name.c_str());
    ASSERT_NE(db, nullptr) << length;
    std::string stored;
    DmDatabaseInfo(0, databaseId(db), &stored, nullptr, nullptr);
    EXPECT_EQ(stored, name);
    EXPECT_EQ(record(db, 0), name);
    DmCloseDatabase(db);
  }
  const std::string tooLong(128, 'T');
  EXPECT_EQ(errorOf([&] { DmCreateDatabase(0, tooLong.c_str(), kCreatorTables, kTypeData); }),
            std::make_pair(static_cast<int>(LOW_MEMORY), -1));
  EXPECT_TRUE(boxSays("Nome muito extenso"));
  EXPECT_EQ(errorOf([&] { DmFindDatabase(0, tooLong.c_str()); }).first, LOW_MEMORY);
}

TEST_F(StoreTest, NamesThatAreNotPlainFileNames) {
  for (const char* name : {"../escape", "a/b", ".", "..", "catalog.plm", "catalog.bck", ""}) {
    EXPECT_EQ(DmFindDatabase(0, name), 0u) << name;
    EXPECT_EQ(errorOf([&] { DmCreateDatabase(0, name, kCreatorTables, kTypeData); }).first, CREATE_ERROR) << name;
  }
}

TEST_F(StoreTest, ForeignAndDamagedFiles) {
  // A file that is not a database is never taken over.
  writeFile("NOTES", "someone else's text");
  EXPECT_EQ(DmFindDatabase(0, "NOTES"), 0u);
  EXPECT_EQ(errorOf([&] { DmCreateDatabase(0, "NOTES", kCreatorTables, kTypeData); }).first, CREATE_ERROR);
  EXPECT_EQ(readFile("NOTES"), "someone else's text");

  DmOpenRef db = create("HURT");
  for (int i = 0; i < 50; ++i) add(db, text(i));
  DmCloseDatabase(db);
  const std::string whole = readFile("HURT");
  struct Damage {
    const char* what;
    std::string bytes;
  };
  std::string badBody = whole;
  badBody[64 + 8 + 2] ^= 0x55;  // a data byte of some early block
  std::string badDirectory = whole;
  memcpy(&badDirectory[36], "\xff\xff\xff\x7f", 4);
  const Damage cases[] = {
      {"truncated header", whole.substr(0, 40)},
      {"garbage", std::string(whole.size(), '\x5a')},
      {"directory outside the file", badDirectory},
      {"truncated records", whole.substr(0, 200)},
  };
  for (const Damage& d : cases) {
    writeFile("HURT", d.bytes);
    recordedBoxes().clear();
    db = open("HURT");
    EXPECT_EQ(db, nullptr) << d.what;
    EXPECT_TRUE(boxSays("Falhou Abertura de HURT")) << d.what;
    if (db) DmCloseDatabase(db);
  }
  // A damaged record is refused when read, the others still read.
  writeFile("HURT", badBody);
  db = open("HURT");
  ASSERT_NE(db, nullptr);
  int unreadable = 0;
  for (uint32_t i = 0; i < 50; ++i) unreadable += recordBytes(db, i, nullptr) == nullptr;
  EXPECT_EQ(unreadable, 1);
  DmCloseDatabase(db);
  // A damaged database of ours that lost its entry may be created anew.
  stop();
  unlink(path("catalog.plm").c_str());
  unlink(path("catalog.bck").c_str());
  writeFile("HURT", whole.substr(0, 40));
  start();
  EXPECT_EQ(DmFindDatabase(0, "HURT"), 0u);
  EXPECT_EQ(DmCreateDatabase(0, "HURT", kCreatorTables, kTypeData), errNone);
  db = open("HURT");
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(DmNumRecords(db), 0u);
  DmCloseDatabase(db);
}

// Reads all over a large file are copied out of it rather than read through
// the mapping: records of every length (past the first copy, past what it
// learns) read back, changes made through the mapping are seen, and a
// damaged record is still refused.
TEST_F(StoreTest, ReadsOutOfOrderInALargeFile) {
  const uint32_t lengths[] = {1, 2, 55, 56, 57, 500, 1016, 1017, 4000, kMaxRecordSize};
  const uint32_t n = 600;
  const auto bytes = [&](uint32_t i, char salt) {
    std::string r(lengths[i % 10], '\0');
    for (size_t k = 0; k < r.size(); ++k) r[k] = static_cast<char>(salt + i * 7 + k % 251);
    return r;
  };
  const auto scrambled = [&](uint32_t k) { return k * 149 % n; };
  DmOpenRef db = create("WIDE");
  for (uint32_t i = 0; i < n; ++i) add(db, bytes(i, 'a'));
  ASSERT_GT(readFile("WIDE").size(), size_t{1} << 20);
  for (uint32_t k = 0; k < n; ++k) EXPECT_EQ(record(db, scrambled(k)), bytes(scrambled(k), 'a')) << scrambled(k);
  for (uint32_t i = 0; i < n; i += 3) {
    const std::string changed = bytes(i + 1, 'b');
    uint32_t index = i;
    ASSERT_EQ(putRecord(db, &index, changed.data(), static_cast<uint32_t>(changed.size()), DirtyChange::keep), errNone);
  }
  for (uint32_t k = 0; k < n; ++k) {
    const uint32_t i = scrambled(k);
    EXPECT_EQ(record(db, i), i % 3 ? bytes(i, 'a') : bytes(i + 1, 'b')) << i;
  }
  DmCloseDatabase(db);
  std::string whole = readFile("WIDE");
  const size_t at = whole.find(bytes(5, 'a'));
  ASSERT_NE(at, std::string::npos);
  whole[at] ^= 0x55;
  writeFile("WIDE", whole);
  db = open("WIDE");
  ASSERT_NE(db, nullptr);
  int unreadable = 0;
  for (uint32_t k = 0; k < n; ++k) unreadable += recordBytes(db, scrambled(k), nullptr) == nullptr;
  EXPECT_EQ(unreadable, 1);
  EXPECT_EQ(recordBytes(db, 5, nullptr), nullptr);
  DmCloseDatabase(db);
}

TEST_F(StoreTest, CatalogTakenBackFromItsCopy) {
  for (const char* name : {"ONE", "TWO", "THREE"}) {
    DmOpenRef db = create(name);
    add(db, name);
    DmCloseDatabase(db);
  }
  stop();
  ASSERT_TRUE(exists("catalog.bck"));
  std::string catalog = readFile("catalog.plm");
  catalog[20 + 88 + 3] ^= 0x20;  // a byte of the second entry's name
  writeFile("catalog.plm", catalog);
  start();
  for (const char* name : {"ONE", "TWO", "THREE"}) {
    DmOpenRef db = open(name);
    ASSERT_NE(db, nullptr) << name;
    EXPECT_EQ(record(db, 0), name);
    DmCloseDatabase(db);
  }
  EXPECT_TRUE(exists("catalog.plm.damaged"));
}

TEST_F(StoreTest, DatabasesWithoutEntriesAreEnteredAgain) {
  DmOpenRef db = create("ORPHAN", kTypeMemo);
  add(db, "still here");
  DmCloseDatabase(db);
  stop();
  unlink(path("catalog.plm").c_str());
  unlink(path("catalog.bck").c_str());
  start();
  db = open("ORPHAN");
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(record(db, 0), "still here");
  EXPECT_EQ(databaseType(db), kTypeMemo);
  DmCloseDatabase(db);
}

TEST_F(StoreTest, FullCatalog) {
  for (int i = 0; i < kDatabaseSlots; ++i)
    ASSERT_EQ(DmCreateDatabase(0, ("D" + std::to_string(i)).c_str(), kCreatorTables, kTypeData), errNone) << i;
  EXPECT_EQ(errorOf([] { DmCreateDatabase(0, "ONEMORE", kCreatorTables, kTypeData); }).first, CREATE_ERROR);
  EXPECT_TRUE(boxSays("catálogo cheio"));
  EXPECT_FALSE(exists("ONEMORE"));
  DmDeleteDatabase(0, DmFindDatabase(0, "D17"));
  EXPECT_EQ(DmCreateDatabase(0, "ONEMORE", kCreatorTables, kTypeData), errNone);
}

TEST_F(StoreTest, ChangedRecordsReuseFreedSpace) {
  DmOpenRef db = create("REUSE");
  for (int i = 0; i < 10; ++i) add(db, std::string(200, 'a'));
  const long long before = sizeOf("REUSE");
  for (int round = 0; round < 2000; ++round) {
    uint32_t at = static_cast<uint32_t>(round % 10);
    const std::string bytes(200, static_cast<char>('a' + round % 26));
    ASSERT_EQ(putRecord(db, &at, bytes.data(), 200, DirtyChange::set), errNone);
  }
  EXPECT_LE(sizeOf("REUSE"), before + 15360);
  DmCloseDatabase(db);
  // The free list comes back with a clean close, so a new session reuses it.
  restart();
  db = open("REUSE");
  const long long after = sizeOf("REUSE");
  for (int round = 0; round < 2000; ++round) {
    uint32_t at = static_cast<uint32_t>(round % 10);
    const std::string bytes(200, 'z');
    putRecord(db, &at, bytes.data(), 200, DirtyChange::set);
  }
  EXPECT_LE(sizeOf("REUSE"), after + 15360);
  for (uint32_t i = 0; i < 10; ++i) EXPECT_EQ(record(db, i), std::string(200, 'z'));
  DmCloseDatabase(db);
}

TEST_F(StoreTest, CleanTblEmptiesButKeepsTheBlock) {
  DmOpenRef db = create("CLEANED");
  for (int i = 0; i < 30; ++i) add(db, text(i));
  DmSetDatabaseInfo(db, "info", 5);
  CleanTbl(db);
  EXPECT_EQ(DmNumRecords(db), 0u);
  EXPECT_STREQ(DmAppInfo(db, nullptr), "info");
  EXPECT_EQ(add(db, "fresh"), 0u);
  DmCloseDatabase(db);
}

}  // namespace
