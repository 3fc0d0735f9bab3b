// Tokenizer and writer of preprocessor tokens. Comments and continuation
// lines are gone before text gets here (source_reader.cpp removes them).
#include "tokens.h"

#include <cctype>
#include <cstring>

namespace pp {

namespace {

bool isWordChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
}

// Every operator of more than one character has two.
// clang-format off
const char kOperators[][3] = {
    "::", ":=", "+=", "-=", "*=", "/=", "%=", "^=", "**", "==", "!=", "<>", "<=", ">=",
    "->", "++", "--", "??", "=>",
};
// clang-format on

// Which second characters make an operator with each first one, built once
// from kOperators: the tokenizer asks for every operator character.
struct OperatorPairs {
    bool pair[256][256] = {};
    OperatorPairs() {
        for (const char* op : kOperators)
            pair[static_cast<unsigned char>(op[0])][static_cast<unsigned char>(op[1])] = true;
    }
};

bool isOperator(char first, char second) {
    static const OperatorPairs pairs;
    return pairs.pair[static_cast<unsigned char>(first)][static_cast<unsigned char>(second)];
}

bool is(const std::string& text, const char (&literal)[2]) { return text.size() == 1 && text[0] == literal[0]; }
bool is(const std::string& text, const char (&literal)[3]) {
    return text.size() == 2 && text[0] == literal[0] && text[1] == literal[1];
}
bool is(const std::string& text, const char (&literal)[4]) {
    return text.size() == 3 && text[0] == literal[0] && text[1] == literal[1] && text[2] == literal[2];
}

// Logical literals and operators written between dots.
const char* const kDotWords[] = {".T.", ".F.", ".Y.", ".N.", ".AND.", ".OR.", ".NOT."};

size_t dotWordLength(std::string_view text, size_t pos) {
    for (const char* w : kDotWords) {
        size_t n = std::strlen(w);
        if (pos + n > text.size()) continue;
        bool same = true;
        for (size_t i = 0; i < n && same; ++i) same = std::toupper(static_cast<unsigned char>(text[pos + i])) == w[i];
        if (same) return n;
    }
    return 0;
}

// Two operators written side by side that the scanner would read as one.
bool wouldMerge(const Token& a, const Token& b) {
    if (a.kind != TokKind::Op || b.kind != TokKind::Op) return false;
    char pair[3] = {a.text.back(), b.text.front(), 0};
    if (isOperator(pair[0], pair[1])) return true;
    return (pair[0] == '/' && (pair[1] == '/' || pair[1] == '*')) || (pair[0] == '&' && pair[1] == '&');
}

void renderString(std::string& out, const Token& t) {
    // '' is no lexeme at all for the scanner; "" is its null string.
    if (t.quote == '"' || (t.quote == '\'' && !t.text.empty())) {
        out += t.quote;
        out += t.text;
        out += t.quote;
        return;
    }
    out += quoteText(t.text);
}

}  // namespace

std::string upperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

bool endsOperand(const Token& tok) {
    switch (tok.kind) {
        case TokKind::Ident:
        case TokKind::Number:
        case TokKind::String: return true;
        case TokKind::Op:
            return is(tok.text, ")") || is(tok.text, "]") || is(tok.text, "}") || is(tok.text, ".T.") ||
                   is(tok.text, ".F.") || is(tok.text, ".Y.") || is(tok.text, ".N.") || is(tok.text, "++") ||
                   is(tok.text, "--");
    }
    return false;
}

bool nextToken(std::string_view text, size_t& pos, bool bracketStrings, bool afterOperand, Token& tok,
               std::string& error) {
    // Reset in place: the text keeps its buffer.
    tok.kind = TokKind::Op;
    tok.space = false;
    tok.quote = 0;
    tok.text.clear();
    while (pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' || text[pos] == '\f' || text[pos] == '\n')) {
        tok.space = true;
        ++pos;
    }
    if (pos >= text.size()) return false;
    const size_t start = pos;
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (std::isdigit(c) ||
        (c == '.' && pos + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[pos + 1])))) {
        tok.kind = TokKind::Number;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
        if (pos + 1 < text.size() && text[pos] == '.' && std::isdigit(static_cast<unsigned char>(text[pos + 1]))) {
            ++pos;
            while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
        }
        // Letters written against the digits (1e3, 0x1F) stay with them, so
        // the text reaches the parser as written and no rule takes it apart.
        while (pos < text.size() && isWordChar(static_cast<unsigned char>(text[pos]))) ++pos;
        tok.text.assign(text.substr(start, pos - start));
        return true;
    }
    if (isWordChar(c)) {
        tok.kind = TokKind::Ident;
        while (pos < text.size() && isWordChar(static_cast<unsigned char>(text[pos]))) ++pos;
        tok.text.assign(text.substr(start, pos - start));
        return true;
    }
    if (c == '"' || c == '\'' || (c == '[' && bracketStrings && !afterOperand)) {
        const char close = c == '[' ? ']' : static_cast<char>(c);
        size_t end = text.find(close, pos + 1);
        if (end == std::string_view::npos) {
            error = "Unterminated string";
            pos = text.size();
            return false;
        }
        tok.kind = TokKind::String;
        tok.quote = static_cast<char>(c);
        tok.text.assign(text.substr(pos + 1, end - pos - 1));
        pos = end + 1;
        return true;
    }
    tok.kind = TokKind::Op;
    if (c == '.') {
        if (size_t n = dotWordLength(text, pos)) {
            tok.text = upperCase(text.substr(pos, n));
            pos += n;
            return true;
        }
    }
    if (pos + 1 < text.size() && isOperator(static_cast<char>(c), text[pos + 1])) {
        tok.text.assign(text.substr(pos, 2));
        pos += 2;
        return true;
    }
    tok.text.assign(1, static_cast<char>(c));
    ++pos;
    return true;
}

bool tokenize(std::string_view text, bool bracketStrings, Tokens& out, std::string& error) {
    size_t pos = 0;
    bool afterOperand = false;
    // About one token in four characters of code; growing by doubling
    // would move every token several times.
    out.reserve(out.size() + text.size() / 4 + 4);
    // Each token is read where it is kept.
    for (;;) {
        Token& tok = out.emplace_back();
        if (!nextToken(text, pos, bracketStrings, afterOperand, tok, error)) {
            out.pop_back();
            break;
        }
        afterOperand = endsOperand(tok);
    }
    return error.empty();
}

std::string quoteText(std::string_view text) {
    if (text.find('"') == std::string_view::npos) return "\"" + std::string(text) + "\"";
    if (text.find('\'') == std::string_view::npos) return "'" + std::string(text) + "'";
    // Both quotes inside: the scanner has no escapes, so join pieces.
    std::string r = "(";
    size_t i = 0;
    while (i < text.size()) {
        if (r.size() > 1) r += " + ";
        char q = text[i] == '"' ? '\'' : '"';
        size_t j = text.find(q, i);
        if (j == std::string_view::npos) j = text.size();
        r += q;
        r.append(text.substr(i, j - i));
        r += q;
        i = j;
    }
    return r + ")";
}

void renderTokens(std::string& out, const Token* b, const Token* e) {
    const Token* prev = nullptr;
    for (const Token* t = b; t != e; prev = t, ++t) {
        if (prev) {
            bool glue = isWordChar(static_cast<unsigned char>(out.empty() ? ' ' : out.back())) &&
                        t->kind != TokKind::Op && t->kind != TokKind::String;
            if (t->space || glue || wouldMerge(*prev, *t)) out += ' ';
        }
        switch (t->kind) {
            case TokKind::String: renderString(out, *t); break;
            case TokKind::Op:
                if (is(t->text, "<>"))
                    out += "!=";
                else if (is(t->text, "**"))
                    out += "^";
                else if (is(t->text, ".Y."))
                    out += ".T.";
                else if (is(t->text, ".N."))
                    out += ".F.";
                else
                    out += t->text;
                break;
            default: out += t->text;
        }
    }
}

std::string renderTokens(const Tokens& toks) {
    std::string s;
    renderTokens(s, toks.data(), toks.data() + toks.size());
    return s;
}

std::string sourceText(const Token* b, const Token* e) {
    std::string s;
    for (const Token* t = b; t != e; ++t) {
        if (t != b && t->space) s += ' ';
        if (t->kind == TokKind::String && t->quote == 0) {
            s += quoteText(t->text);
        } else if (t->kind == TokKind::String) {
            char close = t->quote == '[' ? ']' : t->quote;
            s += t->quote;
            s += t->text;
            s += close;
        } else {
            s += t->text;
        }
    }
    return s;
}

bool sameToken(const Token& a, const Token& b) {
    return a.kind == b.kind && a.text == b.text && (a.kind != TokKind::String || a.quote == b.quote);
}

}  // namespace pp
