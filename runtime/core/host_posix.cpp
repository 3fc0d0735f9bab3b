// The core's host layer on POSIX: environment, files, the instance lock,
// child processes, shared libraries, the clock, memory figures and the
// locale. Each call is a thin wrapper; the callers decide what a failure
// means.
#include "host.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace core {
namespace host {

namespace {

// Host resources belong to the process, not to an application: kept open
// for the life of the process, since closing it would drop the lock.
int instanceLockFd = -1;

LocalTime (*clockOverride)() = nullptr;

}  // namespace

const char* environment(const char* name) { return getenv(name); }

std::string modulePath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return std::string();
  path[n] = 0;
  return path;
}

std::string runtimePath() {
  Dl_info info;
  if (!dladdr(reinterpret_cast<void*>(&runtimePath), &info) || !info.dli_fname) return std::string();
  char resolved[4096];
  return realpath(info.dli_fname, resolved) ? std::string(resolved) : std::string(info.dli_fname);
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool removeFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool renameFile(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }

bool copyFileMode(const std::string& from, const std::string& to, unsigned fallback) {
  struct stat st;
  if (stat(from.c_str(), &st) == 0) return chmod(to.c_str(), st.st_mode & 07777) == 0;
  return fallback == 0 || chmod(to.c_str(), static_cast<mode_t>(fallback)) == 0;
}

InstanceLock lockInstance(const std::string& path) {
  if (instanceLockFd >= 0) return InstanceLock::Taken;
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return InstanceLock::Unavailable;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return InstanceLock::Busy;
  }
  instanceLockFd = fd;
  return InstanceLock::Taken;
}

bool instanceLockHeld(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0;
  close(fd);  // drops the shared lock taken for the check
  return held;
}

bool spawnDetached(const std::string& program, const std::vector<std::string>& args, long* processId) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // The child reports a failed exec through this pipe; a successful exec
  // closes it with nothing written.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    close(report[0]);
    execv(program.c_str(), argv.data());
    const int error = errno;
    if (write(report[1], &error, sizeof error) < 0) _exit(127);
    _exit(127);
  }
  close(report[1]);
  if (pid < 0) {
    close(report[0]);
    return false;
  }
  int error = 0;
  ssize_t n;
  do n = read(report[0], &error, sizeof error);
  while (n < 0 && errno == EINTR);
  close(report[0]);
  if (n > 0) {
    waitpid(pid, nullptr, 0);
    return false;
  }
  if (processId) *processId = pid;
  return true;
}

void* openLibrary(const char* fileName) { return dlopen(fileName, RTLD_NOW); }

void* findSymbol(void* library, const char* symbol) { return library ? dlsym(library, symbol) : nullptr; }

LocalTime localTime() {
  if (clockOverride) return clockOverride();
  const time_t t = time(nullptr);
  struct tm parts;
  localtime_r(&t, &parts);
  return LocalTime{parts.tm_year + 1900L, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

void setClock(LocalTime (*clock)()) { clockOverride = clock; }

MemoryStatus memoryStatus() {
  const long page = sysconf(_SC_PAGESIZE);
  return MemoryStatus{sysconf(_SC_PHYS_PAGES) * page / 1024, sysconf(_SC_AVPHYS_PAGES) * page / 1024};
}

char localeDecimalSeparator() {
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (!loc) return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  const char c = radix && (radix[0] == ',' || radix[0] == '.') ? radix[0] : '.';
  freelocale(loc);
  return c;
}

void exitNow(int status) { _exit(status); }

}  // namespace host
}  // namespace core
