// The command line of zeltasyncd:
//
//   zeltasyncd --db FILE [--port N] [--host ADDRESS] [--max-connections N]
//              [--timeout SECONDS] [--log FILE] [--announce-version TEXT]
//   zeltasyncd admin --db FILE add-user NAME DEVICE
//   zeltasyncd admin --db FILE list-users
//   zeltasyncd admin --db FILE remove-user NAME [DEVICE]
#ifndef ZELTA_SERVER_COMMAND_LINE_H
#define ZELTA_SERVER_COMMAND_LINE_H

#include <string>
#include <vector>

#include "listener.h"

namespace server {

struct CommandLine {
  bool admin = false;
  std::string db;
  std::string logFile;  // empty: standard error
  ListenerConfig listener;
  std::vector<std::string> adminWords;  // the admin command and its operands
};

// False, with the complaint in `error`, when the arguments do not parse.
bool parseCommandLine(int argc, char** argv, CommandLine& out, std::string& error);
const char* usageText();

}  // namespace server

#endif
