// The host layer of the core: every call the core makes into the operating
// system goes through these few functions, so the rest of the folder is
// plain C++ and can be read and tested without the host. The POSIX side is
// host_posix.cpp; other folders keep thin host files of their own
// (data/store_posix.cpp, sync/socket_posix.cpp, sync/serial_posix.cpp,
// ui/terminal_driver.cpp).
#ifndef ZELTA_CORE_HOST_H
#define ZELTA_CORE_HOST_H

#include <string>
#include <vector>

namespace core {
namespace host {

// The environment variable `name`, or null when it is unset.
const char* environment(const char* name);

// The path of the running program, or "" when the host cannot tell.
std::string modulePath();
// The path of the run-time library itself (libzeltace.so, or the program
// when the core is linked into it), or "" when the host cannot tell.
std::string runtimePath();

bool fileExists(const std::string& path);
// True when the file is gone afterwards because this call removed it.
bool removeFile(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);
// Gives `to` the permission bits of `from`, or `fallback` when `from` is
// missing (0: leave `to` as it is). True when `to` ends with them.
bool copyFileMode(const std::string& from, const std::string& to, unsigned fallback);

// The single-instance lock: a file whose exclusive lock this process keeps
// until it ends. Busy when another process holds it; Unavailable when the
// file cannot be opened (the caller then runs without the check).
enum class InstanceLock { Taken, Busy, Unavailable };
InstanceLock lockInstance(const std::string& path);
// True while some process holds the instance lock at `path`; a missing file
// is a lock nobody holds. The check leaves the lock as it found it.
bool instanceLockHeld(const std::string& path);

// Starts `program` with `args` (its argv[1..]) and does not wait for it.
// False when no process could be made or the program could not be run
// (that child ends with status 127 and is reaped); `processId` gets the
// new process's id.
bool spawnDetached(const std::string& program, const std::vector<std::string>& args, long* processId = nullptr);

// A shared library (dlopen semantics: resolved at once), or null.
void* openLibrary(const char* fileName);
// The address of `symbol` in a library from openLibrary, or null.
void* findSymbol(void* library, const char* symbol);

// Local wall-clock time. Tests fix it with setClock; null restores the
// host's clock.
struct LocalTime {
  long year;
  int month, day, hour, minute, second;
};
LocalTime localTime();
void setClock(LocalTime (*clock)());

// Physical memory in kilobytes: the total and what is free now (0 when the
// host cannot tell).
struct MemoryStatus {
  long totalKb;
  long availableKb;
};
MemoryStatus memoryStatus();

// The decimal separator of the user's locale: ',' or '.'.
char localeDecimalSeparator();

// Ends the process at once with `status`: no exit handlers, no flushing.
[[noreturn]] void exitNow(int status);

}  // namespace host
}  // namespace core

#endif
