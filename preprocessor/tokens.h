// Tokens of the preprocessor: the words, numbers, strings and operators that
// rules match. A token remembers whether a blank preceded it, so that text
// written back out keeps the programmer's spacing where no rule touched it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pp {

enum class TokKind : unsigned char { Ident, Number, String, Op };

struct Token {
    TokKind kind = TokKind::Op;
    bool space = false;  // a blank came before it
    char quote = 0;      // strings: '"', '\'' or '[' as written; 0 when a rule made it
    std::string text;    // a string's contents, without its delimiters
};

using Tokens = std::vector<Token>;

// Cuts one statement (or a piece of rule text) into tokens. With
// bracketStrings, a '[' where an operand is expected opens a string, as in
// code; rule text passes false because there '[' opens an optional clause.
// Returns false and sets error on an unterminated string.
bool tokenize(std::string_view text, bool bracketStrings, Tokens& out, std::string& error);

// Reads one token at text[pos] (blanks before it are skipped and noted);
// pos moves past it. Returns false at the end of the text.
bool nextToken(std::string_view text, size_t& pos, bool bracketStrings, bool afterOperand, Token& tok,
               std::string& error);

// True when a '[' after this token is a subscript rather than a string.
bool endsOperand(const Token& tok);

// The text the scanner reads for tokens [b, e): strings are written with a
// delimiter the scanner knows, and spellings it does not know (<>, **, .Y.)
// are written the way it does.
void renderTokens(std::string& out, const Token* b, const Token* e);
std::string renderTokens(const Tokens& toks);

// A string literal holding text, delimited so that the scanner reads it back.
std::string quoteText(std::string_view text);

// The source text of tokens [b, e) as the programmer wrote it, for stringify.
std::string sourceText(const Token* b, const Token* e);

std::string upperCase(std::string_view s);
bool sameToken(const Token& a, const Token& b);

}  // namespace pp
