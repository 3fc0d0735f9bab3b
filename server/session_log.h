// The session log: one line per connection, written when it ends.
//
//   2026-12-09 10:15:02 session user=joe device=dev1 address=127.0.0.1:40012
//     result=ok requests=3 seconds=0.012 [detail="..."]
//
// (one line; `detail` only when the session ended on a fault).
#ifndef ZELTA_SERVER_SESSION_LOG_H
#define ZELTA_SERVER_SESSION_LOG_H

#include <stdio.h>

#include <string>

#include "conversation.h"

namespace server {

std::string sessionLine(const Conversation& c, const std::string& address, double seconds);
void writeSessionLine(FILE* log, const std::string& line);

}  // namespace server

#endif
