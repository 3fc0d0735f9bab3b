// Logical lines. Comments go here, before any tokenizing, because they can
// hide a continuation ';' and because a '*' line or '&&' would confuse the
// scanner. Strings are skipped whole so that "//" or ';' inside them stays.
#include "source_reader.h"

#include <cctype>

namespace pp {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; }

// The characters that may open a string or a comment; runs of the others are copied at once.
bool mayOpen(char c) { return c == '"' || c == '\'' || c == '[' || c == '/' || c == '&'; }

// The '[' rule of the tokenizer, seen from the last character written.
bool afterOperand(const std::string& text) {
    size_t i = text.size();
    while (i > 0 && isBlank(text[i - 1])) --i;
    if (i == 0) return false;
    unsigned char c = static_cast<unsigned char>(text[i - 1]);
    return std::isalnum(c) || c == '_' || c >= 0x80 || c == ')' || c == ']' || c == '}' || c == '"' || c == '\'';
}

}  // namespace

bool SourceReader::readPhysical(std::string_view& out) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    out = std::string_view(text_).substr(pos_, end - pos_);
    if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
    pos_ = end + 1;
    ++line_;
    return true;
}

bool SourceReader::appendStripped(std::string_view phys, LogicalLine& line, bool& inBlockComment) {
    size_t i = 0;
    const size_t n = phys.size();
    if (!inBlockComment && line.lineCount == 1) {
        size_t first = 0;
        while (first < n && isBlank(phys[first])) ++first;
        if (first < n && phys[first] == '*') return false;  // a comment line
        line.directive = first < n && phys[first] == '#';
    }
    const size_t mark = line.text.size();
    while (i < n) {
        if (inBlockComment) {
            size_t close = phys.find("*/", i);
            if (close == std::string_view::npos) return true;
            i = close + 2;
            inBlockComment = false;
            openComment_ = 0;
            line.text += ' ';
            continue;
        }
        char c = phys[i];
        if (!mayOpen(c)) {
            size_t j = i + 1;
            while (j < n && !mayOpen(phys[j])) ++j;
            line.text.append(phys.data() + i, j - i);
            i = j;
            continue;
        }
        char d = i + 1 < n ? phys[i + 1] : 0;
        if (c == '"' || c == '\'' || (c == '[' && !line.directive && !afterOperand(line.text))) {
            char close = c == '[' ? ']' : c;
            size_t end = phys.find(close, i + 1);
            end = end == std::string_view::npos ? n : end + 1;
            line.text.append(phys.substr(i, end - i));
            i = end;
            continue;
        }
        if ((c == '/' && d == '/') || (c == '&' && d == '&')) break;
        if (c == '/' && d == '*') {
            inBlockComment = true;
            openComment_ = line_;
            i += 2;
            continue;
        }
        line.text += c;
        ++i;
    }
    if (inBlockComment) return true;
    size_t end = line.text.size();
    while (end > mark && isBlank(line.text[end - 1])) --end;
    line.text.resize(end);
    if (end > mark && line.text[end - 1] == ';') {
        line.text[end - 1] = ' ';
        return true;
    }
    return false;
}

bool SourceReader::next(LogicalLine& line) {
    // The text keeps its buffer from line to line.
    line.text.clear();
    line.firstLine = 0;
    line.lineCount = 0;
    line.directive = false;
    std::string_view phys;
    if (!readPhysical(phys)) return false;
    line.firstLine = line_;
    line.lineCount = 1;
    bool inBlockComment = false;
    while (appendStripped(phys, line, inBlockComment)) {
        if (!readPhysical(phys)) break;
        ++line.lineCount;
        line.text += ' ';
    }
    return true;
}

}  // namespace pp
