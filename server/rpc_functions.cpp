// Server functions and operations (rpc_functions.h). Programs are started
// with posix_spawn: standard input from /dev/null, standard output to a
// pipe read until it closes or the time-out passes (the program is then
// killed), standard error to /dev/null. ZELTA_USER and ZELTA_DEVICE tell it
// who called.
#include "rpc_functions.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>

extern char** environ;

namespace server {

namespace {

constexpr size_t kReplyLimit = 11900;  // a reply text fits one packet

const char* kSchema =
    "CREATE TABLE IF NOT EXISTS zs_functions (name TEXT PRIMARY KEY, program TEXT NOT NULL,"
    " arguments TEXT NOT NULL, timeout_seconds BIGINT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS zs_operations (id BIGINT PRIMARY KEY, admin_id BIGINT NOT NULL,"
    " name TEXT NOT NULL, description TEXT NOT NULL, function TEXT NOT NULL, arguments TEXT NOT NULL)";

bool ensureSchema(Store& store, std::string& error) { return store.sql().script(kSchema, error); }

// Arguments are kept one a line.
std::string joinLines(const std::vector<std::string>& words, size_t from) {
  std::string text;
  for (size_t i = from; i < words.size(); ++i) text += (i > from ? "\n" : "") + words[i];
  return text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> out;
  if (text.empty()) return out;
  size_t start = 0;
  for (size_t at; (at = text.find('\n', start)) != std::string::npos; start = at + 1)
    out.push_back(text.substr(start, at - start));
  out.push_back(text.substr(start));
  return out;
}

bool wholeNumber(const std::string& text, long low, long high, long& out) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  out = atol(text.c_str());
  return out >= low && out <= high;
}

int usage(FILE* err, const char* text) {
  fprintf(err, "usage: %s\n", text);
  return 2;
}

int complain(FILE* err, const std::string& text) {
  fprintf(err, "zeltasyncd: %s\n", text.c_str());
  return 1;
}

}  // namespace

bool runProgram(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int seconds,
                size_t limit, std::string& out) {
  out.clear();
  if (argv.empty() || argv[0].empty()) return out = "no program", false;
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return out = "no pipe", false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<char*> env;
  for (char** e = environ; e && *e; ++e) env.push_back(*e);
  for (const std::string& e : environment) env.push_back(const_cast<char*>(e.c_str()));
  env.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (rc != 0) {
    close(pipeFds[0]);
    out = "cannot start " + argv[0];
    return false;
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
  std::string why;
  char chunk[4096];
  for (;;) {
    const long left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      why = "ran longer than " + std::to_string(seconds) + " s";
      break;
    }
    pollfd p{pipeFds[0], POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    const ssize_t got = read(pipeFds[0], chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    out.append(chunk, static_cast<size_t>(got));
    if (out.size() > limit) {
      why = "wrote more than " + std::to_string(limit) + " bytes";
      break;
    }
  }
  close(pipeFds[0]);
  if (!why.empty()) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  if (why.empty() && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
    why = WIFEXITED(status) ? "ended with status " + std::to_string(WEXITSTATUS(status)) : "was killed";
  if (!why.empty()) {
    out = argv[0] + " " + why;
    return false;
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return true;
}

bool callFunction(Store& store, const FunctionCall& call, std::string& reply) {
  if (call.name == "echo") {
    reply = joinLines(call.arguments, 0);
    for (char& c : reply)
      if (c == '\n') c = '|';
    if (reply.size() > kReplyLimit) return reply = "echo: the reply is too long", false;
    return true;
  }
  std::string error;
  std::vector<SqlRow> rows;
  if (!ensureSchema(store, error) ||
      !store.sql().exec("SELECT program, arguments, timeout_seconds FROM zs_functions WHERE name = $1", {call.name},
                        &rows, error))
    return reply = "the server cannot read its functions", false;
  if (rows.empty()) return reply = "no function " + call.name, false;
  std::vector<std::string> argv = {rows[0][0].asText()};
  for (const std::string& a : splitLines(rows[0][1].asText())) argv.push_back(a);
  for (const std::string& a : call.arguments) argv.push_back(a);
  const std::vector<std::string> environment = {"ZELTA_USER=" + call.user, "ZELTA_DEVICE=" + call.device};
  if (runProgram(argv, environment, static_cast<int>(rows[0][2].asInt()), kReplyLimit, reply)) return true;
  reply = "function " + call.name + ": " + reply;
  return false;
}

bool listOperations(Store& store, long adminId, std::vector<Operation>& out, std::string& error) {
  if (!ensureSchema(store, error)) return false;
  std::vector<SqlRow> rows;
  const std::string where = adminId >= 0 ? " WHERE admin_id = $1" : "";
  std::vector<SqlValue> params;
  if (adminId >= 0) params.push_back(SqlValue(static_cast<int64_t>(adminId)));
  if (!store.sql().exec(
          "SELECT id, admin_id, name, description, function, arguments FROM zs_operations" + where + " ORDER BY id",
          params, &rows, error))
    return false;
  for (const SqlRow& r : rows)
    out.push_back({static_cast<long>(r[0].asInt()), static_cast<long>(r[1].asInt()), r[2].asText(), r[3].asText(),
                   r[4].asText(), splitLines(r[5].asText())});
  return true;
}

int runFunctionAdmin(Store& store, const std::vector<std::string>& w, FILE* out, FILE* err) {
  const std::string command = w.empty() ? "" : w[0];
  static const char* kCommands[] = {"add-function",  "list-functions",  "remove-function",
                                    "add-operation", "list-operations", "remove-operation"};
  bool ours = false;
  for (const char* c : kCommands) ours = ours || command == c;
  if (!ours) return -1;
  std::string error;
  if (!ensureSchema(store, error)) return complain(err, error);
  long number = 0;
  if (command == "add-function") {
    if (w.size() < 4 || w[1].empty() || w[1] == "echo" || !wholeNumber(w[2], 1, 3600, number))
      return usage(err, "add-function NAME SECONDS PROGRAM [ARGUMENT...]  (SECONDS 1 to 3600; echo is built in)");
    if (w[3].empty() || w[3][0] != '/') return complain(err, "the program is named by its full path");
    if (!store.sql().exec("INSERT INTO zs_functions (name, program, arguments, timeout_seconds) VALUES ($1, $2, $3, $4)"
                          " ON CONFLICT (name) DO UPDATE SET program = excluded.program,"
                          " arguments = excluded.arguments, timeout_seconds = excluded.timeout_seconds",
                          {w[1], w[3], joinLines(w, 4), SqlValue(static_cast<int64_t>(number))}, nullptr, error))
      return complain(err, error);
    fprintf(out, "function %s: %s, %ld s\n", w[1].c_str(), w[3].c_str(), number);
    return 0;
  }
  if (command == "list-functions") {
    std::vector<SqlRow> rows;
    if (!store.sql().exec("SELECT name, timeout_seconds, program, arguments FROM zs_functions ORDER BY name", {}, &rows,
                          error))
      return complain(err, error);
    fprintf(out, "echo\t-\t(built in)\n");
    for (const SqlRow& r : rows) {
      std::string args = r[3].asText();
      for (char& c : args)
        if (c == '\n') c = ' ';
      fprintf(out, "%s\t%lld s\t%s%s%s\n", r[0].asText().c_str(), static_cast<long long>(r[1].asInt()),
              r[2].asText().c_str(), args.empty() ? "" : " ", args.c_str());
    }
    return 0;
  }
  if (command == "remove-function") {
    if (w.size() != 2) return usage(err, "remove-function NAME");
    if (!store.sql().exec("DELETE FROM zs_functions WHERE name = $1", {w[1]}, nullptr, error))
      return complain(err, error);
    if (store.sql().changes() == 0) return complain(err, "no function " + w[1]);
    fprintf(out, "removed %s\n", w[1].c_str());
    return 0;
  }
  if (command == "add-operation") {
    if (w.size() < 5 || !wholeNumber(w[1], 0, 999999999, number) || w[2].empty() || w[4].empty())
      return usage(err, "add-operation ADMIN-ID NAME DESCRIPTION FUNCTION [ARGUMENT...]");
    std::vector<SqlRow> next;
    if (!store.sql().exec("SELECT coalesce(max(id), 0) + 1 FROM zs_operations", {}, &next, error) ||
        !store.sql().exec("INSERT INTO zs_operations (id, admin_id, name, description, function, arguments)"
                          " VALUES ($1, $2, $3, $4, $5, $6)",
                          {next[0][0], SqlValue(static_cast<int64_t>(number)), w[2], w[3], w[4], joinLines(w, 5)},
                          nullptr, error))
      return complain(err, error);
    fprintf(out, "operation %lld for administrator %ld: %s\n", static_cast<long long>(next[0][0].asInt()), number,
            w[2].c_str());
    return 0;
  }
  if (command == "list-operations") {
    std::vector<Operation> ops;
    if (!listOperations(store, -1, ops, error)) return complain(err, error);
    for (const Operation& o : ops)
      fprintf(out, "%ld\tadmin %ld\t%s\t%s\t%s\n", o.id, o.adminId, o.name.c_str(), o.description.c_str(),
              o.function.c_str());
    return 0;
  }
  if (w.size() != 2 || !wholeNumber(w[1], 1, 999999999, number)) return usage(err, "remove-operation NUMBER");
  if (!store.sql().exec("DELETE FROM zs_operations WHERE id = $1", {SqlValue(static_cast<int64_t>(number))}, nullptr,
                        error))
    return complain(err, error);
  if (store.sql().changes() == 0) return complain(err, "no operation " + w[1]);
  fprintf(out, "removed operation %ld\n", number);
  return 0;
}

}  // namespace server
