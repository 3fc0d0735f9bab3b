// Installs and images pushed by the server inside a session (tasks 10, 22
// and 40); the layout of their packets is drawn in install.cpp.
#ifndef ZELTA_RUNTIME_SYNC_INSTALL_H
#define ZELTA_RUNTIME_SYNC_INSTALL_H

#include <cstdio>
#include <string>

#include "sync_state.h"

namespace sync {

// Receives one file; 0 to go on with the tasks (installed, or declined
// because its version is not newer), 1 with the status set. A component
// sets the restart flag.
int FileInstall(NetBlock& n, int socket);
// Reads the transfer's reply (its total size) and opens `target`.
FILE* DoInstallsStart(NetBlock& n, const std::string& target, long& total);
// Appends the chunk in the last packet; its size, or 0 for an empty one and
// -1 for a damaged one or one longer than `remaining`.
long DoInstallsStep(NetBlock& n, FILE* file, long remaining);
void DoSetState(const std::string& text);
// The running program's own version ("" when it carries none).
std::string applicationVersion();

// Receives the images of task 40 into the application directory.
int receiveImages(NetBlock& n, int socket);

}  // namespace sync

#endif
