// A writer killed with SIGKILL at random instants of a write-heavy loop
// (appends, updates with memos, deletions, packs, temporary databases, and
// an index kept up to date throughout) must leave every database openable,
// every committed change in place and the index whole or rebuilt. The
// writer is a forked child that reports each commit over a pipe; after each
// kill the test opens everything again and checks it. ZELTA_KILL_ROUNDS sets
// the number of kills (50 by default; run thousands by hand).
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <map>
#include <random>
#include <string>

#include "core.h"
#include "number_text.h"
#include "store.h"
#include "temp_db.h"
#include "zeltaarray.h"
#include "zeltardd.h"

namespace {

struct Event {
  char kind;  // 'a' appended, 'u' updated, 'd' deleted, 'p' packed, 't' temporary database written
  uint32_t id;
  uint32_t version;
};

double check(uint32_t id, uint32_t version) { return static_cast<double>(id) * 7919.0 + version * 31.0; }
std::string name(uint32_t id, uint32_t version) { return "N" + std::to_string(id) + "v" + std::to_string(version); }
std::string memo(uint32_t id, uint32_t version) {
  return "memo of " + std::to_string(id) + " at " + std::to_string(version) + std::string(id % 50, '.');
}

pObj_Node S(const std::string& s) { return __INIT_CHARPTR(s.c_str()); }
pObj_Node N(double x) { return __INIT_DOUBLE(x); }
void put(const char* field, pObj_Node value) { __SetField(nullptr, __GetFieldPos(nullptr, S(field)), value); }
pObj_Node get(const char* field) { return __GetFieldByName(nullptr, S(field)); }
double num(const char* field) { return get(field)->objData.dValue; }
std::string text(const char* field) {
  std::string t = get(field)->objData.mbuff;
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

void openTable() {
  if (!data::DmFindDatabase(0, "LEDGER")) {
    pObj_Node s = __fcpObj_CT(vArray);
    const char* fields[][3] = {
        {"ID", "N", "10"}, {"VER", "N", "10"}, {"CHK", "N", "16"}, {"NAME", "C", "20"}, {"NOTE", "M", "10"}};
    for (auto& f : fields) __AAdd(s, __CreateArray(S(f[0]), S(f[1]), N(atoi(f[2])), N(0), __INIT_NUL()));
    __DBCREATE(S("LEDGER"), s);
  }
  __DBUSEAREA(__INIT_BOOL(1), nullptr, S("LEDGER"), S("LED"));
  if (!__IndexKey(nullptr, N(1))->objData.mbuff[0]) {
    __DBCREATEINDEX(nullptr, S("LEDGERIDX"), S("NAME"));
    __ClearIndex(nullptr);
  }
}

void exitTrap(int code, int aux, const std::string& report) {
  fprintf(stderr, "writer failed: %d/%d %s\n", code, aux, report.c_str());
  _exit(3);
}

[[noreturn]] void writer(int out, unsigned seed) {
  core::setFatalTrap(exitTrap);
  __BeginGlobal();
  __begin_context();
  openTable();
  std::mt19937 random(seed);
  uint32_t next = 0;
  for (__TBL_GoTop(nullptr); !__GET_BOOL(__TBL_Eof(nullptr)); __TBL_Skip(nullptr))
    if (num("ID") > next) next = static_cast<uint32_t>(num("ID"));
  for (uint64_t step = 0;; ++step) {
    __begin_context();
    const unsigned roll = random() % 1000;
    Event e{};
    const double count = __TBL_RecCount(nullptr)->objData.dValue;
    if (roll < 650 || count < 5) {
      e = Event{'a', ++next, 0};
      __DBAPPEND(nullptr);
      put("ID", N(e.id));
      put("VER", N(0));
      put("CHK", N(check(e.id, 0)));
      put("NAME", S(name(e.id, 0)));
      put("NOTE", S(memo(e.id, 0)));
      __Commit(nullptr);
    } else if (roll < 900) {
      __TBL_GoTo(nullptr, N(1 + random() % static_cast<unsigned>(count)));
      if (__GET_BOOL(__TBL_Deleted(nullptr))) {
        __end_context(nullptr);
        continue;
      }
      e = Event{'u', static_cast<uint32_t>(num("ID")), static_cast<uint32_t>(num("VER")) + 1};
      put("VER", N(e.version));
      put("CHK", N(check(e.id, e.version)));
      put("NAME", S(name(e.id, e.version)));
      put("NOTE", S(memo(e.id, e.version)));
      __Commit(nullptr);
    } else if (roll < 980) {
      __TBL_GoTo(nullptr, N(1 + random() % static_cast<unsigned>(count)));
      e = Event{'d', static_cast<uint32_t>(num("ID")), 0};
      __TBL_Delete(nullptr);
      __Commit(nullptr);
    } else if (roll < 985) {
      __dbPack(nullptr);
      e = Event{'p', 0, 0};
    } else {
      const uint32_t k = random() % 4;
      void* db = __OpenTmpDb(0, ("SCRATCH" + std::to_string(k)).c_str(), 1, 'L');
      for (int i = 0; i < 20; ++i) data::appendTmpRecord(static_cast<data::DmOpenRef>(db), "scratch line", 13);
      data::DmCloseDatabase(static_cast<data::DmOpenRef>(db));
      e = Event{'t', k, 0};
    }
    __end_context(nullptr);
    if (write(out, &e, sizeof e) != sizeof e) _exit(4);
  }
}

struct Expected {
  uint32_t version = 0;
  bool deleted = false;
};

class KillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelta-kill-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    setenv("ZELTA_APPDIR", dir_.c_str(), 1);
    lib::setDecimalSeparator('.');
  }
  void TearDown() override {
    if (!HasFailure()) system(("rm -rf '" + dir_ + "'").c_str());
  }

  // Opens everything the writer left and compares it with what it reported.
  void verify(int round) {
    ASSERT_TRUE(__BeginGlobal());
    __begin_context();
    openTable();
    std::map<uint32_t, bool> seen;
    for (__TBL_GoTop(nullptr); !__GET_BOOL(__TBL_Eof(nullptr)); __TBL_Skip(nullptr)) {
      __begin_context();
      const uint32_t id = static_cast<uint32_t>(num("ID"));
      const uint32_t version = static_cast<uint32_t>(num("VER"));
      ASSERT_EQ(num("CHK"), check(id, version)) << "round " << round << " record " << id;
      ASSERT_EQ(text("NAME"), name(id, version)) << "round " << round;
      ASSERT_EQ(text("NOTE"), memo(id, version)) << "round " << round;
      ASSERT_FALSE(seen.count(id)) << "record " << id << " twice";
      seen[id] = __GET_BOOL(__TBL_Deleted(nullptr));
      auto e = expected_.find(id);
      if (e != expected_.end()) {
        ASSERT_GE(version, e->second.version) << "round " << round << " lost an update";
      }
      __end_context(nullptr);
    }
    for (const auto& e : expected_) {
      if (e.second.deleted) continue;
      ASSERT_TRUE(seen.count(e.first)) << "round " << round << " lost record " << e.first;
    }
    for (int k = 0; k < 4; ++k) {
      const std::string n = data::tmpDbName(("SCRATCH" + std::to_string(k)).c_str(), 'L');
      if (const data::LocalID id = data::DmFindDatabase(0, n.c_str())) {
        data::DmOpenRef db = data::DmOpenDatabase(0, id, data::dmModeReadWrite);
        ASSERT_NE(db, nullptr) << n;
        for (uint32_t i = 0; i < data::DmNumRecords(db); ++i) ASSERT_NE(data::recordBytes(db, i, nullptr), nullptr);
        data::DmCloseDatabase(db);
      }
    }
    ASSERT_NE(access((dir_ + "/catalog.plm.damaged").c_str(), F_OK), 0) << "the catalog was damaged";
    // The index: every record once, in key order, each found by its key.
    if (!__IndexKey(nullptr, N(1))->objData.mbuff[0]) {
      __end_context(nullptr);
      __EndGlobal();
      return;  // killed before it was made
    }
    __TBL_SetOrder(nullptr, N(1));
    std::string previous;
    size_t walked = 0;
    for (__TBL_GoTop(nullptr); !__GET_BOOL(__TBL_Eof(nullptr)); __TBL_Skip(nullptr)) {
      __begin_context();
      const std::string current = get("NAME")->objData.mbuff;
      ASSERT_LE(previous, current) << "round " << round << ": the index is out of order";
      previous = current;
      if (walked++ % 97 == 0) {
        const double id = num("ID");
        ASSERT_TRUE(__GET_BOOL(__Seek(nullptr, S(current), nullptr))) << "round " << round << " " << current;
        ASSERT_EQ(num("ID"), id);
      }
      __end_context(nullptr);
    }
    ASSERT_EQ(walked, seen.size()) << "round " << round << ": the index misses records";
    __end_context(nullptr);
    __EndGlobal();
  }

  void note(const Event& e) {
    if (e.kind == 'a') expected_[e.id] = Expected{0, false};
    if (e.kind == 'u') expected_[e.id].version = e.version;
    if (e.kind == 'd') expected_[e.id].deleted = true;
  }

  std::string dir_;
  std::map<uint32_t, Expected> expected_;
};

TEST_F(KillTest, CommittedChangesSurvive) {
  const char* env = getenv("ZELTA_KILL_ROUNDS");
  const int rounds = env && atoi(env) > 0 ? atoi(env) : 50;
  std::mt19937 random(12345);
  long events = 0;
  for (int round = 0; round < rounds; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(fds[0]);
      writer(fds[1], static_cast<unsigned>(round) * 7 + 1);
    }
    close(fds[1]);
    const long micros = 2000 + static_cast<long>(random() % 20000);
    struct timespec pause = {0, micros * 1000};
    nanosleep(&pause, nullptr);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;
    Event e;
    while (read(fds[0], &e, sizeof e) == static_cast<ssize_t>(sizeof e)) {
      note(e);
      ++events;
    }
    close(fds[0]);
    verify(round);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(events, rounds) << "the writer should commit between kills";
  printf("%d kills, %ld commits seen, %zu records\n", rounds, events, expected_.size());
}

}  // namespace
