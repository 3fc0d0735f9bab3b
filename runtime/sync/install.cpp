// Files and images the server pushes inside a session. An install (task 10
// or 22) is a component of the application: it is written beside the
// running program under its name plus "_", listed in "ZELTAINST" for the
// installer, and the session asks for a restart. The installer itself,
// which is not running during a session, is written under its own name.
//
//   device                          server
//   9  file info            ->      13 | name | version
//   12 start transfer       ->      13 | total size (decimal text)
//                           <-      per chunk: size text | zlib stream
//   0x20 images             ->      per image: 13 | 0 | name | 16-bit size | bytes
//                           <-      13 | 17 ends; 255 | 0 | text is an error
#include "install.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "compression.h"
#include "connection.h"
#include "framing.h"
#include "arguments.h"
#include "core.h"
#include "host.h"
#include "messages.h"
#include "protocol.h"
#include "report.h"
#include "status.h"
#include "temp_db.h"
#include "zeltardd.h"
#include "zeltaui.h"
#include "../ui/version.h"

namespace sync {

namespace {

constexpr char kInstallList[] = "ZELTAINST";

// A name the server sends must stay a plain file name beside the program.
bool plainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos;
}

bool isInstaller(const std::string& name) { return strncasecmp(name.c_str(), "rovane", 6) == 0; }

bool wholeNumber(const std::string& text) {
  return !text.empty() && text.size() < 19 && text.find_first_not_of("0123456789") == std::string::npos;
}

bool addToInstallList(const std::string& path, const std::string& version) {
  data::DmOpenRef list = static_cast<data::DmOpenRef>(__OpenTmpDb(0, kInstallList, 0, 'L'));
  if (!list) return false;
  std::string record = path;
  record.push_back('\0');
  record += version;
  record.push_back('\0');
  const bool ok = data::appendTmpRecord(list, record.data(), static_cast<uint32_t>(record.size()));
  data::DbFlush(list);
  data::DmCloseDatabase(list);
  return ok;
}

}  // namespace

std::string applicationVersion() { return ui::programFileVersion(core::host::modulePath()); }

void DoSetState(const std::string& text) { showState(text); }

FILE* DoInstallsStart(NetBlock& n, const std::string& target, long& total) {
  wire::PacketReader r = replyReader(n);
  r.readByte();
  const std::string size(r.readString());
  if (!r.ok() || !wholeNumber(size)) return nullptr;
  total = atol(size.c_str());
  return fopen(target.c_str(), "w+b");
}

long DoInstallsStep(NetBlock& n, FILE* file, long remaining) {
  wire::PacketReader r(n.packet, static_cast<size_t>(n.received), byteOrder(), 2);
  const std::string size(r.readString());
  if (!r.ok() || !wholeNumber(size)) return -1;
  const long stated = atol(size.c_str());
  if (stated > remaining || stated > static_cast<long>(wire::kBufferSize)) return -1;
  const wire::Inflated in =
      inflateToBuffer(n, n.packet + r.position(), static_cast<size_t>(n.received) - r.position(), wire::kBufferSize);
  if (in.status != wire::InflateStatus::Complete || static_cast<long>(in.size) != stated) return -1;
  if (in.size && fwrite(n.compression, 1, in.size, file) != in.size) return -1;
  return static_cast<long>(in.size);
}

int FileInstall(NetBlock& n, int socket) {
  if (!sendRequest(n, socket, beginRequest(n, wire::kFileInfo))) {
    n.status = kStatusInstallInfoNotSent;
    return 1;
  }
  if (!readPacket(n, socket)) {
    n.status = kStatusInstallInfoNotRead;
    return 1;
  }
  wire::PacketReader info = replyReader(n);
  const uint8_t ok = info.readByte();
  const std::string name(info.readString());
  const std::string offered(info.readString());
  if (!info.ok() || ok != wire::kReplyOk || !plainName(name)) {
    logf("FileInstall: file name refused: %s", name.c_str());
    n.status = kStatusInstallInfoNotRead;
    return 1;
  }
  const std::string program = core::host::modulePath();
  const size_t slash = program.find_last_of('/');
  if (slash == std::string::npos) {
    showAux(116);
    n.status = kStatusInstallInfoNotRead;
    return 1;
  }
  const std::string directory = program.substr(0, slash);
  const std::string own = applicationVersion();
  if (atol(offered.c_str()) != 0 && atol(offered.c_str()) <= atol(own.c_str())) {
    char line[300];
    snprintf(line, sizeof line, "Versões iguais: %s", offered.c_str());
    DoSetState(line);
    logLine(line);
    return 0;
  }
  if (!sendRequest(n, socket, beginRequest(n, wire::kStartFile))) {
    n.status = kStatusInstallStartNotSent;
    return 1;
  }
  if (!readPacket(n, socket) || replyReader(n).readByte() != wire::kReplyOk) {
    n.status = kStatusInstallStartNotRead;
    return 1;
  }
  const bool installer = isInstaller(name);
  const std::string target = directory + "/" + name + (installer ? "" : "_");
  // The installer is written beside itself and renamed over it once whole,
  // so a broken transfer leaves the old one working.
  const std::string written = installer ? target + ".part" : target;
  long total = 0;
  FILE* file = DoInstallsStart(n, written, total);
  if (!file) {
    alert(auxText(109, written.c_str()));
    showAux(117);
    n.status = kStatusInstallNotOpened;
    return 1;
  }
  DoSetState("Instalando " + name);
  long remaining = total;
  bool good = true;
  while (remaining > 0) {
    if (!readPacket(n, socket)) {
      n.status = kStatusInstallChunk;
      good = false;
      break;
    }
    const long step = DoInstallsStep(n, file, remaining);
    if (step <= 0) {
      if (step == 0) showAux(114);
      n.status = kStatusInstallChunk;
      good = false;
      break;
    }
    remaining -= step;
    if (state().ui.tableProgress && total > 0)
      state().ui.tableProgress(static_cast<int>((total - remaining) * 100 / total));
    if (state().ui.pumpMessages) state().ui.pumpMessages();
  }
  good = fclose(file) == 0 && good;
  // A part of a file is never left for the installer to find.
  if (!good) {
    core::host::removeFile(written);
    if (n.status == kStatusNone) n.status = kStatusInstallChunk;
    return 1;
  }
  // The new file runs as the one it replaces did (a new program: as the installer).
  const std::string replaced = directory + "/" + name;
  core::host::copyFileMode(core::host::fileExists(replaced) ? replaced : program, written, 0755);
  if (installer) {
    if (!core::host::renameFile(written, target)) {
      core::host::removeFile(written);
      showAux(117);
      n.status = kStatusInstallNotOpened;
      return 1;
    }
    logf("Instalado %s", name.c_str());
    return 0;
  }
  if (!addToInstallList(target, offered)) {
    showAux(117);
    n.status = kStatusInstallNotOpened;
    return 1;
  }
  logf("Instalado %s: %s", name.c_str(), target.c_str());
  n.restart = true;
  return 0;
}

int receiveImages(NetBlock& n, int socket) {
  if (!sendRequest(n, socket, beginRequest(n, wire::kStartImages))) {
    n.status = kStatusDownloadNotSent;
    return 1;
  }
  long count = 0, bytes = 0;
  for (;;) {
    if (!readPacket(n, socket) || n.received < 4) {
      n.status = kStatusDownloadBroken;
      return 1;
    }
    wire::PacketReader r = replyReader(n);
    const uint8_t status = r.readByte();
    const uint8_t sub = r.readByte();
    if (status == wire::kReplyOk && sub == wire::kImagesEnd) break;
    if (status == 255) {
      alert("Erro de transmissão\n" + std::string(r.readString()));
      n.status = kStatusTransmission;
      return 1;
    }
    const std::string name(r.readString());
    const uint16_t size = r.readUShort();
    if (!r.ok() || !plainName(name) || r.position() + size > static_cast<size_t>(n.received)) {
      n.status = kStatusDownloadBroken;
      return 1;
    }
    // Images are binary: the buffer's length counts, not its first zero.
    const bool binary = core::state().binaryBuffers;
    core::state().binaryBuffers = true;
    __begin_context();
    const bool written = __GET_BOOL(
        WriteImageFile(__INIT_CHARPTR(name.c_str()), __INIT_DOUBLE(size),
                       core::newText(std::string_view(reinterpret_cast<const char*>(n.packet + r.position()), size))));
    __end_context(nullptr);
    core::state().binaryBuffers = binary;
    if (!written) logf("Imagem %s não gravada", name.c_str());
    ++count;
    bytes += size;
  }
  char line[128];
  snprintf(line, sizeof line, "Imagens(s) recebido(s): %ld Tamanho : %ld Kb.", count, bytes / 1024);
  DoSetState(line);
  logLine(line);
  return 0;
}

}  // namespace sync
