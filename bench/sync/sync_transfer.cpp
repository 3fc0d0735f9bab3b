// Transfer benchmark of zeltasyncd: a simulated device receives a total
// download of the shared dbf benchmark's table (100,000 records by default),
// inflating and reading every row as a device does, then uploads 10,000
// records of its own. Reports records per second each way, and the whole
// session against the time zlib alone takes (goal: within 2 times the
// inflate), for the first device and for a second one served from the
// server's cache of built packets. Run by hand:
//
//   build/bench/sync/sync_transfer build/dist/bin/zeltasyncd [records] [uploads]
//   (TMPDIR chooses where the database lives)
#include "device_sim.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s <zeltasyncd> [records] [uploads]\n", argv[0]);
    return 2;
  }
  const std::string program = argv[1];
  const long records = argc > 2 ? atol(argv[2]) : 100000;
  const long uploads = argc > 3 ? atol(argv[3]) : 10000;
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/sync-transfer-XXXXXX";
  const std::string dir = mkdtemp(&pattern[0]);
  const std::string db = dir + "/sync.db";
  std::ofstream(dir + "/bench.str") << sim::benchStructure();
  std::ofstream(dir + "/bench.csv") << sim::benchCsv(1, records + 1, records);
  const std::string admin = "'" + program + "' admin --db '" + db + "' ";
  const sim::Clock::time_point loadStart = sim::Clock::now();
  if (sim::run(admin + "load-table '" + dir + "/bench.str' '" + dir + "/bench.csv' > /dev/null") != 0 ||
      sim::run(admin + "add-user bench dev0 > /dev/null") != 0)
    return 1;
  const double loadSeconds = sim::seconds(loadStart);

  sim::Server server(program, {"--db", db}, dir + "/sessions.log");
  if (!server.port()) return 1;
  const std::vector<wire::FieldDef> fields = sim::benchFields();

  // The first session: the catalog and the table in full.
  double inflateSeconds = 0;
  long received = 0;
  std::vector<sim::Bytes> packets;
  const double cpuStart = server.cpuSeconds();
  const sim::Clock::time_point start = sim::Clock::now();
  {
    sim::Device d;
    if (!d.connect(server.port()) || !d.login("bench", "dev0")) return 1;
    const int count = d.taskCount();
    for (int n = 1; n <= count; ++n) {
      sim::Device::Task t;
      if (!d.task(n, t)) return 1;
      if (t.type != 1 || t.count == 0) continue;
      const long got = d.download(t.table == "BENCHTBL" ? &fields : nullptr, inflateSeconds,
                                  t.table == "BENCHTBL" ? &packets : nullptr);
      if (got < 0) return 1;
      if (t.table == "BENCHTBL") received = got;
    }
    d.goodbye();
  }
  const double downloadSeconds = sim::seconds(start);
  const double downloadCpu = server.cpuSeconds() - cpuStart;
  // A second device receives the same total download, which the server now
  // sends from its cache of built packets.
  if (sim::run(admin + "add-user bench dev1 > /dev/null") != 0) return 1;
  double inflateAgain = 0;
  long receivedAgain = 0;
  const sim::Clock::time_point again = sim::Clock::now();
  {
    sim::Device d;
    if (!d.connect(server.port()) || !d.login("bench", "dev1")) return 1;
    const int count = d.taskCount();
    for (int n = 1; n <= count; ++n) {
      sim::Device::Task t;
      if (!d.task(n, t)) return 1;
      if (t.type != 1 || t.count == 0) continue;
      const long got = d.download(t.table == "BENCHTBL" ? &fields : nullptr, inflateAgain);
      if (t.table == "BENCHTBL") receivedAgain = got;
    }
    d.goodbye();
  }
  const double againSeconds = sim::seconds(again);
  // zlib alone over the same packets, for the ratio.
  std::vector<uint8_t> plain(wire::kBufferSize);
  const sim::Clock::time_point zlibStart = sim::Clock::now();
  for (const sim::Bytes& p : packets) wire::inflateLimited(p.data() + 10, p.size() - 10, plain.data(), plain.size());
  const double zlibSeconds = sim::seconds(zlibStart);

  // The second session: uploads of changed and new records.
  std::vector<wire::Row> rows;
  for (long i = 0; i < uploads; ++i) {
    wire::Row r = sim::benchRow(i * 7 % records + 1, records);
    if (i % 2) r = sim::benchRow(records + i, records);  // half of them new
    r[4].number += 1;
    rows.push_back(r);
  }
  double deflateSeconds = 0;
  const sim::Clock::time_point upStart = sim::Clock::now();
  {
    sim::Device d;
    if (!d.connect(server.port()) || !d.login("bench", "dev0")) return 1;
    const int count = d.taskCount();
    sim::Device::Task t;
    if (count < 1 || !d.task(1, t) || t.type != 2 || !d.upload(fields, rows, deflateSeconds)) return 1;
    if (count > 1) d.task(2, t);  // the write-back happens before this reply
    d.goodbye();
  }
  const double uploadSeconds = sim::seconds(upStart);
  const long peak = server.peakKilobytes();

  printf("load-table of %ld records: %.2f s\n", records, loadSeconds);
  printf("download: %ld records in %zu packets, %.3f s, %.0f records/s\n", received, packets.size(), downloadSeconds,
         received / downloadSeconds);
  printf("  the server's processor time in it: %.2f s\n", downloadCpu);
  printf("  zlib inflate alone %.3f s (in the session %.3f s): session / inflate = %.2f\n", zlibSeconds, inflateSeconds,
         downloadSeconds / zlibSeconds);
  printf(
      "the same download to a second device (from the cache): %ld records, %.3f s, %.0f records/s, "
      "session / inflate = %.2f\n",
      receivedAgain, againSeconds, receivedAgain / againSeconds, againSeconds / zlibSeconds);
  printf("upload: %ld records, %.3f s, %.0f records/s (deflate %.3f s)\n", uploads, uploadSeconds,
         uploads / uploadSeconds, deflateSeconds);
  printf("server peak resident %ld kB\n", peak);
  sim::run("rm -rf '" + dir + "'");
  return received == records ? 0 : 1;
}
