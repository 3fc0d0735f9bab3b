// A whole sync session around its online part, and the program's entries to
// it. States of a session:
//
//   idle -> packing (dirty records into ".tHst", TOHOST lists the tables)
//        -> integrity (downloads a cut session completed are applied)
//        -> online (DoSync: login, tasks, goodbye)
//        -> post-online (upload files of TOHOST's tables deleted, TOHOST too)
//        -> offline apply (the tables of the "FromHH" list) -> idle
//
// A download cut short keeps its ".tPda" file incomplete; the next session
// resumes ('P') or restarts ('T') it. Upload files and dirty flags stay
// until the server acknowledged every packet.
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

#include "arguments.h"
#include "calendar.h"
#include "core.h"
#include "host.h"
#include "data_state.h"
#include "report.h"
#include "session.h"
#include "status.h"
#include "store.h"
#include "sync_messages.h"
#include "sync_run.h"
#include "sync_state.h"
#include "sync_tables.h"
#include "table_rows.h"
#include "temp_db.h"
#include "zeltaarray.h"
#include "zeltamisc.h"
#include "zeltanet.h"
#include "zeltardd.h"

namespace sync {

using namespace data;

namespace {

std::vector<std::string> readList(const char* name, int kind) {
  std::vector<std::string> names;
  DmOpenRef list = static_cast<DmOpenRef>(__OpenTmpDb(0, name, 0, kind));
  if (!list) return names;
  const uint32_t n = DmNumRecords(list);
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t size = 0;
    const char* p = data::recordBytes(list, i, &size);
    if (p && size) names.emplace_back(p, strnlen(p, size));
  }
  DmCloseDatabase(list);
  return names;
}

void writeList(const char* name, int kind, const std::vector<std::string>& names) {
  if (names.empty()) {
    __DeleteTmpDb(0, name, kind);
    return;
  }
  DmOpenRef list = static_cast<DmOpenRef>(__OpenTmpDb(0, name, 1, kind));
  if (!list) return;
  for (const std::string& s : names) data::appendTmpRecord(list, s.c_str(), static_cast<uint32_t>(s.size() + 1));
  DmCloseDatabase(list);
}

bool isCatalog(const std::string& table) { return table == "ZEL_TBL" || table == "ZEL_COLS" || table == "ZEL_IND"; }

// Applies every listed download, the catalog's first so that the tables it
// describes can be made. Those not complete or refused stay listed. The
// number of tables listed before.
size_t applyListed() {
  std::vector<std::string> listed = readList("FromHH", 'L');
  if (listed.empty()) return 0;
  std::stable_partition(listed.begin(), listed.end(), isCatalog);
  closeAlias("ZEL_TBL");
  closeAlias("ZEL_COLS");
  closeAlias("ZEL_IND");
  std::vector<std::string> kept;
  for (const std::string& table : listed) {
    logf(syncMessage(54), table.c_str());
    ApplyCounts counts;
    std::string why;
    switch (applyDownload(table, counts, why)) {
      case ApplyResult::Applied: logf(syncMessage(55), table.c_str()); break;
      case ApplyResult::Incomplete:
        logf(syncMessage(52), table.c_str());
        kept.push_back(table);
        break;
      case ApplyResult::Refused: kept.push_back(table); break;
      case ApplyResult::Missing: break;
      case ApplyResult::Damaged:
        logf(syncMessage(53), table.c_str());
        logLine(why);
        break;
    }
  }
  writeList("FromHH", 'L', kept);
  return listed.size();
}

std::string todayDigits() { return wire::dateDigits(lib::todayDayNumber()); }

void writeSyncDate() {
  DmOpenRef file = static_cast<DmOpenRef>(__OpenTmpDb(0, "sync_date", 1, 'L'));
  if (!file) return;
  const std::string digits = todayDigits();
  data::appendTmpRecord(file, digits.c_str(), static_cast<uint32_t>(digits.size() + 1));
  DmCloseDatabase(file);
}

std::string elapsed(time_t seconds) {
  char text[32];
  snprintf(text, sizeof text, "%02ld:%02ld:%02ld", static_cast<long>(seconds / 3600),
           static_cast<long>(seconds / 60 % 60), static_cast<long>(seconds % 60));
  return text;
}

// Steps a: the dirty records of the tables marked for upload. -1 on a
// failure, else the number of tables packed.
int prepareUploads(const NetBlock& n) {
  if (!DmFindDatabase(0, "ZEL_TBL") || !DmFindDatabase(0, "ZEL_IND")) return 0;
  showState(syncMessage(77));
  state().lastUploads.clear();
  const std::vector<std::string> tables = uploadTables(n.connectionType);
  if (tables.empty()) return 0;
  logLine(syncMessage(74));
  int packed = 0;
  for (const std::string& table : tables) {
    const long rows = packTable(table);
    if (rows < 0) return -1;
    if (rows > 0) {
      if (!addToHost(table)) {
        logLine(syncMessage(107));
        return -1;
      }
      ++packed;
    }
  }
  logLine(syncMessage(76));
  return packed;
}

struct Profile {
  std::string host, user, deviceType, deviceId;
  int port = 0, timeout = 0;
};

}  // namespace

int runSession(SessionTimes& times) {
  NetBlock* block = netBlock();
  if (!block) __RuntimeError(LOW_MEMORY, -1);
  NetBlock& n = *block;
  const bool full = !state().partialSync;
  int prepared = 0;
  if (full) {
    prepared = prepareUploads(n);
    if (prepared < 0) return 1;
    showState(syncMessage(80));
    showState(syncMessage(78));
    applyListed();
  }

  showState(syncMessage(79));
  const time_t onlineStart = time(nullptr);
  Profile p;
  if (!n.host.empty()) {
    p.host = n.host;
    p.port = n.port;
    p.user = n.user;
    p.deviceType = "PALM";
    p.deviceId = n.device;
    p.timeout = n.timeout;
  } else if (!readProfile(p.host, p.user, p.deviceType, p.deviceId, p.port, p.timeout)) {
    logLine(syncMessage(29));
    showState(syncMessage(29));
    return 2;
  }
  OpenCatalogTables(3);
  const int status = DoSync(p.host.c_str(), p.port, p.user.c_str(), p.deviceType.c_str(), p.deviceId.c_str(), p.timeout,
                            nullptr, nullptr, nullptr, nullptr);
  if (status == kStatusNone) {
    if (!DmFindDatabase(0, "ZEL_TBL") && !DmFindDatabase(0, "ZEL_IND")) {
      logLine(syncMessage(60));
      return 8;
    }
    writeSyncDate();
  }
  times.online = time(nullptr) - onlineStart;
  showState(syncMessage(81));
  const time_t offlineStart = time(nullptr);
  times.offlineRan = true;

  if (full && prepared > 0 && status == kStatusNone && !n.restart) {
    for (const std::string& table : toHostTables()) __DeleteTmpDb(0, table.c_str(), 'H');
    deleteToHost();
  }
  int result = 0;
  if (full) {
    showState(syncMessage(83));
    const size_t listed = applyListed();
    times.offline = time(nullptr) - offlineStart;
    if (listed == 0) result = 2;
  }
  if (status != kStatusNone) {
    logf("Connect: Erro = %d", status);
    showState("Connect: Erro = " + std::to_string(status));
    return 1;
  }
  return result;
}

int runLoop(bool mayAsk) {
  int status = 0;
  for (;;) {
    char date[16], now[16];
    const time_t t = time(nullptr);
    struct tm parts;
    localtime_r(&t, &parts);
    strftime(date, sizeof date, "%d/%m/%Y", &parts);
    strftime(now, sizeof now, "%H:%M:%S", &parts);
    logf(syncMessage(84), (std::string(now) + " " + date).c_str());
    showState(syncMessage(85));
    SessionTimes times;
    const int result = runSession(times);
    NetBlock* n = netBlock();
    status = n ? n->status : 0;
    logf(syncMessage(86), elapsed(times.online).c_str());
    if (times.offlineRan) logf(syncMessage(87), elapsed(times.offline).c_str());
    showInfo("Online " + elapsed(times.online) + " Offline " + elapsed(times.offline));
    logf("InitSync: Erro=%d | NetStatus=%d", result, status);
    bool again = false;
    if (status == 0 && (result == 0 || result == 2)) {
      showState(syncMessage(88));
    } else {
      if (status == 0) status = result;
      showState(formatMessage(115, status));
      if (mayAsk) again = askYesNo(syncMessage(116), syncMessage(117));
    }
    logf(syncMessage(89), now, elapsed(times.online + times.offline).c_str());
    if (!again) break;
  }
  return status;
}

bool askYesNo(const char* text, const char* title) {
  __begin_context();
  const bool yes = __GET_BOOL(__MsgYesNo(__INIT_CHARPTR(text), __INIT_CHARPTR(title)));
  __end_context(nullptr);
  return yes;
}

std::string userText(pObj_Node user) {
  if (user->objType == T_CHARPTR) return std::string(core::textOf(user));
  std::string text = core::formatValue(user);
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

namespace {

void syncFromErrSync() {
  __begin_context();
  __DoSync(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  __end_context(nullptr);
}

[[maybe_unused]] const bool hooked = (core::hooks().startSync = syncFromErrSync, true);

}  // namespace

std::string formatMessage(int number, int value) {
  char text[512];
  snprintf(text, sizeof text, syncMessage(number), value);
  return text;
}

}  // namespace sync

pObj_Node __DoSync(pObj_Node type, pObj_Node host, pObj_Node port, pObj_Node timeout, pObj_Node user, pObj_Node device,
                   pObj_Node filter) {
  const bool given = core::isGiven(type) || core::isGiven(host) || core::isGiven(port) || core::isGiven(timeout) ||
                     core::isGiven(user) || core::isGiven(device);
  if (given && (!core::isType(type, T_CHARPTR) || !core::isType(host, T_CHARPTR) || !core::isType(port, T_DOUBLE) ||
                !core::isType(timeout, T_DOUBLE) || !core::isGiven(user) || !core::isType(device, T_CHARPTR)))
    __RuntimeError(ARGUMENT_ERROR, -1);
  if (core::isGiven(filter) && filter->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  sync::NetBlock* block = sync::netBlock();
  if (!block) __RuntimeError(LOW_MEMORY, -1);
  sync::NetBlock& n = *block;
  if (given) {
    const std::string_view kind = core::textOf(type);
    n.connectionType = kind.empty() ? 0 : kind[0];
    n.host = std::string(core::textOf(host));
    n.port = static_cast<int32_t>(core::toWhole(port->objData.dValue));
    n.timeout = static_cast<int32_t>(std::min<long>(std::max<long>(core::toWhole(timeout->objData.dValue), 0), 120));
    n.user = sync::userText(user);
    n.device = std::string(core::textOf(device));
  }
  n.taskFilter = core::isGiven(filter) ? sync::taskFilterOf(filter->objData.dValue) : 0;
  DeleteEnqueued();
  // A program that names the server syncs at once; without arguments the
  // sync window opens and the user starts the session.
  const int status = given ? sync::runLoop(false) : sync::runSyncWindow();
  sync::freeNetBlock();
  return __INIT_DOUBLE(status);
}

using namespace data;

pObj_Node __SyncDate() {
  std::string digits;
  DmOpenRef file = static_cast<DmOpenRef>(__OpenTmpDb(0, "sync_date", 0, 'L'));
  if (file) {
    uint32_t size = 0;
    const char* p = DmNumRecords(file) ? data::recordBytes(file, 0, &size) : nullptr;
    if (p) digits.assign(p, strnlen(p, size));
    DmCloseDatabase(file);
  }
  if (digits.size() < 8) digits = "19900101";
  return __INIT_CHARPTR(digits.substr(0, 8).c_str());
}

pObj_Node __GetSyncType() {
  sync::NetBlock* n = sync::netBlock();
  if (!n) __RuntimeError(LOW_MEMORY, -1);
  const char mode[2] = {n->modeByte, 0};
  return __INIT_CHARPTR(mode);
}

pObj_Node __SyncData(pObj_Node array) {
  if (!core::isType(array, T_ARRAY)) __RuntimeError(ARGUMENT_ERROR, -1);
  std::string host, user, deviceType, deviceId;
  int port = 0, timeout = 0;
  sync::readProfile(host, user, deviceType, deviceId, port, timeout);
  const bool pocket = core::host::modulePath().find(".exe") != std::string::npos;
  __AAdd(array, __INIT_CHARPTR(host.c_str()));
  __AAdd(array, __INIT_CHARPTR(user.c_str()));
  __AAdd(array, __INIT_CHARPTR(pocket ? "Pocket" : "Palm"));
  __AAdd(array, __INIT_CHARPTR(deviceId.c_str()));
  __AAdd(array, __INIT_DOUBLE(port));
  __AAdd(array, __INIT_DOUBLE(timeout));
  return array;
}

int __VerifyNgGlb(int checkInstaller) {
  sync::State& s = sync::state();
  // zlib is part of the run-time here, so compression is always there.
  s.config.compression = 1;
  __OpenMsgLog(0);
  if (checkInstaller && !core::host::fileExists(core::appDirectory() + "/rovane.exe") &&
      !core::host::fileExists(core::appDirectory() + "/rovane"))
    sync::showInfo(sync::syncMessage(113));
  s.config.allocated = true;
  s.config.start = time(nullptr);
  return 1;
}
