// The online part of a sync session: login, the server's task list, and the
// goodbye. The session steps around it (upload packing, integrity, offline
// apply) build on the data layer.
#ifndef ZELTA_RUNTIME_SYNC_SESSION_H
#define ZELTA_RUNTIME_SYNC_SESSION_H

#include "sync_state.h"

namespace sync {

// Task filter of __DoSync: 1 installs only, 2 downloads only, 3 uploads
// only, anything else all tasks; the result is the task type that runs.
uint8_t taskFilterOf(double filter);

// After the login: asks for the task count and runs the tasks in turn,
// turning a restart into its message. Returns the status.
int runTasks(NetBlock& n);

// Requests and runs task `number`; 0 to go on, non-zero to stop the list.
int executeTask(NetBlock& n, int number);

}  // namespace sync

#endif
