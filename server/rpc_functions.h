// The server functions devices call (__ExecRPCGen, __ExecRPMarhold) and the
// administrator's operations, kept in the store:
//
//   zs_functions(name, program, arguments, timeout_seconds)
//   zs_operations(id, admin_id, name, description, function, arguments)
//
// A function is an external program run with its arguments and the call's,
// without a shell; its standard output (trailing line ends removed) is the
// reply. "echo" is built in: its reply is its arguments joined by "|".
#ifndef ZELTA_SERVER_RPC_FUNCTIONS_H
#define ZELTA_SERVER_RPC_FUNCTIONS_H

#include <stdio.h>

#include <string>
#include <vector>

#include "store.h"

namespace server {

struct FunctionCall {
  std::string user;
  std::string device;
  std::string name;
  std::vector<std::string> arguments;
};

// The reply of a call; false with the reason in `reply`.
bool callFunction(Store& store, const FunctionCall& call, std::string& reply);

// Runs `argv` (no shell) with `environment` added, for at most `seconds`;
// its standard output in `out`, which may not pass `limit` bytes. False with
// the reason in `out` when it could not start, ran too long, wrote too much
// or ended with another status than 0.
bool runProgram(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int seconds,
                size_t limit, std::string& out);

struct Operation {
  long id = 0;
  long adminId = 0;
  std::string name;
  std::string description;
  std::string function;
  std::vector<std::string> arguments;
};

bool listOperations(Store& store, long adminId, std::vector<Operation>& out, std::string& error);

// zeltasyncd admin: add-function, list-functions, remove-function,
// add-operation, list-operations, remove-operation. -1 when `words` is none
// of them, else the exit status.
int runFunctionAdmin(Store& store, const std::vector<std::string>& words, FILE* out, FILE* err);

}  // namespace server

#endif
