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
#include "connection.h"
#include "core.h"
#include "framing.h"
#include "protocol.h"
#include "report.h"
#include "socket_posix.h"
#include "status.h"
#include "zeltanet.h"

namespace sync {

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
  if ((type == kTaskInstall || type == kTaskInstallFile || type == kTaskImages) && flag == 16) {
    r.readByte();
  } else {
    table = upper(std::string(r.readString()));
    if (type == kTaskDownload) {
      r.readInt();
      r.readByte();
    }
  }
  if (!r.ok()) {
    n.status = kStatusTaskNotRead;
    return 1;
  }
  if (type == kTaskNothing) return 0;
  // Downloads, uploads and deletes work on the device's tables, installs
  // and images on its files; this build runs none of them yet.
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
  for (int task = 1; task <= count && n.status == kStatusNone && !n.restart; ++task) {
    if (state().ui.pumpMessages) state().ui.pumpMessages();
    logf("Executando tarefa %d.", task);
    if (executeTask(n, task) != 0) break;
  }
  if (n.status == kStatusRestart) {
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
  if (n.status != sync::kStatusNone) sync::showState(sync::auxText(98, n.status));
  return n.status;
}

namespace {

std::string textOfUser(pObj_Node user) {
  if (user->objType == T_CHARPTR) return std::string(core::textOf(user));
  std::string text = core::formatValue(user);
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

pObj_Node __DoSync(pObj_Node type, pObj_Node host, pObj_Node port, pObj_Node timeout, pObj_Node user, pObj_Node device,
                   pObj_Node filter) {
  if (!core::isType(type, T_CHARPTR) || !core::isType(host, T_CHARPTR) || !core::isType(port, T_DOUBLE) ||
      !core::isType(timeout, T_DOUBLE) || !core::isGiven(user) || !core::isType(device, T_CHARPTR))
    __RuntimeError(ARGUMENT_ERROR, -1);
  if (core::isGiven(filter) && filter->objType != T_DOUBLE) __RuntimeError(ARGUMENT_ERROR, -1);
  sync::NetBlock* block = sync::netBlock();
  if (!block) __RuntimeError(LOW_MEMORY, -1);
  sync::NetBlock& n = *block;
  const std::string_view kind = core::textOf(type);
  n.connectionType = kind.empty() ? 0 : kind[0];
  n.host = std::string(core::textOf(host));
  n.port = static_cast<int32_t>(core::toWhole(port->objData.dValue));
  n.timeout = static_cast<int32_t>(std::min<long>(std::max<long>(core::toWhole(timeout->objData.dValue), 0), 120));
  n.user = textOfUser(user);
  n.device = std::string(core::textOf(device));
  n.taskFilter = core::isGiven(filter) ? sync::taskFilterOf(filter->objData.dValue) : 0;
  const int status = DoSync(n.host.c_str(), n.port, n.user.c_str(), "PALM", n.device.c_str(), n.timeout, nullptr,
                            nullptr, nullptr, nullptr);
  sync::freeNetBlock();
  return __INIT_DOUBLE(status);
}
