// Fuzzes the device's applying of a download file (".tPda") to a table with
// an index. The input is the file: byte 0 picks the kind ('T' total, else
// partial) and byte 1 whether the file is complete; then pieces, each a
// 16-bit big-endian length and its bytes. A piece whose first byte is even
// is stored as it stands (a raw packet); an odd one holds download rows,
// which the target compresses into a well-formed packet with the rows'
// count, so that the checks of the rows and the apply itself are reached.
// The table is made afresh for every input; applying must end with a result,
// never crash, leak or read out of bounds, and a refused file must leave the
// table as it was.
//
//   build: CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZELTA_FUZZ=ON -DZELTA_TESTS=OFF
//          cmake --build build-fuzz --target download_apply_fuzz
//   run:   mkdir -p corpus/apply
//          build-fuzz/tests/fuzz/download_apply_fuzz -max_len=65536 corpus/apply tests/fuzz/seeds/apply
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core.h"
#include "framing.h"
#include "store.h"
#include "sync_packets.h"
#include "sync_state.h"
#include "sync_tables.h"
#include "temp_db.h"
#include "zeltaarray.h"
#include "zeltaobjs.h"
#include "zeltardd.h"

namespace {

int quietBox(const char*, const char*, int) { return 1; }

// The fatal-error exit would end the run: a damaged file may only be refused.
[[noreturn]] void fatal(int code, int aux, const std::string& text) {
  fprintf(stderr, "run-time error %d/%d: %s\n", code, aux, text.c_str());
  abort();
}

pObj_Node field(const char* name, const char* type, double length, double decimals) {
  return __CreateArray(__INIT_CHARPTR(name), __INIT_CHARPTR(type), __INIT_DOUBLE(length), __INIT_DOUBLE(decimals),
                       __INIT_NUL());
}

void makeTable() {
  __dbCloseAll();
  pObj_Node s = __fcpObj_CT(vArray);
  __AAdd(s, field("CODE", "C", 6, 0));
  __AAdd(s, field("NAME", "C", 20, 0));
  __AAdd(s, field("BALANCE", "N", 10, 2));
  __AAdd(s, field("SINCE", "D", 8, 0));
  __AAdd(s, field("ACTIVE", "L", 1, 0));
  __DBCREATE(__INIT_CHARPTR("CLIENTS"), s);
  __DBUSEAREA(__INIT_BOOL(1), nullptr, __INIT_CHARPTR("CLIENTS"), __INIT_CHARPTR("CLI"));
  __DBCREATEINDEX(nullptr, __INIT_CHARPTR("CLI_CODE"), __INIT_CHARPTR("CODE"));
  // Two records, so that updates, deletes and a refused file have
  // something to meet.
  for (const char* code : {"A1", "B2"}) {
    __DBAPPEND(nullptr);
    __SetField(nullptr, __GetFieldPos(nullptr, __INIT_CHARPTR("CODE")), __INIT_CHARPTR(code));
  }
  __Commit(nullptr);
  __dbCloseAll();
}

double recordCount() {
  __DBUSEAREA(__INIT_BOOL(1), nullptr, __INIT_CHARPTR("CLIENTS"), __INIT_CHARPTR("CHK"));
  const pObj_Node n = __TBL_RecCount(nullptr);
  const double count = n ? n->objData.dValue : -1;
  __dbCloseAll();
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every input makes and deletes files: in memory when the system allows.
  char memory[] = "/dev/shm/zelta-apply-fuzz-XXXXXX", disk[] = "/tmp/zelta-apply-fuzz-XXXXXX";
  const char* pattern = mkdtemp(memory);
  if (!pattern) pattern = mkdtemp(disk);
  if (!pattern) abort();
  static std::string folder = pattern;
  atexit([] {
    const std::string command = "rm -rf '" + folder + "'";
    if (system(command.c_str()) != 0) {}
  });
  setenv("ZELTA_APPDIR", pattern, 1);
  core::setFatalTrap(fatal);
  __BeginGlobal();
  __begin_context();
  core::hooks().messageBox = quietBox;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The input's values live in a context of their own, freed at its end.
  __begin_context();
  makeTable();
  const double before = recordCount();
  data::DmOpenRef file = static_cast<data::DmOpenRef>(__OpenTmpDb(0, "CLIENTS", 1, 'P'));
  if (!file) {
    __end_context(nullptr);
    return 0;
  }
  char header[11] = {data[0] == 'T' ? 'T' : 'P', 0, (data[1] & 1) ? '1' : '0', 0, '0', '0', '0', '0', '0', '1', 0};
  data::appendTmpRecord(file, header, sizeof header);
  std::vector<uint8_t> packet(wire::kBufferSize);
  for (size_t at = 2; at + 2 <= size;) {
    const size_t n = std::min(static_cast<size_t>(data[at] << 8 | data[at + 1]), size - at - 2);
    const uint8_t* piece = data + at + 2;
    at += 2 + n;
    if (n == 0) continue;
    if (piece[0] % 2 == 0) {
      data::appendTmpRecord(file, piece, static_cast<uint32_t>(n));
      continue;
    }
    // Rows: count them by their lengths as the device would, so that the
    // packet's stated count is right when the rows are.
    const uint8_t* rows = piece + 1;
    const size_t length = n - 1;
    uint16_t count = 0;
    for (size_t r = 0; r + 2 <= length && count < 0xffff;) {
      const size_t l = static_cast<size_t>(rows[r] << 8 | rows[r + 1]);
      if (l < 3) break;
      r += l;
      ++count;
    }
    const wire::Deflated d =
        wire::buildDownloadPacket(rows, length, count, packet.data(), packet.size(), wire::Order::Big);
    if (d.status == wire::DeflateStatus::Ok) data::appendTmpRecord(file, packet.data(), static_cast<uint32_t>(d.size));
  }
  data::DmCloseDatabase(file);

  sync::ApplyCounts counts;
  std::string why;
  const sync::ApplyResult r = sync::applyDownload("CLIENTS", counts, why);
  if ((r == sync::ApplyResult::Damaged || r == sync::ApplyResult::Incomplete) && recordCount() != before) {
    fprintf(stderr, "a refused download changed the table: %s\n", why.c_str());
    abort();
  }
  __DeleteTmpDb(0, "CLIENTS", 'P');
  __dbCloseAll();
  __end_context(nullptr);
  sync::state().recentLog.clear();  // the log lines the tests read
  return 0;
}
