// Outside tools as child processes, one at a time, and the few other calls
// the driver makes into the host (its own path, interrupt handling). The
// pipeline reaches them only through tCommandRunner, so tests can record
// command lines instead of starting tools.
#pragma once

#include <string>
#include <vector>

// The exit code of a child that could not be started.
constexpr int kNotStarted = 313;

enum class tChildOutput { inherit, toFile, toStderr };

class tCommandRunner {
public:
    virtual ~tCommandRunner() = default;
    // Runs the command line and returns the child's exit code, or kNotStarted.
    // With toFile the child's standard output and error go to `file`.
    virtual int run(const std::string& commandLine, tChildOutput output = tChildOutput::inherit,
                    const std::string& file = {}) = 0;
    // Sets a variable that every later child sees.
    virtual void setEnvironment(const std::string& name, const std::string& value) = 0;
};

// Starts real processes in the current directory and waits for each.
class tHostRunner : public tCommandRunner {
public:
    int run(const std::string& commandLine, tChildOutput output, const std::string& file) override;
    void setEnvironment(const std::string& name, const std::string& value) override;
};

// Splits a command line into arguments the way the desktop tools' run-time
// does: blanks separate, double quotes group and are removed, and a run of
// backslashes is literal unless a quote follows it (2n+1 backslashes before
// a quote give n backslashes and a literal quote).
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// A path as one command-line argument: quoted only when it holds a blank or
// a quote, so ordinary command lines read exactly as their templates.
std::string quoteArgument(const std::string& text);

// The directory of the running executable, without a trailing '/'.
std::string executableDirectory();

// Ctrl+C and SIGTERM no longer stop the compiler (the tool mounts must be
// restored); children still get the default handling.
void ignoreInterrupts();
