// Helpers for the driver tests: a scratch directory that is also the current
// directory for the test's life, and a runner that records command lines.
#pragma once

#include "process.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class tScratchDir {
public:
    tScratchDir()
    {
        char pattern[] = "/tmp/ezelta-test-XXXXXX";
        path_ = mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~tScratchDir()
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

inline void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

// Records every command and environment change; answers with `exitCode`
// (an empty command line cannot start, as on the host).
class tRecordingRunner : public tCommandRunner {
public:
    int run(const std::string& commandLine, tChildOutput output, const std::string&) override
    {
        commands.push_back(commandLine);
        outputs.push_back(output);
        if (commandLine.empty())
            return kNotStarted;
        return failAt == commands.size() ? 1 : exitCode;
    }
    void setEnvironment(const std::string& name, const std::string& value) override
    {
        environment.push_back(name + "=" + value);
    }

    std::vector<std::string> commands;
    std::vector<tChildOutput> outputs;
    std::vector<std::string> environment;
    int exitCode = 0;
    std::size_t failAt = 0;  // 1-based command that fails; 0 for none
};
