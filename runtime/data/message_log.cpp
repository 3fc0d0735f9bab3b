// The message log: the temporary database "msglog" of kind 'L'
// ("MSGLOG.tLog"), one message text and its zero byte per record, appended
// at the end. The communication and synchronisation code writes its steps
// and failures there; the sync window's history shows them.
#include <string.h>

#include <string>

#include "core.h"
#include "data_state.h"
#include "temp_db.h"
#include "zeltardd.h"

namespace data {

namespace {

constexpr uint32_t kReadLimit = 250;

DmOpenRef& messageLog() { return state().messageLog; }

bool openLog(bool empty) {
  if (messageLog() && !empty) return true;
  if (messageLog()) {
    DmCloseDatabase(messageLog());
    messageLog() = nullptr;
  }
  messageLog() = static_cast<DmOpenRef>(__OpenTmpDb(0, "msglog", empty ? 1 : 0, 'L'));
  return messageLog() != nullptr;
}

}  // namespace

}  // namespace data

using namespace data;

int __OpenMsgLog(int empty) { return openLog(empty != 0) ? 1 : 0; }

void __WriteMsgLog(const char* text) {
  if (!text || !openLog(false)) return;
  const size_t length = strnlen(text, kMaxRecordSize - 1);
  std::string record(text, length);
  record += '\0';
  appendTmpRecord(messageLog(), record.data(), static_cast<uint32_t>(record.size()));
}

int __ReadMsgLog(int index, char* buffer) {
  if (!buffer || index < 0 || !openLog(false)) return 0;
  uint32_t size = 0;
  const char* p = recordBytes(messageLog(), static_cast<uint32_t>(index), &size);
  if (!p) {
    buffer[0] = 0;
    return 0;
  }
  const uint32_t length = static_cast<uint32_t>(strnlen(p, size < kReadLimit ? size : kReadLimit));
  memcpy(buffer, p, length);
  buffer[length] = 0;
  return static_cast<int>(length);
}

int __GetAmnRecsMsgLog() { return openLog(false) ? static_cast<int>(DmNumRecords(messageLog())) : 0; }

int __CloseMsgLog() {
  if (begun() && messageLog()) {
    DmCloseDatabase(messageLog());
    messageLog() = nullptr;
  }
  return 1;
}

pObj_Node WRITELOG(pObj_Node text) {
  if (!text) return __INIT_NIL();
  if (text->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  __WriteMsgLog(text->objData.mbuff ? text->objData.mbuff : "");
  return __INIT_NIL();
}
