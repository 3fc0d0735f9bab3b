// The install run, step by step, with the line each step appends to
// "inst.txt" (the log the application's hand-off began):
//
//   open the log ("a+")            Install BEGIN / PARAM1=.. / PARAM2=..
//        | cannot open: nothing is done
//   wait for the application       Aguardando liberação de memória!   (each check)
//        | gone                    Memória liberada\n!
//        | 40 checks: end          Falhou liberação de memória!
//   look the list up               Procurando <list>!
//        | absent: end             Não encontrou <list>!
//        |                         ENCONTROU <list>
//        | cannot open: end        Não abriu <list>!
//   each record, in order          INSTALANDO <path>
//        | unreadable: stop        INSTALANDO Falhou Registro <n>
//        | not installable         Registro <n> inválido: <path>
//        | download missing        Não encontrou <path>!
//        | target exists           RENOMEANDO <target> para <target>.bak
//        |                         Criado backup do arquivo <target>  |  Falhou exclusão do arquivo <target>
//        |                         COPIANDO <path> para <target>
//        |                         Instalado o arquivo <target> versão <v>  |  Falhou Instalação ...
//        | failed after backup     Restaurado o arquivo <target>
//   the list                       Excluída a lista <list>  |  Mantidos <n> registros na lista <list>
//   restart (when not stopped)     \n CreateProcess <program> OK. ...  |  \nCreateProcess NOK <program>
//                                  \nInstall END
//
// A list record is a zero-terminated path ending in "_", optionally followed
// by a zero-terminated version text. After a run the list keeps only the
// records whose download still waits under its "_" name; an empty list is
// deleted.
#include "install_run.h"

#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <thread>

#include "core.h"
#include "host.h"
#include "store.h"
#include "zeltautil.h"

namespace installer {

namespace {

// The program's one log, reachable from the message-box hook.
struct RunState {
  FILE* log = nullptr;
};
RunState& state() {
  static RunState s;
  return s;
}

void say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void say(const char* format, ...) {
  FILE* log = state().log;
  if (!log) return;
  va_list args;
  va_start(args, format);
  vfprintf(log, format, args);
  va_end(args);
  // Each line reaches the file at once: the log is read after a crash too.
  fflush(log);
}

// No boxes in an install run: what the store would show goes to the log.
int logBox(const char* title, const char* text, int) {
  say("[%s] %s\n", title ? title : "", text ? text : "");
  return 1;
}

void sleepFor(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool applicationRunning(const std::string& appDir) {
  return core::host::instanceLockHeld(core::instanceLockPath(appDir, OOW_NAME));
}

bool startProgram(const std::string& program, long* processId) {
  return core::host::fileExists(program) && core::host::spawnDetached(program, {}, processId);
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The canonical form of an existing directory, or "".
std::string canonical(const std::string& dir) {
  char resolved[PATH_MAX];
  return !dir.empty() && realpath(dir.c_str(), resolved) ? std::string(resolved) : std::string();
}

bool under(const std::string& path, const std::string& dir) {
  if (dir == "/") return path.size() > 1 && path[0] == '/';
  return path.size() > dir.size() + 1 && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/';
}

struct Record {
  std::string path;
  std::string version;
};

// Never reads past the record: a path without its zero ends with the record.
Record parseRecord(const char* bytes, uint32_t size) {
  Record r;
  const size_t pathLength = strnlen(bytes, size);
  r.path.assign(bytes, pathLength);
  if (pathLength + 1 < size)
    r.version.assign(bytes + pathLength + 1, strnlen(bytes + pathLength + 1, size - pathLength - 1));
  return r;
}

enum class FileResult { installed, failed, dropped };

FileResult installFile(uint32_t index, const Record& r, const Options& o, const std::vector<std::string>& dirs) {
  const std::string download = checkedDownload(r.path, o.appDir, dirs);
  if (download.empty()) {
    say("Registro %u inválido: %s\n", index, r.path.c_str());
    return FileResult::dropped;
  }
  if (!core::host::fileExists(download)) {
    // Checked before anything moves: the file in place is never given up
    // for one that is not there.
    say("Não encontrou %s!\n", download.c_str());
    return FileResult::dropped;
  }
  const std::string target = download.substr(0, download.size() - 1);
  const std::string backup = target + kBackupSuffix;
  const char* version = r.version.c_str();
  bool backedUp = false;
  if (core::host::fileExists(target)) {
    say("RENOMEANDO %s para %s\n", target.c_str(), backup.c_str());
    // The move replaces an older backup in the same step.
    if (!o.rename(target, backup)) {
      say("Falhou exclusão do arquivo %s\n", target.c_str());
      return FileResult::failed;
    }
    say("Criado backup do arquivo %s\n", target.c_str());
    backedUp = true;
  }
  say("COPIANDO %s para %s\n", download.c_str(), target.c_str());
  if (o.rename(download, target)) {
    say("Instalado o arquivo %s versão %s\n", target.c_str(), version);
    return FileResult::installed;
  }
  say("Falhou Instalação do arquivo %s versão %s\n", target.c_str(), version);
  // The application is never left without the file it had.
  if (backedUp && o.rename(backup, target)) say("Restaurado o arquivo %s\n", target.c_str());
  return FileResult::failed;
}

bool waitForApplication(const Options& o) {
  for (int check = 0; check < o.checks; ++check) {
    if (!o.applicationRunning(o.appDir)) {
      say("Memória liberada\n!");
      return true;
    }
    say("Aguardando liberação de memória!\n");
    o.sleep(o.checkDelayMs);
  }
  say("Falhou liberação de memória!\n");
  return false;
}

// Keeps the records whose downloads still wait; deletes an emptied list.
void updateList(data::DmOpenRef db, const std::string& name, const std::vector<bool>& keep) {
  size_t kept = 0;
  for (bool k : keep) kept += k ? 1 : 0;
  if (kept == 0) {
    const data::LocalID id = data::databaseId(db);
    data::DmCloseDatabase(db);
    if (data::DmDeleteDatabase(0, id) == data::errNone) say("Excluída a lista %s\n", name.c_str());
    return;
  }
  if (kept == keep.size()) {
    data::DmCloseDatabase(db);
    return;
  }
  const data::Err err = data::DbRewrite(
      db, [&keep](uint32_t i, const char*, uint32_t, std::string&) { return i < keep.size() && keep[i]; }, nullptr);
  if (err == data::errNone) say("Mantidos %zu registros na lista %s\n", kept, name.c_str());
  data::DmCloseDatabase(db);
}

// Steps 5 to 6: the list and its records. True when every record was seen.
bool installList(const Arguments& a, const Options& o, Result& result) {
  say("Procurando %s!\n", a.list.c_str());
  const data::LocalID id =
      a.list.size() <= data::kMaxNameLength ? data::DmFindDatabase(0, a.list.c_str()) : data::LocalID(0);
  if (!id) {
    say("Não encontrou %s!\n", a.list.c_str());
    result.outcome = Outcome::listMissing;
    return false;
  }
  say("ENCONTROU %s\n", a.list.c_str());
  data::DmOpenRef db = data::DmOpenDatabase(0, id, data::dmModeReadWrite);
  if (!db) {
    say("Não abriu %s!\n", a.list.c_str());
    result.outcome = Outcome::listUnopened;
    return false;
  }
  const uint32_t count = data::DmNumRecords(db);
  o.sleep(o.settleMs);
  std::vector<std::string> dirs{o.appDir};
  const std::string programDir = canonical(directoryOf(a.program));
  if (!programDir.empty() && programDir != o.appDir) dirs.push_back(programDir);
  std::vector<bool> keep(count, false);
  for (uint32_t i = 0; i < count; ++i) {
    const data::MemHandle h = data::DmQueryRecord(db, i);
    if (!h) {
      say("INSTALANDO Falhou Registro %u\n", i);
      result.outcome = Outcome::stopped;
      data::DmCloseDatabase(db);
      return false;
    }
    const char* bytes = static_cast<const char*>(data::MemHandleLock(h));
    if (!bytes) {
      say("INSTALANDO Falhou  MemHandleLock Registro %u\n", i);
      result.outcome = Outcome::stopped;
      data::DmCloseDatabase(db);
      return false;
    }
    const Record r = parseRecord(bytes, data::MemHandleSize(h));
    data::MemHandleUnlock(h);
    say("INSTALANDO %s\n", r.path.c_str());
    switch (installFile(i, r, o, dirs)) {
      case FileResult::installed: ++result.installed; break;
      case FileResult::failed:
        ++result.failed;
        keep[i] = true;
        break;
      case FileResult::dropped: ++result.dropped; break;
    }
  }
  updateList(db, a.list, keep);
  result.outcome = Outcome::done;
  return true;
}

}  // namespace

Options::Options()
    : sleep(sleepFor),
      applicationRunning(installer::applicationRunning),
      rename(core::host::renameFile),
      start(startProgram) {}

Arguments splitArguments(const std::vector<std::string>& words) {
  Arguments a;
  if (!words.empty()) a.list = words[0];
  if (a.list.empty()) a.list = kDefaultList;
  for (size_t i = 1; i < words.size(); ++i) {
    if (i > 1) a.program += ' ';
    a.program += words[i];
  }
  return a;
}

std::string applicationDirectory(const char* fromEnvironment, const std::string& program,
                                 const std::string& installerPath) {
  std::string dir;
  if (fromEnvironment && *fromEnvironment)
    dir = fromEnvironment;
  else if (!directoryOf(program).empty())
    dir = directoryOf(program);
  else
    dir = directoryOf(installerPath).empty() ? std::string(".") : directoryOf(installerPath);
  const std::string resolved = canonical(dir);
  return resolved.empty() ? dir : resolved;
}

std::string checkedDownload(const std::string& recorded, const std::string& appDir,
                            const std::vector<std::string>& dirs) {
  if (recorded.empty() || recorded.back() != '_') return std::string();
  const std::string path = recorded[0] == '/' ? recorded : appDir + "/" + recorded;
  const std::string name = path.substr(path.rfind('/') + 1);
  if (name == "_") return std::string();
  size_t from = 0;
  while (from <= path.size()) {
    const size_t to = path.find('/', from);
    const size_t end = to == std::string::npos ? path.size() : to;
    if (path.compare(from, end - from, "..") == 0 && end - from == 2) return std::string();
    from = end + 1;
  }
  const std::string dir = canonical(directoryOf(path));
  if (dir.empty()) return std::string();
  const std::string download = (dir == "/" ? std::string() : dir) + "/" + name;
  for (const std::string& allowed : dirs) {
    if (under(download, allowed)) return download;
  }
  return std::string();
}

Result run(const Arguments& a, const Options& o) {
  Result result;
  FILE* log = fopen((o.appDir + "/" + kLogFile).c_str(), "a+");
  if (!log) return result;
  state().log = log;
  int (*const formerBox)(const char*, const char*, int) = core::hooks().messageBox;
  core::hooks().messageBox = logBox;
  say("Install BEGIN\n");
  say("PARAM1=%s\nPARAM2=%s\n", a.list.c_str(), a.program.c_str());
  if (!waitForApplication(o)) {
    result.outcome = Outcome::stillRunning;
  } else {
    __BeginGlobal();
    const bool through = installList(a, o, result);
    __EndGlobal();
    o.sleep(o.finishMs);
    if (through && !a.program.empty()) {
      long pid = 0;
      if (o.start(a.program, &pid)) {
        say("\n CreateProcess %s OK. hProcess=%ld, hThread=%ld, dwProcessId=%ld,dwThreadId =%ld", a.program.c_str(), 0L,
            0L, pid, pid);
        result.restarted = true;
      } else {
        say("\nCreateProcess NOK %s\n", a.program.c_str());
      }
    }
    say("\nInstall END\n");
    o.sleep(o.finishMs);
  }
  core::hooks().messageBox = formerBox;
  state().log = nullptr;
  fclose(log);
  return result;
}

}  // namespace installer
