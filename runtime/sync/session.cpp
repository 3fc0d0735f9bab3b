// The online part of a session (DoSync) and its entry from programs
// (__DoSync). The server drives it: after the login the device asks for the
// number of tasks, then for each task in turn, and runs what it is told.
//
//   task reply: 13 | type | flag | (type 10/22/40 with flag 16: mode byte)
//                                 | otherwise: table name, and for type 1 a
//                                   4-byte record count and the mode 'T'/'P'
#include "session.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "arguments.h"
#include "compression.h"
#include "connection.h"
#include "core.h"
#include "framing.h"
#include "install.h"
#include "protocol.h"
#include "report.h"
#include "socket_posix.h"
#include "status.h"
#include "sync_packets.h"
#include "sync_messages.h"
#include "sync_tables.h"
#include "temp_db.h"
#include "zeltanet.h"
#include "zeltardd.h"
#include "../ui/dialog.h"

namespace sync {

using namespace data;

namespace {

constexpr int kTaskDownload = 1, kTaskUpload = 2, kTaskDelete = 3, kTaskInstall = 10, kTaskInstallFile = 22,
              kTaskNothing = 30, kTaskImages = 40;

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

bool requestTask(NetBlock& n, int number) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt) host::sleepMs(state().timing.taskRetryMs);
    wire::PacketWriter w = beginRequest(n, wire::kGetTask);
    w.writeString(std::to_string(number));
    if (sendRequest(n, n.socket, w)) return true;
  }
  logf("\\nTask = %d Falhou WriteExact", number);
  return false;
}

// The task count as the server writes it, decimal text; -1 when it is not.
int readTaskCount(NetBlock& n) {
  wire::PacketReader r = replyReader(n);
  const std::string text(r.readString());
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return atoi(text.c_str());
}

void writeHeader(DmOpenRef file, char kind, bool complete, long count) {
  char header[11] = {kind, 0, complete ? '1' : '0', 0};
  snprintf(header + 4, sizeof header - 4, "%06d", static_cast<int>(std::min(std::max(count, 0L), 999999L)));
  if (DmNumRecords(file) == 0) {
    data::appendTmpRecord(file, header, sizeof header);
    return;
  }
  uint32_t index = 0;
  data::putRecord(file, &index, header, sizeof header, data::DirtyChange::keep);
}

// Adds `table` to the "FromHH" list of downloads waiting to be applied.
void listReceived(const std::string& table) {
  DmOpenRef list = static_cast<DmOpenRef>(__OpenTmpDb(0, "FromHH", 0, 'L'));
  if (!list) return;
  const uint32_t n = DmNumRecords(list);
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t size = 0;
    const char* p = data::recordBytes(list, i, &size);
    if (p && strnlen(p, size) == table.size() && table.compare(0, table.size(), p, table.size()) == 0) {
      DmCloseDatabase(list);
      return;
    }
  }
  data::appendTmpRecord(list, table.c_str(), static_cast<uint32_t>(table.size() + 1));
  DmCloseDatabase(list);
}

// A received packet whose stream inflates to the size it states and whose
// rows fill it exactly. A damaged one fails the session before the goodbye,
// so the server sends the download again.
bool packetIntact(NetBlock& n, const uint8_t* p, int size) {
  const wire::DownloadHeader h = wire::readDownloadHeader(p, byteOrder());
  if (size < static_cast<int>(wire::kDownloadHeader) || h.uncompressed > wire::kBufferSize) return false;
  const wire::Inflated in = inflateToBuffer(n, p + wire::kDownloadHeader,
                                            static_cast<size_t>(size) - wire::kDownloadHeader, wire::kBufferSize);
  if (in.status != wire::InflateStatus::Complete || in.size != h.uncompressed) return false;
  size_t at = 0, rows = 0;
  while (at + wire::kRowPrefix <= in.size) {
    const size_t length = wire::get16(n.compression + at, byteOrder());
    if (length < wire::kRowPrefix || at + length > in.size) return false;
    at += length;
    ++rows;
  }
  return at == in.size && rows == h.rows;
}

int downloadTable(NetBlock& n, const std::string& table, long count, char mode) {
  if (count == 0) return 0;
  DmOpenRef file = static_cast<DmOpenRef>(__OpenTmpDb(0, table.c_str(), 0, 'P'));
  if (!file) {
    showAux(124);
    n.status = kStatusTaskCountNotSent;
    return 1;
  }
  uint32_t size = 0;
  const char* header = DmNumRecords(file) ? data::recordBytes(file, 0, &size) : nullptr;
  if (header && size >= 4 && mode == 'T') {
    if (header[2] == '1' && header[0] == 'T') {
      DmCloseDatabase(file);
      listReceived(table);
      return 0;
    }
    DmCloseDatabase(file);
    forgetInflated(table);
    file = static_cast<DmOpenRef>(__OpenTmpDb(0, table.c_str(), 1, 'P'));
    if (!file) {
      showAux(124);
      n.status = kStatusTaskCountNotSent;
      return 1;
    }
    header = nullptr;
  }
  // A partial download resumed onto a file that holds a total one stays a
  // total one: its rows come first and the partial rows follow them.
  const char kind = header && size >= 4 ? header[0] : mode;
  if (!header) writeHeader(file, kind, false, count);
  char line[128];
  snprintf(line, sizeof line, "Recebendo %s/%05ld reg(s)", table.c_str(), count);
  showState(line);
  wire::PacketWriter w = beginRequest(n, wire::kStartDownload);
  if (!sendRequest(n, n.socket, w)) {
    n.status = kStatusDownloadNotSent;
    DmCloseDatabase(file);
    return 1;
  }
  long received = 0;
  int packets = 0, shown = -1;
  for (;;) {
    if (!readPacket(n, n.socket) || n.received < 4 || n.received > wire::kMaxPayload) {
      n.status = kStatusDownloadBroken;
      break;
    }
    const uint8_t* p = n.packet;
    if (p[2] == 11 || p[3] == 17) break;
    if (p[2] != 12) {
      if (p[2] > 254) {
        wire::PacketReader r(p, static_cast<size_t>(n.received), byteOrder(), 4);
        alert("Erro de transmissão\n" + std::string(r.readString()));
        n.status = kStatusTransmission;
      }
      break;
    }
    if (p[3] != 14) break;
    const wire::DownloadHeader h = wire::readDownloadHeader(p, byteOrder());
    if (h.packetSize > wire::kMaxPayload) {
      char text[64];
      snprintf(text, sizeof text, "Erro de transmissão\ntam_write=%d", h.packetSize);
      alert(text);
      n.status = kStatusTransmission;
      break;
    }
    if (!packetIntact(n, p, n.received)) {
      logf(syncMessage(53), table.c_str());
      n.status = kStatusDownloadBroken;
      break;
    }
    if (!data::appendTmpRecord(file, p, static_cast<uint32_t>(n.received))) {
      n.status = kStatusTaskCountNotSent;
      break;
    }
    // packetIntact left the rows in n.compression.
    keepInflated(table, DmNumRecords(file) - 1, p, static_cast<size_t>(n.received), n.compression, h.uncompressed);
    received += h.rows;
    if (++packets % 2 == 0) DbFlush(file);
    // The bar follows the records received, moved when its percentage changes.
    const int percent = count > 0 ? static_cast<int>(std::min(100L, received * 100 / count)) : 100;
    if (state().ui.tableProgress && percent != shown) state().ui.tableProgress(shown = percent);
  }
  snprintf(line, sizeof line, "Registro(s) recebido(s): %ld ", received);
  showState(line);
  if (n.status == kStatusNone) {
    // The count of a resumed file is what the server said it sends.
    writeHeader(file, kind, true, header ? count : received);
    DbFlush(file);
    DmCloseDatabase(file);
    listReceived(table);
    return 0;
  }
  DbFlush(file);
  DmCloseDatabase(file);
  return 1;
}

int uploadTable(NetBlock& n, const std::string& table) {
  DmOpenRef file = static_cast<DmOpenRef>(__OpenTmpDb(0, table.c_str(), 0, 'H'));
  if (!file) {
    n.status = kStatusUploadNotRead;
    showAux(123);
    return 1;
  }
  const uint32_t packets = DmNumRecords(file);
  char line[160];
  if (packets == 0) {
    DmCloseDatabase(file);
    __DeleteTmpDb(0, table.c_str(), 'H');
    snprintf(line, sizeof line, "Sem registros para enviar na tabela %s", table.c_str());
    showState(line);
    return 0;
  }
  snprintf(line, sizeof line, "Enviando tabela %s com %u reg(s)", table.c_str(), packets);
  showState(line);
  for (uint32_t i = 0; i < packets && n.status == kStatusNone; ++i) {
    uint32_t size = 0;
    const char* p = data::recordBytes(file, i, &size);
    if (!p || size < wire::kUploadHeader || size > static_cast<uint32_t>(wire::kMaxPayload)) {
      n.status = kStatusUploadNotRead;
    } else if (writeExact(n, n.socket, reinterpret_cast<const uint8_t*>(p), static_cast<int>(size), true) != 1) {
      n.status = kStatusUploadNotSent;
    } else if (!readPacket(n, n.socket)) {
      n.status = kStatusUploadReplyNotRead;
    } else if (replyReader(n).readByte() != wire::kReplyOk) {
      n.status = kStatusUploadRefused;
      alert("Falhou enviando tabela");
    }
  }
  DmCloseDatabase(file);
  if (n.status != kStatusNone) {
    showAux(123);
    return 1;
  }
  DmCloseDatabase(static_cast<DmOpenRef>(__OpenTmpDb(0, table.c_str(), 1, 'H')));
  snprintf(line, sizeof line, "Marcando registros como transmitidos na tabela %s", table.c_str());
  showState(line);
  if (!clearDirty(table)) logLine(syncMessage(82));
  return 0;
}

}  // namespace

uint8_t taskFilterOf(double filter) {
  if (filter == 1) return kTaskInstall;
  if (filter == 2) return kTaskDownload;
  if (filter == 3) return kTaskUpload;
  return 0;
}

int executeTask(NetBlock& n, int number) {
  n.status = kStatusTaskRequested;
  if (!requestTask(n, number)) return 1;
  if (!readPacket(n, n.socket)) {
    n.status = kStatusTaskNotRead;
    return 1;
  }
  wire::PacketReader r = replyReader(n);
  const uint8_t op = r.readByte();
  if (op != wire::kReplyOk) {
    logf("\\nTask = %d OP=%x", number, op);
    n.status = kStatusTaskRefused;
    return 1;
  }
  int type = r.readByte();
  const uint8_t flag = r.readByte();
  n.status = kStatusNone;
  if (n.taskFilter && type != n.taskFilter) return 0;
  if (flag == 2) return 0;
  if (n.restart && (type == kTaskDownload || type == kTaskUpload || type == kTaskDelete)) {
    n.status = kStatusRestart;
    return 1;
  }
  n.taskType = type;
  std::string table;
  long count = 0;
  char mode = 'T';
  if ((type == kTaskInstall || type == kTaskInstallFile || type == kTaskImages) && flag == 16) {
    r.readByte();
  } else {
    table = upper(std::string(r.readString()));
    if (type == kTaskDownload) {
      count = r.readInt();
      mode = static_cast<char>(r.readByte());
    }
  }
  if (!r.ok()) {
    n.status = kStatusTaskNotRead;
    return 1;
  }
  switch (type) {
    case kTaskNothing: return 0;
    case kTaskDownload: return downloadTable(n, table, count, mode);
    case kTaskUpload: return uploadTable(n, table);
    case kTaskDelete:
      if (!state().partialSync) Op_DeleteTbl(table.c_str());
      return 0;
    case kTaskInstall:
    case kTaskInstallFile: return FileInstall(n, n.socket);
    case kTaskImages: return receiveImages(n, n.socket);
    default: break;
  }
  logf("Task type %d invalid.", type);
  n.status = kStatusBadTaskType;
  return 1;
}

int runTasks(NetBlock& n) {
  showState("Solicitando tarefas");
  wire::PacketWriter w = beginRequest(n, wire::kTaskCount);
  int count = 0;
  if (!sendRequest(n, n.socket, w)) {
    n.status = kStatusTaskCountNotSent;
  } else if (!readPacket(n, n.socket) || (count = readTaskCount(n)) < 0) {
    n.status = kStatusTaskCountNotRead;
  } else {
    logf("qtd_tasks=%d", count);
  }
  for (int task = 1; task <= count && n.status == kStatusNone; ++task) {
    if (state().ui.pumpMessages) state().ui.pumpMessages();
    logf("Executando tarefa %d.", task);
    if (executeTask(n, task) != 0) break;
    if (state().ui.taskProgress) state().ui.taskProgress(task * 100 / count);
  }
  // A component received last still ends the session as a restart.
  if (n.restart && n.status == kStatusNone) n.status = kStatusRestart;
  if (n.status == kStatusRestart) {
    logf("TaskExecute: Erro=%d", n.status);
    alert("A aplicação será reiniciada para instalação de novos componentes.");
    n.status = kStatusNone;
  } else if (n.status != kStatusNone) {
    n.busy = 1;
    logf("TaskExecute: Erro=%d", n.status);
  }
  return n.status;
}

}  // namespace sync

int DoSync(const char* hostName, int port, const char* user, const char* deviceType, const char* deviceId, int timeout,
           void* progress1, void* progress2, void* progress3, void* progress4) {
  (void)deviceType;
  sync::NetBlock* block = sync::netBlock();
  if (!block) __RuntimeError(LOW_MEMORY, -1);
  sync::NetBlock& n = *block;
  n.status = sync::kStatusNone;
  n.restart = false;
  n.maxPacket = wire::kMaxPayload;
  n.timeout = std::min(std::max(n.timeout, timeout), 120);
  void* progress[4] = {progress1, progress2, progress3, progress4};
  memcpy(n.progress, progress, sizeof progress);

  sync::LoginArgs args;
  args.host = hostName ? hostName : "";
  args.port = port;
  args.user = user ? user : "";
  args.device = deviceId ? deviceId : "";
  if (!sync::login(n, args, n.socket)) return n.status;

  sync::runTasks(n);
  sync::showAux(97);
  sync::goodbye(n, n.socket);
  // The installer takes over when the program ends; what the windows
  // showed is drawn again before their loops see the request.
  if (n.restart) {
    SHUTDOWN();
    ui::repaintWindows();
  }
  if (n.status != sync::kStatusNone) sync::showState(sync::auxText(98, n.status));
  return n.status;
}
