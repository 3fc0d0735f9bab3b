// Translation rules (#command, #xcommand, #translate, #xtranslate): their
// parsed form, matching against a statement and writing the result.
//
// A rule is a match pattern and a result pattern. The match pattern is a
// list of literal tokens, markers and optional clauses; a run of optional
// clauses matches in any order and each may repeat (USE x NEW ALIAS y,
// REPLACE a WITH 1, b WITH 2). Every marker collects one occurrence per
// match; a repeated result clause is written once per occurrence of the
// markers inside it, and skipped when they never matched. A clause repeats
// only when every marker in it is written inside result clauses: a marker
// written once could show only its first occurrence, and the rest of the
// statement would vanish (? 1 2 is no QOut( 1 )). Such a statement matches
// no rule and reaches the parser as written.
//
// Rules are kept in a RuleSet indexed by the first keyword of their pattern
// (its first four letters, upper-cased, since keywords may be abbreviated),
// so a statement only meets the rules that can start with its words.
#pragma once

#include <bitset>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tokens.h"

namespace pp {

struct MatchItem {
    enum Kind { Literal, Regular, List, Restricted, Wild, Extended, Optional } kind = Literal;
    Token lit;                        // Literal
    std::string upper;                // Literal: upper-cased text
    int marker = -1;                  // every marker kind
    std::vector<std::string> words;   // Restricted: upper-cased
    std::vector<MatchItem> children;  // Optional
    bool repeats = true;              // Optional: may match more than once
};

struct ResultItem {
    enum Kind { Text, Regular, Dumb, Normal, Smart, Blockify, Logify, Optional } kind = Text;
    Token tok;  // Text; for markers only tok.space counts
    int marker = -1;
    std::vector<ResultItem> children;  // Optional
};

struct Rule {
    bool command = true;  // #command/#xcommand match a whole statement
    bool exact = false;   // #x forms: keywords in full
    std::vector<MatchItem> match;
    std::vector<ResultItem> result;
    std::vector<std::string> markers;   // upper-cased names, by marker number
    std::vector<bool> optional;         // by marker number: inside an optional clause
    std::vector<std::string> keywords;  // upper-cased literal words of the pattern
    std::string file;
    int line = 0;
    int serial = 0;    // definition order: later rules win
    std::string text;  // as written, for messages
};

// Parses the text after the directive word. Returns null and sets error when
// the rule is malformed.
std::unique_ptr<Rule> parseRule(std::string_view text, bool command, bool exact, std::string& error);

// One match of a marker: the element ranges of the statement it took (a list
// marker has one per element) and the whole range.
struct Occurrence {
    int begin = 0, end = 0;
    std::vector<std::pair<int, int>> elems;
};

class Matcher {
public:
    Matcher(const Rule& rule, const Tokens& toks) : rule_(rule), toks_(toks), values_(rule.markers.size()) {}

    // Matches the pattern from token pos; on success end is one past the
    // last token taken.
    bool matchAt(int pos, int limit, int& end);
    // The rule's result for the last successful match.
    void expand(Tokens& out) const;

private:
    bool matchSeq(const std::vector<MatchItem>& items, int& pos, int limit);
    bool matchOne(const MatchItem& item, const MatchItem* next, int& pos, int limit);
    bool keywordMatches(const std::string& upper, const Token& tok) const;
    bool isRuleKeyword(const Token& tok) const;
    int matchExpression(int pos, int limit, const Token* stop) const;
    int matchExtended(int pos, int limit, const Token* stop) const;
    void expandSeq(const std::vector<ResultItem>& items, size_t occ, Tokens& out) const;
    void expandMarker(const ResultItem& item, size_t occ, Tokens& out) const;
    size_t repeatCount(const std::vector<ResultItem>& items) const;

    const Rule& rule_;
    const Tokens& toks_;
    std::vector<std::vector<Occurrence>> values_;
};

class RuleSet {
public:
    void add(std::unique_ptr<Rule> rule);
    // Candidates whose pattern may start with tok, latest first.
    void candidates(const Token& tok, bool command, std::vector<const Rule*>& out) const;
    bool hasTranslates() const { return translateCount_ > 0; }
    size_t size() const { return rules_.size(); }

private:
    struct Bucket {
        std::vector<const Rule*> commands, translates;
    };
    std::vector<std::unique_ptr<Rule>> rules_;
    std::unordered_map<std::string, Bucket> index_;
    Bucket unkeyed_;  // patterns that start with a marker or a clause
    size_t translateCount_ = 0;
    // The first characters of the keys in index_, by kind of rule: a token
    // whose first character starts no key needs no look-up (most do not).
    std::bitset<256> commandStarts_, translateStarts_;
};

// The key under which a word is filed: its first four letters, upper-cased.
std::string ruleKey(const Token& tok);

}  // namespace pp
