// The reference line of the data benchmarks: the work of the dbf
// benchmark's appends and scan (100,000 rows of the same five fields, one
// transaction, then a full read summing the same figures) done by SQLite in
// process, on a file in the given directory. Prints the seconds it took and
// the same checksum fields as the dbf program's scan.
//
//   sqlite_ref <directory> [rows]
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <string>

namespace {

void must(int rc, sqlite3* db, const char* what) {
  if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
  fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
  exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: sqlite_ref <directory> [rows]\n");
    return 2;
  }
  const long n = argc > 2 ? atol(argv[2]) : 100000;
  const std::string path = std::string(argv[1]) + "/bench.sqlite";
  remove(path.c_str());
  const auto start = std::chrono::steady_clock::now();
  sqlite3* db = nullptr;
  must(sqlite3_open(path.c_str(), &db), db, "open");
  must(sqlite3_exec(db, "CREATE TABLE t (id INTEGER, name TEXT, born REAL, active INTEGER, amount REAL)", nullptr,
                    nullptr, nullptr),
       db, "create");
  must(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
  sqlite3_stmt* insert = nullptr;
  must(sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?, ?, ?, ?, ?)", -1, &insert, nullptr), db, "prepare");
  const double base = 21916;  // 01/01/60 as a day number
  char name[16];
  for (long i = 1; i <= n; ++i) {
    snprintf(name, sizeof name, "K%08ld", (i * 7919) % n);
    sqlite3_bind_int64(insert, 1, i);
    sqlite3_bind_text(insert, 2, name, -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(insert, 3, base + static_cast<double>(i % 10000));
    sqlite3_bind_int(insert, 4, i % 3 == 0);
    sqlite3_bind_double(insert, 5, static_cast<double>(i % 1000) / 4);
    must(sqlite3_step(insert), db, "insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  must(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_stmt* scan = nullptr;
  must(sqlite3_prepare_v2(db, "SELECT active, amount, born FROM t", -1, &scan, nullptr), db, "prepare scan");
  long rows = 0, active = 0;
  double amount = 0, days = 0;
  while (sqlite3_step(scan) == SQLITE_ROW) {
    ++rows;
    active += sqlite3_column_int(scan, 0);
    amount += sqlite3_column_double(scan, 1);
    days += sqlite3_column_double(scan, 2) - base;
  }
  sqlite3_finalize(scan);
  sqlite3_close(db);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("sqlite seconds=%.3f rows=%ld checksum=%ld/%.2f/%ld/%.0f\n", seconds, rows, rows, amount, active, days);
  return 0;
}
