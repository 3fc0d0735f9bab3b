// Tables and work areas: what the files of this layer share. A table is a
// store database of type DATA whose information block holds its structure;
// a work area is a numbered slot holding one open table, its record buffer
// and the position of its record pointer. Calls go down only: work areas use
// tables, tables use the store.
#ifndef ZELTA_DATA_WORK_AREA_H
#define ZELTA_DATA_WORK_AREA_H

#include <cstdint>
#include <string>
#include <vector>

#include "data_state.h"
#include "store.h"
#include "zeltaobjs.h"

namespace data {

// Field type codes, from the letters N D C L M I B.
enum FieldType : uint8_t { kTypeN = 0, kTypeD = 1, kTypeC = 2, kTypeL = 3, kTypeM = 4, kTypeI = 5, kTypeB = 6 };

constexpr const char* kDeletionField = "D_E_L_E_T_";
constexpr char kLive = '!';
constexpr char kDeleted = '*';
constexpr uint16_t kNaturalOrder = 65535;
constexpr int kFlushEvery = 2000;
constexpr int kAreaStep = 128;

struct FieldDef {
  std::string name;  // upper case
  uint8_t type = kTypeC;
  uint32_t length = 0;
  uint32_t decimals = 0;
  uint32_t offset = 0;  // in the record buffer
};

struct IndexDef {
  DmOpenRef db = nullptr;  // open while the table is, kept up to date by every write
  bool listed = false;     // open in the area (SET INDEX, SET ORDER): may be the active order
  std::string name;        // upper case, also the database's name
  std::string expression;
  uint32_t keyLength = 0;
  std::vector<int> keyFields;  // 0-based field positions
  int64_t position = -1;       // entry of the current record, -1 unknown
  bool rekey = false;
};

struct TableDescriptor {
  std::string name;  // upper case
  DmOpenRef db = nullptr;
  uint16_t card = 0;
  uint32_t creator = kTypeData;
  uint16_t openMode = dmModeReadWrite;
  std::vector<FieldDef> fields;  // the hidden deletion field last
  std::vector<IndexDef> indexes;
  std::string memoDatabase;  // the memo database in use (memoName or its alternate)
  uint32_t bufferSize = 0;
  // Fields a program sees: all but the hidden one.
  size_t visibleFields() const { return fields.empty() ? 0 : fields.size() - 1; }
  uint32_t deletionOffset() const { return fields.back().offset; }
};

struct AreaState {
  int32_t eof = 1;
  int32_t bof = 1;
  int32_t found = 1;
  int32_t changed = 0;
  uint32_t recordIndex = 0;
  uint16_t order = kNaturalOrder;
  std::vector<char> buffer;
  uint32_t storedSize = 0;
  uint32_t keySize = 0;
  int32_t storedRecord = -1;
  uint32_t writeCounter = 0;
  uint32_t readCounter = 0;
  uint32_t lastRead = 0;         // record read last
  uint32_t sequentialReads = 0;  // reads since the last flush that followed their neighbour
  int32_t appendPending = 0;
  DmOpenRef memo = nullptr;
};

// Field positions of the name constants a program passes (their texts never
// change, so a constant's address finds its field again).
struct NameCache {
  static constexpr int kSlots = 16;
  const char* names[kSlots] = {};
  int fields[kSlots] = {};
};

struct WorkArea {
  int32_t driverKind = 0;
  pObj_Node aliasObject = nullptr;  // a program constant, compared by identity
  std::string alias;                // upper case
  AreaState st;
  TableDescriptor schema;
  std::string scratch;  // serialised record being written
  NameCache names;
};

// ---- work_area.cpp
// The slot an area argument names (__GetAliasID), -1 when none.
int aliasSlot(pObj_Node area);
// The open area an argument names; raises 14/11 when it is not open.
WorkArea& requireArea(pObj_Node area);
WorkArea* areaAt(int slot);
int slotOf(const WorkArea& area);
// Opens table `name` into a new area (or into the current one); the slot.
int openTable(const std::string& name, const std::string& alias, pObj_Node aliasObject, bool newArea);
void closeArea(int slot, bool keepSlot);
bool isConstant(pObj_Node v);

// ---- table_schema.cpp
// Reads the structure block of an open table; false when missing or damaged.
bool readStructure(DmOpenRef db, TableDescriptor& schema);
std::string structureBlock(const TableDescriptor& schema);
bool writeStructure(const TableDescriptor& schema);
void layoutBuffer(TableDescriptor& schema);
// 0-based position of a visible field by name (any case), -1 when none.
int fieldIndex(const TableDescriptor& schema, const char* name, size_t length);
// The same for a name value: a CHARPTR (else ARGUMENT ERROR!).
int fieldOfName(WorkArea& area, pObj_Node name);
// The memo database of a table, and the alternate name a pack writes the
// compacted memos to before the table's structure block switches to it.
std::string memoName(const std::string& table);
std::string alternateMemoName(const std::string& table, const std::string& current);
bool hasMemo(const TableDescriptor& schema);
// Deletes a table with its indexes and memo; false when there is no such table.
bool deleteTable(const std::string& name);
std::string upperText(pObj_Node v);

// ---- record_io.cpp
void blankBuffer(WorkArea& area);
// Fills a record buffer from a stored record's bytes.
void decodeRecord(const TableDescriptor& schema, const char* bytes, uint32_t size, char* buffer);
// The first `fields` fields only, the rest of the buffer zero and the
// deletion flag not set: enough for keys over those fields.
void decodeFields(const TableDescriptor& schema, const char* bytes, uint32_t size, char* buffer, size_t fields);
// Fills the buffer from stored record `index`; raises when it is damaged.
void readRecord(WorkArea& area, uint32_t index);
// The write step: stores the buffer when it holds changes. The
// synchronisation writes what it received with the dirty flag cleared.
void writeRecord(WorkArea& area, DirtyChange dirty = DirtyChange::set);
bool deletedInBuffer(const WorkArea& area);
std::string readMemo(WorkArea& area, uint32_t reference);
uint32_t writeMemo(WorkArea& area, const char* text, size_t length);
void countRead(WorkArea& area, uint32_t index);

// ---- navigation.cpp
// The common positioning step; true when a record was loaded.
// With `throughIndex`, target is a position in the active order.
bool position(WorkArea& area, int64_t target, bool throughIndex, int direction);
// The pointer past the last record: eof, the buffer blank.
void offTheEnd(WorkArea& area);
void goTop(WorkArea& area);
void goBottom(WorkArea& area);
bool hideDeleted();

}  // namespace data

#endif
