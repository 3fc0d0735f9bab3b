// The device folder's calls into the host: /proc for the process list,
// stat for the file system a path lies on.
#include "device_posix.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace device {
namespace host {

namespace {

std::string fileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<std::string> processNames() {
  std::vector<std::string> names;
  DIR* proc = opendir("/proc");
  if (!proc) return names;
  while (dirent* e = readdir(proc)) {
    const std::string pid = e->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string dir = "/proc/" + pid + "/";
    char exe[PATH_MAX];
    const ssize_t n = readlink((dir + "exe").c_str(), exe, sizeof exe - 1);
    if (n > 0) names.push_back(fileName(std::string(exe, static_cast<size_t>(n))));
    const std::string cmdline = readAll(dir + "cmdline");
    const std::string first = cmdline.substr(0, cmdline.find('\0'));
    if (!first.empty()) names.push_back(fileName(first));
    std::string comm = readAll(dir + "comm");
    while (!comm.empty() && comm.back() == '\n') comm.pop_back();
    if (!comm.empty()) names.push_back(comm);
  }
  closedir(proc);
  return names;
}

std::string mountPointOf(const std::string& path) {
  char resolved[PATH_MAX];
  if (!realpath(path.c_str(), resolved)) return std::string();
  std::string at = resolved;
  struct stat here;
  if (stat(at.c_str(), &here) != 0) return std::string();
  // Walk up while the parent lies on the same device.
  while (at != "/") {
    const size_t slash = at.rfind('/');
    const std::string parent = slash == 0 ? "/" : at.substr(0, slash);
    struct stat up;
    if (stat(parent.c_str(), &up) != 0 || up.st_dev != here.st_dev) break;
    at = parent;
  }
  return at;
}

}  // namespace host
}  // namespace device
