// The core's host layer on this machine: files, the instance lock as two
// processes see it, libraries and the clock override.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "host.h"

namespace {

using core::host::InstanceLock;

std::string scratchDir() {
  char pattern[] = "/tmp/zelta_host_XXXXXX";
  const char* dir = mkdtemp(pattern);
  return dir ? dir : "/tmp";
}

// Runs `body` in a child process, so the lock it takes dies with it; returns
// the child's exit status.
template <typename F>
int inChild(F body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

core::host::LocalTime fixedNoon() { return {2024, 2, 29, 12, 0, 0}; }

}  // namespace

TEST(HostTest, FilesExistRenameAndRemove) {
  const std::string dir = scratchDir();
  const std::string a = dir + "/a", b = dir + "/b";
  EXPECT_FALSE(core::host::fileExists(a));
  EXPECT_FALSE(core::host::removeFile(a));  // nothing removed is no success
  std::ofstream(a) << "x";
  EXPECT_TRUE(core::host::fileExists(a));
  EXPECT_TRUE(core::host::renameFile(a, b));
  EXPECT_FALSE(core::host::fileExists(a));
  EXPECT_TRUE(core::host::fileExists(b));
  EXPECT_FALSE(core::host::renameFile(a, b));
  EXPECT_TRUE(core::host::removeFile(b));
  EXPECT_FALSE(core::host::fileExists(b));
  rmdir(dir.c_str());
}

TEST(HostTest, InstanceLockSeenByTwoProcesses) {
  const std::string dir = scratchDir();
  const std::string path = dir + "/.app.lock";
  auto code = [](InstanceLock l) { return static_cast<int>(l); };
  // Each case runs in a fresh child: a process keeps its lock until it ends.
  EXPECT_EQ(inChild([&] { return code(core::host::lockInstance(dir + "/missing/.app.lock")); }),
            code(InstanceLock::Unavailable));
  EXPECT_EQ(inChild([&] {
              const InstanceLock first = core::host::lockInstance(path);
              const InstanceLock again = core::host::lockInstance(path);
              return first == InstanceLock::Taken && again == InstanceLock::Taken ? 0 : 1;
            }),
            0);
  int ready[2], done[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(done), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    char c = core::host::lockInstance(path) == InstanceLock::Taken ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    (void)!read(done[0], &c, 1);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  EXPECT_EQ(inChild([&] { return code(core::host::lockInstance(path)); }), code(InstanceLock::Busy));
  EXPECT_TRUE(core::host::instanceLockHeld(path));
  (void)!write(done[1], "x", 1);
  waitpid(holder, nullptr, 0);
  EXPECT_FALSE(core::host::instanceLockHeld(path));
  EXPECT_FALSE(core::host::instanceLockHeld(dir + "/.nobody.lock"));
  EXPECT_FALSE(core::host::fileExists(dir + "/.nobody.lock")) << "looking makes no lock file";
  // The holder is gone, and with it the lock; the file stays.
  EXPECT_EQ(inChild([&] { return code(core::host::lockInstance(path)); }), code(InstanceLock::Taken));
  EXPECT_TRUE(core::host::fileExists(path));
  unlink(path.c_str());
  rmdir(dir.c_str());
}

TEST(HostTest, DetachedStart) {
  const std::string dir = scratchDir();
  const std::string marker = dir + "/started";
  long pid = 0;
  ASSERT_TRUE(core::host::spawnDetached("/bin/sh", {"-c", "echo $$ > " + marker}, &pid));
  EXPECT_GT(pid, 0);
  int status = -1;
  ASSERT_EQ(waitpid(static_cast<pid_t>(pid), &status, 0), static_cast<pid_t>(pid));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  long written = 0;
  std::ifstream(marker) >> written;
  EXPECT_EQ(written, pid) << "the id is the started program's";
  // Programs that cannot be run are no start.
  const std::string plain = dir + "/plain";
  std::ofstream(plain) << "not a program";
  for (const std::string& program : {dir + "/missing", plain, dir}) {
    pid = 0;
    EXPECT_FALSE(core::host::spawnDetached(program, {}, &pid)) << program;
    EXPECT_EQ(pid, 0);
  }
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a failed start leaves no child behind";
  unlink(marker.c_str());
  unlink(plain.c_str());
  rmdir(dir.c_str());
}

TEST(HostTest, LibrariesAndSymbols) {
  EXPECT_EQ(core::host::openLibrary("libno_such_zelta_library.so"), nullptr);
  EXPECT_EQ(core::host::findSymbol(nullptr, "strlen"), nullptr);
  void* libc = core::host::openLibrary("libc.so.6");
  ASSERT_NE(libc, nullptr);
  EXPECT_NE(core::host::findSymbol(libc, "strlen"), nullptr);
  EXPECT_EQ(core::host::findSymbol(libc, "no_such_zelta_symbol"), nullptr);
}

TEST(HostTest, ClockOverrideAndEnvironment) {
  core::host::setClock(fixedNoon);
  const core::host::LocalTime t = core::host::localTime();
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.day, 29);
  core::host::setClock(nullptr);
  const core::host::LocalTime now = core::host::localTime();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  setenv("ZELTA_HOST_TEST", "v", 1);
  EXPECT_STREQ(core::host::environment("ZELTA_HOST_TEST"), "v");
  unsetenv("ZELTA_HOST_TEST");
  EXPECT_EQ(core::host::environment("ZELTA_HOST_TEST"), nullptr);
  const core::host::MemoryStatus memory = core::host::memoryStatus();
  EXPECT_GT(memory.totalKb, 0);
  EXPECT_LE(memory.availableKb, memory.totalKb);
}
