// Child processes through posix_spawnp, which reports a program that cannot
// be executed as an error of the spawn itself: that is the kNotStarted case.
#include "process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// File actions and attributes of one spawn, released on every path.
class tSpawnSetup {
public:
    tSpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    }
    ~tSpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    tSpawnSetup(const tSpawnSetup&) = delete;
    tSpawnSetup& operator=(const tSpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

int waitForChild(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return kNotStarted;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& line)
{
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\') {
            std::size_t end = line.find_first_not_of('\\', i);
            if (end == std::string::npos)
                end = line.size();
            std::size_t run = end - i;
            bool beforeQuote = end < line.size() && line[end] == '"';
            current.append(beforeQuote ? run / 2 : run, '\\');
            if (beforeQuote && run % 2 == 1) {
                current += '"';
                i = end;  // that quote is a character, not a toggle
            } else {
                i = end - 1;
            }
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                args.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        args.push_back(current);
    return args;
}

std::string quoteArgument(const std::string& text)
{
    if (text.find_first_of(" \t\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

int tHostRunner::run(const std::string& commandLine, tChildOutput output, const std::string& file)
{
    std::vector<std::string> args = splitCommandLine(commandLine);
    if (args.empty())
        return kNotStarted;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    tSpawnSetup setup;
    if (output == tChildOutput::toFile) {
        posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&setup.actions, STDOUT_FILENO, STDERR_FILENO);
    } else if (output == tChildOutput::toStderr) {
        posix_spawn_file_actions_adddup2(&setup.actions, STDERR_FILENO, STDOUT_FILENO);
    }
    // Our own lines must come out before the child's.
    std::cout.flush();
    std::fflush(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ) != 0)
        return kNotStarted;
    return waitForChild(pid);
}

void tHostRunner::setEnvironment(const std::string& name, const std::string& value)
{
    setenv(name.c_str(), value.c_str(), 1);
}

std::string executableDirectory()
{
    std::string path(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return ".";
    path.resize(static_cast<std::size_t>(length));
    std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

void ignoreInterrupts()
{
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
}
