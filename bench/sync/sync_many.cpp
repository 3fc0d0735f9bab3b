// Many devices at once against zeltasyncd: each of them uploads records of
// its own and receives the table, all sessions at the same time. Checks that
// no record is lost and reports the total time and the servers' peak memory,
// with SQLite behind one server, or PostgreSQL (a throw-away server) behind
// two. Run by hand:
//
//   build/bench/sync/sync_many build/dist/bin/zeltasyncd [devices] [records] [sqlite|postgres]
#include <atomic>
#include <memory>
#include <thread>

#include "device_sim.h"
#include "postgres_process.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s <zeltasyncd> [devices] [records] [sqlite|postgres]\n", argv[0]);
    return 2;
  }
  const std::string program = argv[1];
  const int devices = argc > 2 ? atoi(argv[2]) : 50;
  const long records = argc > 3 ? atol(argv[3]) : 1000;
  const bool postgres = argc > 4 && std::string(argv[4]) == "postgres";
  const long initial = 1000;

  char pattern[] = "/tmp/sync-many-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  PostgresProcess pg;
  std::vector<std::string> option = {"--db", dir + "/sync.db"};
  if (postgres) {
    std::string why;
    if (!pg.start(why)) {
      fprintf(stderr, "PostgreSQL could not be started: %s\n", why.c_str());
      return 1;
    }
    option = {"--pg", pg.newDatabase("bench")};
  }
  const std::string admin = "'" + program + "' admin " + option[0] + " '" + option[1] + "' ";
  std::ofstream(dir + "/bench.str") << sim::benchStructure();
  std::ofstream(dir + "/bench.csv") << sim::benchCsv(1, initial + 1, initial);
  if (sim::run(admin + "load-table '" + dir + "/bench.str' '" + dir + "/bench.csv' > /dev/null") != 0) return 1;
  for (int d = 0; d < devices; ++d)
    if (sim::run(admin + "add-user bench dev" + std::to_string(d) + " > /dev/null") != 0) return 1;

  std::vector<std::unique_ptr<sim::Server>> servers;
  for (int s = 0; s < (postgres ? 2 : 1); ++s) {
    servers.push_back(std::make_unique<sim::Server>(program, option, dir + "/sessions" + std::to_string(s) + ".log"));
    if (!servers.back()->port()) return 1;
  }
  const std::vector<wire::FieldDef> fields = sim::benchFields();
  std::atomic<int> failed{0};
  std::atomic<long> received{0};
  const sim::Clock::time_point start = sim::Clock::now();
  std::vector<std::thread> threads;
  for (int d = 0; d < devices; ++d)
    threads.emplace_back([&, d] {
      std::vector<wire::Row> mine;
      for (long i = 0; i < records; ++i) mine.push_back(sim::benchRow(initial + 1 + d * records + i, initial));
      sim::Device device;
      double zlib = 0;
      if (!device.connect(servers[static_cast<size_t>(d) % servers.size()]->port()) ||
          !device.login("bench", "dev" + std::to_string(d))) {
        ++failed;
        return;
      }
      const int count = device.taskCount();
      for (int n = 1; n <= count; ++n) {
        sim::Device::Task t;
        if (!device.task(n, t)) {
          ++failed;
          return;
        }
        if (t.type == 2 && !device.upload(fields, mine, zlib)) {
          ++failed;
          return;
        }
        if (t.type == 1 && t.count > 0) {
          const long got = device.download(t.table == "BENCHTBL" ? &fields : nullptr, zlib);
          if (got < 0) {
            ++failed;
            return;
          }
          if (t.table == "BENCHTBL") received += got;
        }
      }
      if (!device.goodbye()) ++failed;
    });
  for (std::thread& t : threads) t.join();
  const double total = sim::seconds(start);
  std::vector<long> peaks;
  for (auto& s : servers) peaks.push_back(s->peakKilobytes());
  servers.clear();

  FILE* p = popen((admin + "export-table BENCHTBL | wc -l").c_str(), "r");
  long lines = 0;
  if (p) {
    if (fscanf(p, "%ld", &lines) != 1) lines = 0;
    pclose(p);
  }
  const long stored = lines - 1;
  const long expected = initial + devices * records;
  printf("%s, %zu server%s: %d devices, %ld records uploaded each\n", postgres ? "PostgreSQL" : "SQLite", peaks.size(),
         peaks.size() == 1 ? "" : "s", devices, records);
  printf("sessions failed %d; records stored %ld of %ld%s; records downloaded %ld\n", failed.load(), stored, expected,
         stored == expected ? "" : " (LOST)", received.load());
  printf("total %.2f s, %.0f uploaded records/s\n", total, devices * records / total);
  for (size_t s = 0; s < peaks.size(); ++s) printf("server %zu peak resident %ld kB\n", s + 1, peaks[s]);
  sim::run("rm -rf '" + dir + "'");
  return failed == 0 && stored == expected ? 0 : 1;
}
