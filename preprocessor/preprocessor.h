// The preprocessor proper: reads a source with its standard header and its
// includes, obeys the directives, applies the #define, #translate and
// #command rules to every statement, and writes the ".ppo" text.
//
// Output keeps one line per line of the main source: directive lines become
// empty lines and a statement continued over several lines is written on its
// first line, followed by empty lines. Text that comes from another file (or
// that follows such text) is announced by a #line <n> "<file>" line.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace pp {

struct Options {
    std::vector<std::string> includeDirs;  // searched after the including file's folder and the current one
    std::string header;                    // processed before the source, as if included on its line 0
    std::ostream* console = nullptr;       // where #stdout writes; standard output when null
};

class Preprocessor {
public:
    explicit Preprocessor(Options options);
    ~Preprocessor();

    // Preprocesses the file at source into out. Returns false when any error
    // was reported; errors() then holds them as "file(line) Error: message".
    bool run(const std::string& source, std::string& out);

    // Preprocesses text as if it were the file named name (for tests).
    bool runText(const std::string& name, const std::string& text, std::string& out);

    const std::vector<std::string>& errors() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace pp
