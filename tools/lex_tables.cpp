// Scanner table generator: reads a lexical-rules file (compiler/frontend/tokens.lex)
// and writes the scanner's byte block ("XLSS"), one deterministic automaton per
// expression list. Each rule's pattern becomes a Thompson NFA; the subset
// construction runs over byte classes (0..255, plus one class for every code
// above 255). A DFA state accepts for the earliest rule among its NFA states,
// which gives longest match with ties going to the rule listed first.
//
// Rules file, one item a line ('#' starts a comment line):
//   define <name> <pattern>           a sub-pattern, used as {name}
//   list <n>                          rules below belong to expression list n
//   <pattern> <token> [options]       a rule; options: drop, push <n>, pop,
//                                     switch <n>, cut (last char not in lexeme)
// Patterns: "text" (exact), i"text" (either case), i"text"/N (either case, and
// any prefix of at least N characters), [class] with ranges and ^, (a|b),
// postfix * + ?, {name}; juxtaposition concatenates. Escapes: \n \t \r \\ \" \].
//
// Block layout (32-bit little-endian words):
//   header: lists L, "XLSS", keyword tables 0, translations 0, 5 reserved words
//   per list: 22-word header ("XLSS", size, 8 x 0, states S, size,
//   state-offset table offset, 88, 8 x 0), S accept records of 7 words
//   (token, list, flags, 0, 0, 0, 0), S row offsets, rows (N, N x (low, high, next)).
//
// Usage: lex_tables <rules file> <output file>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kAbove255 = 256;  // the byte class that stands for every code above 255
using CharSet = std::bitset<257>;

enum : uint32_t {
    kFlagCut = 0x80,
    kFlagDrop = 0x40,
    kFlagPush = 0x20,
    kFlagAccept = 0x10,
    kFlagPop = 0x08,
};

struct NfaState {
    CharSet chars;  // consuming edge to `next` when non-empty
    int next = -1;
    std::vector<int> epsilon;
    int rule = -1;  // accepting for this rule
};

struct Fragment {
    int start, end;
};

struct Rule {
    uint32_t token = 0, list = 0, flags = kFlagAccept, target = 0;
};

class RulesError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Nfa {
public:
    std::vector<NfaState> states;

    int add() {
        states.emplace_back();
        return int(states.size()) - 1;
    }
    Fragment chars(const CharSet& set) {
        Fragment f{add(), add()};
        states[f.start].chars = set;
        states[f.start].next = f.end;
        return f;
    }
    Fragment empty() {
        Fragment f{add(), add()};
        states[f.start].epsilon.push_back(f.end);
        return f;
    }
    Fragment concat(Fragment a, Fragment b) {
        states[a.end].epsilon.push_back(b.start);
        return {a.start, b.end};
    }
    Fragment alternate(Fragment a, Fragment b) {
        Fragment f{add(), add()};
        states[f.start].epsilon = {a.start, b.start};
        states[a.end].epsilon.push_back(f.end);
        states[b.end].epsilon.push_back(f.end);
        return f;
    }
    // min 0 or 1, unbounded when many.
    Fragment repeat(Fragment a, bool zeroAllowed, bool many) {
        Fragment f{add(), add()};
        states[f.start].epsilon.push_back(a.start);
        states[a.end].epsilon.push_back(f.end);
        if (zeroAllowed) states[f.start].epsilon.push_back(f.end);
        if (many) states[a.end].epsilon.push_back(a.start);
        return f;
    }
};

CharSet caseless(unsigned char c) {
    CharSet s;
    s.set(c);
    if (c >= 'a' && c <= 'z') s.set(c - 32);
    if (c >= 'A' && c <= 'Z') s.set(c + 32);
    return s;
}

// Recursive-descent pattern parser building NFA fragments as it goes.
class PatternParser {
public:
    PatternParser(Nfa& nfa, const std::map<std::string, std::string>& defines, const std::string& text)
        : nfa_(nfa), defines_(defines), text_(text) {}

    Fragment parse() {
        Fragment f = alternation();
        if (pos_ != text_.size()) fail("unexpected '" + std::string(1, text_[pos_]) + "'");
        return f;
    }

private:
    Nfa& nfa_;
    const std::map<std::string, std::string>& defines_;
    std::string text_;
    size_t pos_ = 0;

    [[noreturn]] void fail(const std::string& why) { throw RulesError("pattern " + text_ + ": " + why); }
    bool more() const { return pos_ < text_.size(); }
    char peek() const { return text_[pos_]; }

    unsigned char escaped() {
        if (!more()) fail("dangling escape");
        char c = text_[pos_++];
        switch (c) {
            case 'n': return '\n';
            case 't': return '\t';
            case 'r': return '\r';
            default: return static_cast<unsigned char>(c);
        }
    }

    Fragment alternation() {
        Fragment f = sequence();
        while (more() && peek() == '|') {
            ++pos_;
            f = nfa_.alternate(f, sequence());
        }
        return f;
    }

    Fragment sequence() {
        Fragment f = nfa_.empty();
        while (more()) {
            char c = peek();
            if (c == '|' || c == ')') break;
            if (c == ' ') {
                ++pos_;
                continue;
            }
            f = nfa_.concat(f, postfix());
        }
        return f;
    }

    Fragment postfix() {
        Fragment f = atom();
        while (more() && (peek() == '*' || peek() == '+' || peek() == '?')) {
            char op = text_[pos_++];
            f = nfa_.repeat(f, op != '+', op != '?');
        }
        return f;
    }

    Fragment atom() {
        char c = peek();
        if (c == '(') {
            ++pos_;
            Fragment f = alternation();
            if (!more() || peek() != ')') fail("missing )");
            ++pos_;
            return f;
        }
        if (c == '[') return nfa_.chars(charClass());
        if (c == '"') return literal(false);
        if (c == 'i' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
            ++pos_;
            return literal(true);
        }
        if (c == '{') {
            size_t close = text_.find('}', pos_);
            if (close == std::string::npos) fail("missing }");
            std::string name = text_.substr(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            auto it = defines_.find(name);
            if (it == defines_.end()) fail("undefined {" + name + "}");
            return PatternParser(nfa_, defines_, it->second).parse();
        }
        fail("unexpected '" + std::string(1, c) + "'");
    }

    CharSet charClass() {
        ++pos_;  // [
        bool negate = more() && peek() == '^';
        if (negate) ++pos_;
        CharSet set;
        while (more() && peek() != ']') {
            unsigned char lo = peek() == '\\' ? (++pos_, escaped()) : static_cast<unsigned char>(text_[pos_++]);
            unsigned char hi = lo;
            if (more() && peek() == '-' && pos_ + 1 < text_.size() && text_[pos_ + 1] != ']') {
                ++pos_;
                hi = peek() == '\\' ? (++pos_, escaped()) : static_cast<unsigned char>(text_[pos_++]);
            }
            if (hi < lo) fail("reversed range");
            for (int ch = lo; ch <= hi; ++ch) set.set(ch);
        }
        if (!more()) fail("missing ]");
        ++pos_;
        if (negate) set.flip();
        return set;
    }

    Fragment literal(bool anyCase) {
        ++pos_;  // opening quote
        std::string s;
        while (more() && peek() != '"') s += peek() == '\\' ? (++pos_, char(escaped())) : text_[pos_++];
        if (!more()) fail("unterminated string");
        ++pos_;
        size_t shortest = s.size();
        if (more() && peek() == '/') {
            if (!anyCase) fail("only i\"...\" literals take a shortest prefix");
            ++pos_;
            size_t digits = 0;
            shortest = std::stoul(text_.substr(pos_), &digits);
            pos_ += digits;
            if (shortest == 0 || shortest > s.size()) fail("bad shortest prefix");
        }
        if (s.empty()) fail("empty literal");
        // Prefix chain: the tail after `shortest` characters is optional, one
        // character at a time.
        Fragment tail = nfa_.empty();
        for (size_t k = s.size(); k > shortest; --k) {
            Fragment ch =
                nfa_.chars(anyCase ? caseless(s[k - 1]) : CharSet().set(static_cast<unsigned char>(s[k - 1])));
            tail = nfa_.repeat(nfa_.concat(ch, tail), true, false);
        }
        Fragment head = nfa_.empty();
        for (size_t k = 0; k < shortest; ++k)
            head = nfa_.concat(head,
                               nfa_.chars(anyCase ? caseless(s[k]) : CharSet().set(static_cast<unsigned char>(s[k]))));
        return nfa_.concat(head, tail);
    }
};

struct ListRules {
    Nfa nfa;
    std::vector<Rule> rules;
    int start = -1;  // alternation root
};

struct Row {
    uint32_t low, high, next;
};

struct Dfa {
    std::vector<std::vector<Row>> rows;
    std::vector<int> acceptRule;  // -1 when the state does not accept
};

void closure(const Nfa& nfa, std::vector<int>& set) {
    std::vector<char> seen(nfa.states.size(), 0);
    for (int s : set) seen[s] = 1;
    for (size_t i = 0; i < set.size(); ++i)
        for (int e : nfa.states[set[i]].epsilon)
            if (!seen[e]) {
                seen[e] = 1;
                set.push_back(e);
            }
    std::sort(set.begin(), set.end());
}

Dfa build(const ListRules& list) {
    const Nfa& nfa = list.nfa;
    // Byte classes: codes that no edge tells apart share one class.
    std::map<std::vector<bool>, int> signatureClass;
    std::vector<int> classOf(257);
    std::vector<int> representative;
    for (int c = 0; c <= kAbove255; ++c) {
        std::vector<bool> sig;
        sig.reserve(nfa.states.size());
        for (const NfaState& s : nfa.states) sig.push_back(s.next >= 0 && s.chars.test(c));
        auto [it, added] = signatureClass.emplace(sig, int(representative.size()));
        if (added) representative.push_back(c);
        classOf[c] = it->second;
    }

    Dfa dfa;
    std::map<std::vector<int>, int> index;
    std::vector<std::vector<int>> sets;
    std::vector<int> first{list.start};
    closure(nfa, first);
    index[first] = 0;
    sets.push_back(first);
    for (size_t d = 0; d < sets.size(); ++d) {
        std::vector<int> target(representative.size(), -1);
        for (size_t k = 0; k < representative.size(); ++k) {
            std::vector<int> moved;
            for (int s : sets[d])
                if (nfa.states[s].next >= 0 && nfa.states[s].chars.test(representative[k]))
                    moved.push_back(nfa.states[s].next);
            if (moved.empty()) continue;
            closure(nfa, moved);
            moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
            auto [it, added] = index.emplace(moved, int(sets.size()));
            if (added) sets.push_back(moved);
            target[k] = it->second;
        }
        int accept = -1;
        for (int s : sets[d])
            if (nfa.states[s].rule >= 0 && (accept < 0 || nfa.states[s].rule < accept)) accept = nfa.states[s].rule;
        dfa.acceptRule.push_back(accept);
        std::vector<Row> row;
        for (int c = 0; c <= kAbove255; ++c) {
            int t = target[classOf[c]];
            if (t < 0) continue;
            uint32_t high = c == kAbove255 ? 0xFFFF : uint32_t(c);
            if (!row.empty() && row.back().next == uint32_t(t) && row.back().high + 1 == uint32_t(c))
                row.back().high = high;
            else
                row.push_back({uint32_t(c), high, uint32_t(t)});
        }
        dfa.rows.push_back(std::move(row));
    }
    if (dfa.acceptRule[0] >= 0) throw RulesError("a rule matches the empty string");
    return dfa;
}

std::vector<std::string> splitWords(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Splits "<pattern> <token> <options...>": the pattern ends where the first
// whitespace-separated word outside quotes and classes that is a plain number.
void splitRule(const std::string& line, std::string& pattern, std::vector<std::string>& rest) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '"') quoted = !quoted;
        if (c == '[' && !quoted) {
            while (i + 1 < line.size() && line[i + 1] != ']') i += line[i + 1] == '\\' ? 2 : 1;
            continue;
        }
        if (quoted || (c != ' ' && c != '\t')) continue;
        size_t j = line.find_first_not_of(" \t", i);
        if (j == std::string::npos) break;
        size_t e = line.find_first_of(" \t", j);
        std::string word = line.substr(j, e == std::string::npos ? std::string::npos : e - j);
        if (!word.empty() && word.find_first_not_of("0123456789") == std::string::npos) {
            pattern = line.substr(0, i);
            rest = splitWords(line.substr(j));
            return;
        }
    }
    throw RulesError("rule without a token id: " + line);
}

Rule parseOptions(const std::vector<std::string>& words) {
    Rule r;
    r.token = uint32_t(std::stoul(words[0]));
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "drop")
            r.flags |= kFlagDrop;
        else if (w == "cut")
            r.flags |= kFlagCut;
        else if (w == "pop")
            r.flags |= kFlagPop;
        else if ((w == "push" || w == "switch") && i + 1 < words.size()) {
            r.flags |= w == "push" ? kFlagPush : kFlagPush | kFlagPop;
            r.target = uint32_t(std::stoul(words[++i]));
        } else
            throw RulesError("unknown option " + w);
    }
    return r;
}

std::vector<ListRules> readRules(const char* path) {
    std::ifstream in(path);
    if (!in) throw RulesError(std::string("cannot open ") + path);
    std::map<std::string, std::string> defines;
    std::vector<ListRules> lists;
    int current = -1;
    std::vector<Fragment> roots;
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        size_t b = line.find_first_not_of(" \t\r");
        if (b == std::string::npos || line[b] == '#') continue;
        line = line.substr(b, line.find_last_not_of(" \t\r") - b + 1);
        try {
            std::vector<std::string> words = splitWords(line);
            if (words[0] == "define" && words.size() >= 3) {
                size_t at = line.find(words[1]) + words[1].size();
                defines[words[1]] = line.substr(line.find_first_not_of(" \t", at));
            } else if (words[0] == "list" && words.size() == 2) {
                current = std::stoi(words[1]);
                if (current != int(lists.size())) throw RulesError("lists must come in order 0, 1, 2 ...");
                lists.emplace_back();
                lists.back().start = lists.back().nfa.add();
            } else {
                if (current < 0) throw RulesError("rule before the first list");
                std::string pattern;
                std::vector<std::string> rest;
                splitRule(line, pattern, rest);
                ListRules& list = lists[current];
                Rule rule = parseOptions(rest);
                rule.list = rule.target;
                Fragment f = PatternParser(list.nfa, defines, pattern).parse();
                list.nfa.states[f.end].rule = int(list.rules.size());
                list.nfa.states[list.start].epsilon.push_back(f.start);
                list.rules.push_back(rule);
            }
        } catch (const std::exception& e) {
            throw RulesError(std::string(path) + ":" + std::to_string(lineNo) + ": " + e.what());
        }
    }
    if (lists.empty()) throw RulesError("no lists");
    return lists;
}

void put(std::vector<uint32_t>& out, uint32_t w) { out.push_back(w); }

constexpr uint32_t kMagic = 'X' | 'L' << 8 | 'S' << 16 | uint32_t('S') << 24;

std::vector<uint32_t> encodeList(const ListRules& list, const Dfa& dfa) {
    const uint32_t states = uint32_t(dfa.rows.size());
    const uint32_t acceptOffset = 88, stateTable = acceptOffset + 28 * states;
    std::vector<uint32_t> out(22, 0);
    out[0] = kMagic;
    out[10] = states;
    out[12] = stateTable;
    out[13] = acceptOffset;
    for (uint32_t s = 0; s < states; ++s) {
        int r = dfa.acceptRule[s];
        Rule rule = r >= 0 ? list.rules[r] : Rule{0, 0, 0, 0};
        for (uint32_t w : {rule.token, rule.list, rule.flags, 0u, 0u, 0u, 0u}) put(out, w);
    }
    size_t table = out.size();
    out.resize(out.size() + states);
    for (uint32_t s = 0; s < states; ++s) {
        out[table + s] = uint32_t(out.size() * 4);
        put(out, uint32_t(dfa.rows[s].size()));
        for (const Row& row : dfa.rows[s]) {
            put(out, row.low);
            put(out, row.high);
            put(out, row.next);
        }
    }
    out[1] = out[11] = uint32_t(out.size() * 4);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lex_tables <rules file> <output file>\n");
        return 2;
    }
    try {
        std::vector<ListRules> lists = readRules(argv[1]);
        std::vector<uint32_t> block{uint32_t(lists.size()), kMagic, 0, 0, 0, 0, 0, 0, 0};
        size_t total = 0;
        for (size_t i = 0; i < lists.size(); ++i) {
            for (const Rule& r : lists[i].rules)
                if ((r.flags & kFlagPush) && r.target >= lists.size())
                    throw RulesError("list " + std::to_string(i) + " pushes a missing list");
            Dfa dfa = build(lists[i]);
            total += dfa.rows.size();
            std::vector<uint32_t> encoded = encodeList(lists[i], dfa);
            block.insert(block.end(), encoded.begin(), encoded.end());
        }
        std::FILE* out = std::fopen(argv[2], "wb");
        if (!out) throw RulesError(std::string("cannot write ") + argv[2]);
        for (uint32_t w : block) {
            unsigned char b[4] = {uint8_t(w), uint8_t(w >> 8), uint8_t(w >> 16), uint8_t(w >> 24)};
            std::fwrite(b, 1, 4, out);
        }
        if (std::fclose(out) != 0) throw RulesError(std::string("cannot write ") + argv[2]);
        std::printf("lex_tables: %zu lists, %zu states, %zu bytes\n", lists.size(), total, block.size() * 4);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lex_tables: %s\n", e.what());
        return 1;
    }
    return 0;
}
