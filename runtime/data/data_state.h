// The data folder's state record (see runtime/core/core.h for the
// convention): the store's catalog and record handles, the work areas, the
// message log and the registered arrays. begin (from __BeginGlobal) takes
// the application directory; end (from __EndGlobal) closes everything and
// puts the record back to its defaults.
#ifndef ZELTA_DATA_DATA_STATE_H
#define ZELTA_DATA_DATA_STATE_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "database.h"
#include "zeltaobjs.h"

namespace data {

struct WorkArea;

struct CatalogState {
  bool open = false;
  host::MappedFile file;
  uint32_t highWater = 0;                            // entries in use or freed
  std::unordered_map<std::string, uint32_t> byName;  // name -> entry
  std::vector<Database*> databases;                  // per entry: open database or null
};

struct State {
  bool active = false;  // between begin and end
  std::string appDir;   // read by begin, or on first use
  CatalogState catalog;

  // Record handles: kRecordHandleSlots for changes, then a ring for reads.
  std::vector<RecordHandle> handles;
  uint32_t freeHandle = 0;  // first free slot + 1; 0 = none
  uint32_t queryCursor = 0;
  std::vector<MemHandle> locked;  // handles locked for writing

  // Work areas (numbered slots; a freed slot is null).
  int16_t TBL_amnt_open_dbs = 0;
  int16_t currentArea = 0;
  int16_t aliasCache = 0;
  std::vector<WorkArea*> areas;
  pObj_Node selectedAlias = nullptr;
  int32_t rdd = 0;
  bool areaOpened = false;

  // The message log while it is open.
  DmOpenRef messageLog = nullptr;

  // Arrays registered for rescue: an array record of {name, array} pairs.
  pObj_Node registeredArrays = nullptr;

  // Told when Op_DeleteTbl deleted a table (the synchronisation forgets the
  // area it kept for ZEL_TBL or ZEL_IND).
  void (*catalogTableDeleted)(const char* name) = nullptr;
  // The synchronisation's message texts (its table, in the user's language).
  const char* (*syncMessage)(int number) = nullptr;

  // Where __ReadTmpDb copies a record when no buffer is given.
  char* packetBuffer = nullptr;
  int32_t packetCapacity = 0;
  int32_t* packetLength = nullptr;
};

extern State stateRecord;
inline State& state() { return stateRecord; }
void begin();
void end();
// Closes the work areas (a fatal error's report comes next).
void fatal();
bool begun();
// The record handle table, made on first use.
void ensureRecordHandles();

}  // namespace data

#endif
