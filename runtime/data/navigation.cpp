// Moving the record pointer: the one positioning step under every movement
// (top, bottom, go to, skip), which first writes pending changes, then loads
// the record at the target or sets the end flags, and hides deleted records
// while setting 11 is on by stepping on in the direction of the move.
#include "core.h"
#include "index_layer.h"
#include "index_tree.h"
#include "work_area.h"
#include "zeltardd.h"

namespace data {

bool hideDeleted() {
  pObj_Node setting = core::setting(10);
  return setting && setting->objType == T_BOOL && setting->objData.bValue;
}

// The pointer past the last record: the buffer blank, RecNo() one past RecCount().
void offTheEnd(WorkArea& area) {
  AreaState& st = area.st;
  st.found = 0;
  st.eof = 1;
  st.bof = 0;
  st.storedRecord = -1;
  st.recordIndex = DmNumRecords(area.schema.db);
  blankBuffer(area);
}

bool position(WorkArea& area, int64_t target, bool throughIndex, int direction) {
  AreaState& st = area.st;
  if (st.changed) writeRecord(area);
  IndexDef* order = throughIndex ? activeIndex(area) : nullptr;
  const uint32_t count = order ? tree::count(order->db) : DmNumRecords(area.schema.db);
  if (count == 0) {
    offTheEnd(area);
    st.bof = 1;
    if (order) order->position = 0;
    return false;
  }
  const int64_t last = static_cast<int64_t>(count) - 1;
  const auto pastTheEnd = [&] {
    offTheEnd(area);
    if (order) order->position = count;
    return false;
  };
  const auto fromTheTop = [&] {
    const bool loaded = position(area, 0, throughIndex, +1);
    st.found = 0;
    st.bof = 1;
    return loaded;
  };
  if (target < 0) return fromTheTop();
  if (target > last) return pastTheEnd();
  const bool hiding = direction != 0 && hideDeleted();
  for (;;) {
    const uint32_t at = static_cast<uint32_t>(target);
    readRecord(area, order ? entryRecord(*order, at) : at);
    if (order) order->position = at;
    if (!hiding || !deletedInBuffer(area)) break;
    target += direction;
    if (target > last) return pastTheEnd();
    if (target < 0) return fromTheTop();
  }
  st.eof = 0;
  st.bof = 0;
  return true;
}

void goTop(WorkArea& area) { position(area, 0, true, +1); }

void goBottom(WorkArea& area) {
  if (area.st.changed) writeRecord(area);
  IndexDef* order = activeIndex(area);
  const uint32_t count = order ? tree::count(order->db) : DmNumRecords(area.schema.db);
  position(area, static_cast<int64_t>(count) - 1, true, -1);
}

}  // namespace data

using namespace data;

pObj_Node __TBL_GoTop(pObj_Node area) {
  goTop(requireArea(area));
  return __INIT_NIL();
}

pObj_Node __TBL_GoBottom(pObj_Node area) {
  goBottom(requireArea(area));
  return __INIT_NIL();
}

pObj_Node __TBL_GoTo(pObj_Node area, pObj_Node n) {
  WorkArea& w = requireArea(area);
  if (!n || n->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  if (w.st.changed) writeRecord(w);
  const double record = n->objData.dValue;
  const int64_t count = DmNumRecords(w.schema.db);
  int64_t target;
  if (record == static_cast<double>(kAfterLast))
    target = count - 1;
  else
    target = record >= 1 && record <= 4294967295.0 ? static_cast<int64_t>(record) - 1 : record < 1 ? -1 : count;
  position(w, target, false, 0);
  if (IndexDef* order = activeIndex(w)) order->position = -1;
  return __INIT_NIL();
}

pObj_Node __TBL_Skip(pObj_Node area, pObj_Node n) {
  WorkArea& w = requireArea(area);
  double step = 1;
  if (n && n->objType != T_NIL) {
    if (n->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
    step = n->objData.dValue;
  }
  if (w.st.changed) writeRecord(w);
  const int64_t by = step >= 4294967295.0    ? 4294967295LL
                     : step <= -4294967295.0 ? -4294967295LL
                                             : static_cast<int64_t>(step);
  const int direction = by > 0 ? 1 : by < 0 ? -1 : 0;
  if (IndexDef* order = activeIndex(w)) return __INIT_BOOL(position(w, locate(w, *order) + by, true, direction));
  return __INIT_BOOL(position(w, static_cast<int64_t>(w.st.recordIndex) + by, false, direction));
}

pObj_Node __TBL_Eof(pObj_Node area) { return __INIT_BOOL(requireArea(area).st.eof); }
pObj_Node __TBL_Bof(pObj_Node area) { return __INIT_BOOL(requireArea(area).st.bof); }
pObj_Node __TBL_Found(pObj_Node area) { return __INIT_BOOL(requireArea(area).st.found); }

pObj_Node __TBL_RecNo(pObj_Node area) {
  return __INIT_DOUBLE(static_cast<double>(requireArea(area).st.recordIndex) + 1);
}

// A record being appended counts already, as it does in RecNo().
pObj_Node __TBL_RecCount(pObj_Node area) {
  WorkArea& w = requireArea(area);
  return __INIT_DOUBLE(DmNumRecords(w.schema.db) + (w.st.appendPending ? 1 : 0));
}
