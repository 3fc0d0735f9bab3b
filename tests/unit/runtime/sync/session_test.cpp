// Whole sessions of the device against a scripted server: a download cut
// after some packets and resumed in mode 'P', a complete total download not
// fetched again, the task filter, and uploads whose dirty flags stay until
// every packet was acknowledged.
#include "sync_fixture.h"

#include "arguments.h"
#include "framing.h"
#include "host.h"
#include "protocol.h"
#include "zlib_codec.h"
#include "status.h"
#include "store.h"
#include "sync_packets.h"
#include "table_rows.h"
#include "temp_db.h"
#include "zeltaarray.h"
#include "zeltanet.h"
#include "zeltardd.h"

namespace {

const std::vector<wire::FieldDef> kFields = {{"CODE", 'C', 6, 0}, {"NAME", 'C', 20, 0}};

// A download packet of insert rows, without its two kept bytes.
Bytes packetOf(const std::vector<std::pair<const char*, const char*>>& rows) {
  std::vector<uint8_t> plain;
  for (const auto& r : rows) {
    wire::Row row(2);
    row[0].text = r.first;
    row[1].text = r.second;
    const size_t at = plain.size();
    plain.insert(plain.end(), {0, 0, 1});
    wire::appendStoredRecord(kFields, row, plain);
    wire::put16(&plain[at], static_cast<uint16_t>(plain.size() - at), wire::Order::Big);
  }
  Bytes out(wire::kBufferSize);
  const wire::Deflated d = wire::buildDownloadPacket(plain.data(), plain.size(), static_cast<uint16_t>(rows.size()),
                                                     out.data(), out.size(), wire::Order::Big);
  return Bytes(out.begin() + 2, out.begin() + static_cast<long>(d.size));
}

Bytes downloadTask(uint32_t count, char mode) {
  return Bytes{13, 1, 0} + text("CLIENTS") +
         Bytes{static_cast<uint8_t>(count >> 24), static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 8),
               static_cast<uint8_t>(count), static_cast<uint8_t>(mode)};
}

const Bytes kEndOfStream = {11, 0};

uint8_t commandOf(const Bytes& request) { return request.size() > 2 ? request[2] : 0; }

class SessionTest : public SyncTest {
 protected:
  void SetUp() override {
    SyncTest::SetUp();
    pObj_Node s = __fcpObj_CT(vArray);
    __AAdd(s, __CreateArray(__INIT_CHARPTR("CODE"), __INIT_CHARPTR("C"), __INIT_DOUBLE(6), __INIT_DOUBLE(0),
                            __INIT_NUL()));
    __AAdd(s, __CreateArray(__INIT_CHARPTR("NAME"), __INIT_CHARPTR("C"), __INIT_DOUBLE(20), __INIT_DOUBLE(0),
                            __INIT_NUL()));
    __DBCREATE(__INIT_CHARPTR("CLIENTS"), s);
    use();
    __DBCREATEINDEX(nullptr, __INIT_CHARPTR("CLI_CODE"), __INIT_CHARPTR("CODE"));
    __dbCloseAll();
  }
  static void use() { __DBUSEAREA(__INIT_BOOL(1), nullptr, __INIT_CHARPTR("CLIENTS"), __INIT_CHARPTR("CLI")); }
  int session(int port, double filter = 0) {
    pObj_Node status =
        __DoSync(__INIT_CHARPTR(""), __INIT_CHARPTR("127.0.0.1"), __INIT_DOUBLE(port), __INIT_DOUBLE(20),
                 __INIT_CHARPTR("joe"), __INIT_CHARPTR("dev1"), filter ? __INIT_DOUBLE(filter) : nullptr);
    return static_cast<int>(status->objData.dValue);
  }
  // The codes of the table's records in record order, '*' after a dirty one.
  std::string codes() {
    use();
    std::string out;
    for (__TBL_GoTop(nullptr); !__GET_BOOL(__TBL_Eof(nullptr)); __TBL_Skip(nullptr, __INIT_DOUBLE(1))) {
      std::string code(core::textOf(__GetFieldByName(nullptr, __INIT_CHARPTR("CODE"))));
      out += code.substr(0, code.find(' ')) + (__GET_BOOL(__IsDirty(nullptr)) ? "* " : " ");
    }
    __dbCloseAll();
    return out;
  }
  // Packets stored in the download file, and whether it is complete.
  std::pair<uint32_t, char> downloadFile() {
    data::DmOpenRef f = static_cast<data::DmOpenRef>(__OpenTmpDb(0, "CLIENTS", 0, 'P'));
    if (!f) return {0, '-'};
    const uint32_t n = data::DmNumRecords(f);
    uint32_t size = 0;
    const char* header = n ? data::recordBytes(f, 0, &size) : nullptr;
    const char complete = header ? header[2] : '-';
    data::DmCloseDatabase(f);
    return {n ? n - 1 : 0, complete};
  }
  void addDirty(const char* code) {
    use();
    __DBAPPEND(nullptr);
    __SetField(nullptr, __GetFieldPos(nullptr, __INIT_CHARPTR("CODE")), __INIT_CHARPTR(code));
    __Commit(nullptr);
    __dbCloseAll();
  }
};

TEST_F(SessionTest, DownloadCutShortIsResumedInModePWithThePacketsKept) {
  {
    FakeServer fake([](FakeServer& f) {
      f.request();
      f.reply(acceptedBody());
      f.request();
      f.reply(text("1"));
      f.request();
      f.reply(downloadTask(3, 'P'));
      f.request();  // 11: the stream
      f.reply(packetOf({{"A1", "Ana"}}));
      f.reply(packetOf({{"B2", "Bruno"}}));
      f.closeNow();
    });
    EXPECT_EQ(session(fake.port()), sync::kStatusDownloadBroken);
  }
  EXPECT_EQ(downloadFile(), (std::pair<uint32_t, char>{2, '0'}));
  EXPECT_EQ(codes(), "");  // nothing applied from an incomplete file
  {
    FakeServer fake([](FakeServer& f) {
      f.request();
      f.reply(acceptedBody());
      f.request();
      f.reply(text("1"));
      f.request();
      f.reply(downloadTask(1, 'P'));
      f.request();
      f.reply(packetOf({{"C3", "Carla"}}));
      f.reply(kEndOfStream);
      f.request();  // goodbye
    });
    EXPECT_EQ(session(fake.port()), 0);
  }
  EXPECT_EQ(codes(), "A1 B2 C3 ");
  EXPECT_EQ(downloadFile().first, 0u);  // applied and deleted
}

TEST_F(SessionTest, DamagedPacketFailsTheSessionWithoutAGoodbye) {
  Bytes damaged = packetOf({{"Z9", "Zeca"}});
  damaged[damaged.size() - 2] ^= 0xff;  // the stream's checksum
  FakeServer fake([&](FakeServer& f) {
    f.request();
    f.reply(acceptedBody());
    f.request();
    f.reply(text("1"));
    f.request();
    f.reply(downloadTask(2, 'P'));
    f.request();
    f.reply(packetOf({{"A1", "Ana"}}));
    f.reply(damaged);
    f.reply(kEndOfStream);
  });
  EXPECT_EQ(session(fake.port()), sync::kStatusDownloadBroken);
  fake.join();
  EXPECT_EQ(fake.requests.size(), 4u);  // no goodbye: the server sends it all again
  EXPECT_EQ(downloadFile(), (std::pair<uint32_t, char>{1, '0'}));
  EXPECT_EQ(codes(), "");
}

TEST_F(SessionTest, CompleteTotalDownloadIsNotFetchedAgain) {
  {
    FakeServer fake([](FakeServer& f) {
      f.request();
      f.reply(acceptedBody());
      f.request();
      f.reply(text("2"));
      f.request();
      f.reply(downloadTask(1, 'T'));
      f.request();
      f.reply(packetOf({{"T1", "Total"}}));
      f.reply(kEndOfStream);
      f.closeNow();  // gone before the second task: the file stays complete
    });
    EXPECT_NE(session(fake.port()), 0);
  }
  // The complete file was applied when the session ended.
  EXPECT_EQ(codes(), "T1 ");
  // Stored again as a complete total download that was not applied yet.
  data::DmOpenRef file = static_cast<data::DmOpenRef>(__OpenTmpDb(0, "CLIENTS", 1, 'P'));
  const char header[11] = {'T', 0, '1', 0, '0', '0', '0', '0', '0', '1', 0};
  data::appendTmpRecord(file, header, sizeof header);
  const Bytes p = Bytes{0, 1} + packetOf({{"U2", "Again"}});
  data::appendTmpRecord(file, p.data(), static_cast<uint32_t>(p.size()));
  data::DmCloseDatabase(file);
  FakeServer fake([](FakeServer& f) {
    f.request();
    f.reply(acceptedBody());
    f.request();
    f.reply(text("1"));
    f.request();
    f.reply(downloadTask(1, 'T'));
    f.request();  // the goodbye, not a download request
  });
  EXPECT_EQ(session(fake.port()), 0);
  fake.join();
  ASSERT_EQ(fake.requests.size(), 4u);
  EXPECT_EQ(commandOf(fake.requests[3]), 2);
  EXPECT_EQ(codes(), "U2 ");
}

TEST_F(SessionTest, UploadKeepsDirtyFlagsUntilEveryPacketIsAcknowledged) {
  // The catalog marks CLIENTS for upload.
  ASSERT_EQ(OpenCatalogTables(3), 1);
  __Select(__INIT_CHARPTR("ZEL_TBL"));
  __DBAPPEND(nullptr);
  __SetField(nullptr, __GetFieldPos(nullptr, __INIT_CHARPTR("TBLNAME")), __INIT_CHARPTR("CLIENTS"));
  __SetField(nullptr, __GetFieldPos(nullptr, __INIT_CHARPTR("TBLTOHOST")), __INIT_CHARPTR("T"));
  __Commit(nullptr);
  __dbCloseAll();
  addDirty("D1");
  addDirty("D2");
  const Bytes uploadTask = Bytes{13, 2, 0} + text("CLIENTS");
  for (const uint8_t ack : {0, 13}) {
    Bytes sent;
    FakeServer fake([&](FakeServer& f) {
      f.request();
      f.reply(acceptedBody());
      f.request();
      f.reply(text("1"));
      f.request();
      f.reply(uploadTask);
      sent = f.request();
      f.reply(ack ? Bytes{13} : Bytes{0} + text("refused"));
      f.request();
    });
    const int status = session(fake.port());
    fake.join();
    ASSERT_GE(sent.size(), wire::kUploadHeader);
    EXPECT_EQ(sent[2], 11);
    EXPECT_EQ(sent[3], 12);
    EXPECT_EQ(wire::get16(sent.data() + 9, wire::Order::Big), 2);  // both records, the same each time
    if (ack) {
      EXPECT_EQ(status, 0);
      EXPECT_EQ(codes(), "D1 D2 ");
    } else {
      EXPECT_EQ(status, sync::kStatusUploadRefused);
      EXPECT_EQ(codes(), "D1* D2* ");
    }
  }
  EXPECT_EQ(data::DmFindDatabase(0, "TOHOST"), 0u);
  EXPECT_EQ(data::DmFindDatabase(0, data::tmpDbName("CLIENTS", 'H').c_str()), 0u);
}

TEST_F(SessionTest, FilterTwoRunsOnlyDownloads) {
  FakeServer fake([](FakeServer& f) {
    f.request();
    f.reply(acceptedBody());
    f.request();
    f.reply(text("2"));
    f.request();
    f.reply(Bytes{13, 2, 0} + text("CLIENTS"));  // an upload: skipped
    f.request();
    f.reply(downloadTask(1, 'P'));
    f.request();
    f.reply(packetOf({{"F1", "Filtered"}}));
    f.reply(kEndOfStream);
    f.request();
  });
  static std::vector<int> moves;
  moves.clear();
  sync::state().ui.taskProgress = [](int percent) { moves.push_back(percent); };
  EXPECT_EQ(session(fake.port(), 2), 0);
  sync::state().ui.taskProgress = nullptr;
  EXPECT_EQ(moves, (std::vector<int>{50, 100}));  // the bar moves after each task
  fake.join();
  ASSERT_EQ(fake.requests.size(), 6u);
  EXPECT_EQ(commandOf(fake.requests[3]), 8);   // the next task, no upload packet
  EXPECT_EQ(commandOf(fake.requests[4]), 11);  // the download
  EXPECT_EQ(codes(), "F1 ");
}

}  // namespace

namespace {

// A chunk of a pushed file: its stated size, then the deflated bytes.
Bytes chunk(size_t stated, const std::string& data) {
  Bytes packed(wire::kBufferSize);
  const wire::Deflated d =
      wire::deflateWhole(reinterpret_cast<const uint8_t*>(data.data()), data.size(), packed.data(), packed.size());
  return text(std::to_string(stated)) + Bytes(packed.begin(), packed.begin() + static_cast<long>(d.size));
}

}  // namespace

namespace {

// Every case sends its requests at once; a loaded machine (the sanitizer
// build beside other builds) may still take seconds between two of them.
constexpr int kLoadedWaitMs = 20000;

// The task number (10 or 22), then the offer and the whole file in one chunk.
void pushWhole(FakeServer& f, uint8_t type, const std::string& name, const std::string& data) {
  f.request();
  f.reply(acceptedBody());
  f.request();
  f.reply(text("1"));
  f.request();
  f.reply(Bytes{13, type, 16, 0});
  EXPECT_EQ(commandOf(f.request()), wire::kFileInfo) << name;
  f.reply(Bytes{13} + text(name) + text("0"));
  EXPECT_EQ(commandOf(f.request()), wire::kStartFile) << name;
  f.reply(Bytes{13} + text(std::to_string(data.size())));
  f.reply(chunk(data.size(), data));
  f.request();  // the goodbye
  f.closeNow();
}

std::string contentOf(const std::string& path) {
  std::string out;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char b[256];
    for (size_t n; (n = fread(b, 1, sizeof b, f)) > 0;) out.append(b, n);
    fclose(f);
  }
  return out;
}

}  // namespace

// A component (task 10 or 22) is written beside the program with its "_"
// and listed, and the session ends as a restart; the installer itself is
// written under its own name, through ".part", and is neither listed nor a
// reason to restart.
TEST_F(SessionTest, PushedFilesLandWhereTheInstallerLooks) {
  const std::string program = core::host::modulePath();
  const std::string dir = program.substr(0, program.find_last_of('/'));
  const struct {
    uint8_t type;
    const char* name;
    const char* written;
    bool listed;
  } cases[] = {
      {10, "zz_component.bin", "zz_component.bin_", true},
      {22, "zz_other.bin", "zz_other.bin_", true},
      {10, "Rovane", "Rovane", false},
  };
  for (const auto& c : cases) {
    const std::string data = std::string("new ") + c.name + std::string(3000, 'x');
    FakeServer fake([&](FakeServer& f) { pushWhole(f, c.type, c.name, data); }, kLoadedWaitMs);
    EXPECT_EQ(session(fake.port()), 0) << c.name;
    fake.join();
    const std::string written = dir + "/" + c.written;
    EXPECT_EQ(contentOf(written), data) << c.name;
    EXPECT_FALSE(core::host::fileExists(written + ".part")) << c.name;
    EXPECT_EQ(logged("TaskExecute: Erro=9999"), c.listed) << c.name;
    EXPECT_EQ(glob->shutdown != 0, c.listed) << c.name;  // the installer starts when the program ends
    glob->shutdown = 0;
    const data::LocalID listed = data::DmFindDatabase(0, "ZELTAINST.tLog");
    EXPECT_EQ(listed != 0, c.listed) << c.name;
    if (listed) {
      data::DmOpenRef list = static_cast<data::DmOpenRef>(__OpenTmpDb(0, "ZELTAINST", 0, 'L'));
      ASSERT_TRUE(list);
      uint32_t size = 0;
      const char* record = data::DmNumRecords(list) ? data::recordBytes(list, 0, &size) : nullptr;
      EXPECT_EQ(record ? std::string(record) : std::string(), written) << c.name;
      data::DmCloseDatabase(list);
      data::DmDeleteDatabase(0, listed);
    }
    core::host::removeFile(written);
    sync::state().recentLog.clear();
  }
}

// A pushed file that is unsafe, damaged or cut short leaves nothing behind
// for the installer: no "_" file, no list, and the session's status says why.
TEST_F(SessionTest, BrokenPushedFilesLeaveNothingForTheInstaller) {
  const std::string program = core::host::modulePath();
  const std::string dir = program.substr(0, program.find_last_of('/'));
  const struct {
    const char* name;
    const char* file;
    std::vector<Bytes> transfer;  // after the start request; empty: none asked
    int status;
  } cases[] = {
      {"a name climbing out", "../zz_pushed.bin", {}, sync::kStatusInstallInfoNotRead},
      {"a name with a folder", "sub/zz_pushed.bin", {}, sync::kStatusInstallInfoNotRead},
      {"a chunk smaller than stated",
       "zz_pushed.bin",
       {Bytes{13} + text("10"), chunk(10, "12345")},
       sync::kStatusInstallChunk},
      {"a chunk past the total",
       "zz_pushed.bin",
       {Bytes{13} + text("3"), chunk(5, "12345")},
       sync::kStatusInstallChunk},
      {"a damaged stream",
       "zz_pushed.bin",
       {Bytes{13} + text("5"), chunk(5, "12345") + Bytes{}},
       sync::kStatusInstallChunk},
      {"cut after a chunk", "zz_pushed.bin", {Bytes{13} + text("10"), chunk(5, "12345")}, sync::kStatusInstallChunk},
      {"a size that is no number", "zz_pushed.bin", {Bytes{13} + text("1x")}, sync::kStatusInstallNotOpened},
  };
  for (const auto& c : cases) {
    std::vector<Bytes> transfer = c.transfer;
    if (std::string(c.name) == "a damaged stream") transfer[1][transfer[1].size() - 2] ^= 0xff;
    FakeServer fake(
        [&](FakeServer& f) {
          f.request();
          f.reply(acceptedBody());
          f.request();
          f.reply(text("1"));
          f.request();
          f.reply(Bytes{13, 10, 16, 0});
          EXPECT_EQ(commandOf(f.request()), wire::kFileInfo) << c.name;
          f.reply(Bytes{13} + text(c.file) + text("0"));
          if (transfer.empty()) return;
          EXPECT_EQ(commandOf(f.request()), wire::kStartFile) << c.name;
          for (const Bytes& b : transfer) f.reply(b);
          f.closeNow();
        },
        kLoadedWaitMs);
    EXPECT_EQ(session(fake.port()), c.status) << c.name;
    fake.join();
    EXPECT_FALSE(core::host::fileExists(dir + "/" + c.file + "_")) << c.name;
    EXPECT_FALSE(core::host::fileExists(dir + "/zz_pushed.bin_")) << c.name;
    EXPECT_FALSE(data::DmFindDatabase(0, "ZELTAINST.tLog")) << c.name;
  }
}
