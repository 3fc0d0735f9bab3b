// Reads a source file as logical lines: comments removed, and a line that
// ends in ';' joined with the next one. Each logical line knows the physical
// lines it came from, so that output can keep the source's line numbers.
#pragma once

#include <string>
#include <string_view>

namespace pp {

struct LogicalLine {
    std::string text;        // comments blanked out, continuations joined
    int firstLine = 0;       // 1-based number of its first physical line
    int lineCount = 0;       // physical lines it spans
    bool directive = false;  // its first non-blank character is '#'
};

class SourceReader {
public:
    explicit SourceReader(std::string text) : text_(std::move(text)) {}

    // Fills line with the next logical line; false at the end of the file.
    // Never fails: an unterminated string simply ends with its line and is
    // reported later by the tokenizer, and a block comment still open at the
    // end of the file is left for unclosedComment().
    bool next(LogicalLine& line);

    // The line of a "/*" that the file never closes; 0 when there is none.
    int unclosedComment() const { return openComment_; }

    // Number of physical lines read so far.
    int linesRead() const { return line_; }

private:
    bool readPhysical(std::string_view& out);
    // Appends one physical line to line, dropping comments. Returns true when
    // the line ends inside a block comment or with a continuation ';'.
    bool appendStripped(std::string_view phys, LogicalLine& line, bool& inBlockComment);

    std::string text_;
    size_t pos_ = 0;
    int line_ = 0;
    int openComment_ = 0;  // line of the "/*" being read through
};

}  // namespace pp
