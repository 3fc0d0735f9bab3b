// A whole sync session (packing, integrity, online, offline apply) and the
// loop the sync window's start button runs around it.
#ifndef ZELTA_RUNTIME_SYNC_SYNC_RUN_H
#define ZELTA_RUNTIME_SYNC_SYNC_RUN_H

#include <time.h>

#include <string>

#include "zeltaobjs.h"

namespace sync {

struct SessionTimes {
  time_t online = 0;
  time_t offline = 0;
  bool offlineRan = false;
};

// One session; 0 done, 2 done with nothing downloaded, 1 failed (the
// status of the connection state block tells why), 7 or 8 for a missing
// profile or catalog.
int runSession(SessionTimes& times);
// Sessions until one succeeds or the user does not want another (asked
// only when `mayAsk`); the last status.
int runLoop(bool mayAsk);
// The start of a session from a program: the sync window's loop.
int runSyncWindow();

std::string formatMessage(int number, int value);
bool askYesNo(const char* text, const char* title);
// The text of a user argument: a text as it is, another value formatted.
std::string userText(pObj_Node user);

}  // namespace sync

#endif
