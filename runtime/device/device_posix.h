// The device folder's host layer: the running processes and the storage a
// path lies on. device_posix.cpp is the only file of the folder that calls
// the operating system directly.
#ifndef ZELTA_DEVICE_DEVICE_POSIX_H
#define ZELTA_DEVICE_DEVICE_POSIX_H

#include <string>
#include <vector>

namespace device {
namespace host {

// The names each running process goes by: the file name of its program
// (when it may be read), of its first argument and its short name. Several
// names a process, in no order; empty when the host cannot list them.
std::vector<std::string> processNames();

// The mount point of the file system that holds `path`, or "" when the
// path cannot be examined.
std::string mountPointOf(const std::string& path);

}  // namespace host
}  // namespace device

#endif
