// Parsing the command line (drawn in command_line.h).
#include "command_line.h"

#include <stdlib.h>
#include <string.h>

namespace server {

namespace {

bool number(const std::string& text, long low, long high, int& out) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9) return false;
  const long v = strtol(text.c_str(), nullptr, 10);
  if (v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

const char* usageText() {
  return "usage: zeltasyncd --db FILE | --pg ADDRESS [--port N] [--host ADDRESS]\n"
         "                  [--max-connections N] [--timeout SECONDS] [--workers N] [--log FILE]\n"
         "                  [--announce-version TEXT] [--images FOLDER]\n"
         "                  [--query-role ROLE]\n"
         "       zeltasyncd admin --db FILE | --pg ADDRESS COMMAND\n"
         "  commands: add-user NAME DEVICE, list-users, remove-user NAME [DEVICE],\n"
         "            load-table STRUCTURE [CSV], export-table TABLE [CSV], list-tables,\n"
         "            queue download|delete TABLE [NAME [DEVICE]], status,\n"
         "            push-file FILE VERSION [NAME [DEVICE]], push-image FILE [NAME [DEVICE]],\n"
         "            add-function NAME SECONDS PROGRAM [ARGUMENT...], list-functions, remove-function NAME,\n"
         "            add-operation ADMIN-ID NAME DESCRIPTION FUNCTION [ARGUMENT...], list-operations,\n"
         "            remove-operation NUMBER\n";
}

bool parseCommandLine(int argc, char** argv, CommandLine& out, std::string& error) {
  int i = 1;
  if (i < argc && strcmp(argv[i], "admin") == 0) {
    out.admin = true;
    ++i;
  }
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    auto value = [&]() { return std::string(argv[++i]); };
    if (arg.rfind("--", 0) != 0) {
      if (!out.admin) {
        error = "unexpected argument " + arg;
        return false;
      }
      out.adminWords.push_back(arg);
      continue;
    }
    if (!hasValue) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "--db" || arg == "--pg") {
      if (!out.db.empty()) {
        error = "one database: --db or --pg, once";
        return false;
      }
      out.postgres = arg == "--pg";
      out.db = value();
    } else if (out.admin) {
      error = "admin takes only --db or --pg, not " + arg;
      return false;
    } else if (arg == "--port") {
      if (!number(value(), 0, 65535, out.listener.port)) return error = "--port takes 0 to 65535", false;
    } else if (arg == "--host") {
      out.listener.host = value();
    } else if (arg == "--max-connections") {
      if (!number(value(), 1, 100000, out.listener.maxConnections))
        return error = "--max-connections takes 1 to 100000", false;
    } else if (arg == "--timeout") {
      if (!number(value(), 1, 86400, out.listener.timeoutSeconds)) return error = "--timeout takes 1 to 86400", false;
    } else if (arg == "--workers") {
      if (!number(value(), 0, 64, out.listener.workers)) return error = "--workers takes 0 to 64", false;
    } else if (arg == "--log") {
      out.logFile = value();
    } else if (arg == "--images") {
      out.listener.settings.rpc.imageFolder = value();
    } else if (arg == "--query-role") {
      out.listener.settings.rpc.queryRole = value();
      const std::string& role = out.listener.settings.rpc.queryRole;
      if (role.empty() || role.size() > 63 ||
          role.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != std::string::npos)
        return error = "--query-role takes a name of lower-case letters, digits and _", false;
    } else if (arg == "--announce-version") {
      out.listener.settings.version = value();
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (out.db.empty()) {
    error = "--db FILE or --pg ADDRESS is required";
    return false;
  }
  if (out.admin && out.adminWords.empty()) {
    error = "admin needs a command";
    return false;
  }
  return true;
}

}  // namespace server
