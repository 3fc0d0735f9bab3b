// The command line of zeltasyncd:
//
//   zeltasyncd --db FILE | --pg ADDRESS [--port N] [--host ADDRESS]
//              [--max-connections N] [--timeout SECONDS] [--workers N] [--log FILE]
//              [--announce-version TEXT] [--images FOLDER]
//   zeltasyncd admin --db FILE | --pg ADDRESS COMMAND ...   (admin.cpp lists them)
#ifndef ZELTA_SERVER_COMMAND_LINE_H
#define ZELTA_SERVER_COMMAND_LINE_H

#include <string>
#include <vector>

#include "listener.h"

namespace server {

struct CommandLine {
  bool admin = false;
  std::string db;  // the SQLite file, or the PostgreSQL address with `postgres`
  bool postgres = false;
  std::string logFile;  // empty: standard error
  ListenerConfig listener;
  std::vector<std::string> adminWords;  // the admin command and its operands
};

// False, with the complaint in `error`, when the arguments do not parse.
bool parseCommandLine(int argc, char** argv, CommandLine& out, std::string& error);
const char* usageText();

}  // namespace server

#endif
