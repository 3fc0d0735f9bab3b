// Parsing, matching and expansion of translation rules.
//
// Match markers:  <id> expression, <id,...> list of expressions,
//   <id: w1, w2> one of the words, <*id*> the rest of the statement,
//   <(id)> an expression in parentheses or a run of unblanked tokens
//   (a file name such as cust.dbf).
// Result markers: <id> as matched, #<id> dumb stringify (always a string),
//   <"id"> normal stringify (each list element, nothing when unmatched),
//   <(id)> smart stringify (leaves strings, numbers and (expr) alone),
//   <{id}> blockify, <.id.> logify (.T. when matched).
//
// Expressions are matched greedily but never across a keyword of the rule
// itself, so that SKIP ALIAS x does not take ALIAS as the step count.
#include "rules.h"

#include <algorithm>
#include <cctype>

namespace pp {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\n'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool isOp(const Token& t, const char* text) { return t.kind == TokKind::Op && t.text == text; }

const char* const kBinary[] = {
    "+",  "-", "*",  "/",  "%",  "^",  "**", "=",  "==", "!=", "<>", "#",  "<", ">",     "<=",
    ">=", "$", ":=", "+=", "-=", "*=", "/=", "%=", "^=", "->", ":",  "::", "|", ".AND.", ".OR."};
const char* const kPrefix[] = {"+", "-", "!", ".NOT.", "@", "&", "++", "--"};

bool inList(const std::string& s, const char* const* b, const char* const* e) {
    return std::any_of(b, e, [&](const char* x) { return s == x; });
}

class RuleParser {
public:
    RuleParser(std::string_view text, Rule& rule, std::string& error) : s_(text), rule_(rule), error_(error) {}

    bool parseMatch(std::vector<MatchItem>& out, bool inGroup);
    bool parseResult(std::vector<ResultItem>& out, bool inGroup);

private:
    bool skipBlanks() {
        bool any = false;
        while (i_ < s_.size() && isBlank(s_[i_])) ++i_, any = true;
        return any;
    }
    bool readName(size_t& j, std::string& name) const {
        while (j < s_.size() && isBlank(s_[j])) ++j;
        size_t start = j;
        while (j < s_.size() && isNameChar(s_[j])) ++j;
        name = upperCase(s_.substr(start, j - start));
        while (j < s_.size() && isBlank(s_[j])) ++j;
        return !name.empty();
    }
    bool expect(size_t& j, const char* text) const {
        while (j < s_.size() && isBlank(s_[j])) ++j;
        size_t n = std::char_traits<char>::length(text);
        if (s_.compare(j, n, text) != 0) return false;
        j += n;
        return true;
    }
    bool tryMatchMarker(MatchItem& item, bool inGroup);
    bool tryResultMarker(ResultItem& item);
    bool literal(Token& tok, bool& afterOperand);
    int markerIndex(const std::string& name) const {
        auto it = std::find(rule_.markers.begin(), rule_.markers.end(), name);
        return it == rule_.markers.end() ? -1 : static_cast<int>(it - rule_.markers.begin());
    }

    std::string_view s_;
    size_t i_ = 0;
    Rule& rule_;
    std::string& error_;
};

bool RuleParser::literal(Token& tok, bool& afterOperand) {
    if (s_[i_] == '\\' && i_ + 1 < s_.size()) {
        ++i_;  // an escaped character stands for itself
        tok = Token();
        tok.kind = TokKind::Op;
        tok.text.assign(1, s_[i_++]);
        afterOperand = false;
        return true;
    }
    std::string err;
    if (!nextToken(s_, i_, false, afterOperand, tok, err)) {
        error_ = err.empty() ? "Unexpected end of rule" : err;
        return false;
    }
    afterOperand = endsOperand(tok);
    return true;
}

bool RuleParser::tryMatchMarker(MatchItem& out, bool inGroup) {
    MatchItem item;
    size_t j = i_ + 1;
    // "<" written against a name (or *, (, !) can only mean a marker: one
    // that does not close is an error, not a literal "<".
    const bool meant = j < s_.size() && (isNameChar(s_[j]) || s_[j] == '*' || s_[j] == '(' || s_[j] == '!');
    auto malformed = [&](const std::string& name) {
        if (meant && !name.empty()) error_ = "Unclosed or malformed marker <" + name + "> in the pattern";
        return false;
    };
    while (j < s_.size() && isBlank(s_[j])) ++j;
    if (j >= s_.size()) return false;
    std::string name;
    char c = s_[j];
    if (c == '*' || c == '(' || c == '!') {
        char close = c == '(' ? ')' : c;
        ++j;
        if (!readName(j, name) || j >= s_.size() || s_[j] != close) return malformed(name);
        ++j;
        if (!expect(j, ">")) return malformed(name);
        item.kind = c == '*' ? MatchItem::Wild : c == '(' ? MatchItem::Extended : MatchItem::Regular;
    } else {
        if (!readName(j, name) || j >= s_.size()) return malformed(name);
        if (s_[j] == '>') {
            item.kind = MatchItem::Regular;
            ++j;
        } else if (s_[j] == ',') {
            ++j;
            if (!expect(j, "...") || !expect(j, ">")) return malformed(name);
            item.kind = MatchItem::List;
        } else if (s_[j] == ':') {
            size_t close = s_.find('>', j);
            if (close == std::string_view::npos) return malformed(name);
            item.kind = MatchItem::Restricted;
            std::string_view list = s_.substr(j + 1, close - j - 1);
            size_t k = 0;
            while (k <= list.size()) {
                size_t comma = list.find(',', k);
                if (comma == std::string_view::npos) comma = list.size();
                std::string_view w = list.substr(k, comma - k);
                while (!w.empty() && isBlank(w.front())) w.remove_prefix(1);
                while (!w.empty() && isBlank(w.back())) w.remove_suffix(1);
                if (!w.empty()) item.words.push_back(upperCase(w));
                k = comma + 1;
            }
            if (item.words.empty()) return malformed(name);
            j = close + 1;
        } else {
            return malformed(name);
        }
    }
    if (markerIndex(name) >= 0) {
        error_ = "Marker <" + name + "> used twice in the pattern";
        return false;
    }
    item.marker = static_cast<int>(rule_.markers.size());
    rule_.markers.push_back(name);
    rule_.optional.push_back(inGroup);
    i_ = j;
    out = std::move(item);
    return true;
}

bool RuleParser::parseMatch(std::vector<MatchItem>& out, bool inGroup) {
    bool afterOperand = false;
    for (;;) {
        bool space = skipBlanks();
        if (i_ >= s_.size()) {
            if (inGroup) error_ = "Unclosed [ in the pattern";
            return !inGroup;
        }
        char c = s_[i_];
        if (c == ']') {
            if (!inGroup) {
                error_ = "Unbalanced ] in the pattern";
                return false;
            }
            ++i_;
            return true;
        }
        MatchItem item;
        if (c == '[') {
            ++i_;
            item.kind = MatchItem::Optional;
            if (!parseMatch(item.children, true)) return false;
            if (item.children.empty()) {
                error_ = "Empty [ ] in the pattern";
                return false;
            }
            out.push_back(std::move(item));
            afterOperand = false;
            continue;
        }
        if (c == '<' && tryMatchMarker(item, inGroup)) {
            out.push_back(std::move(item));
            afterOperand = true;
            continue;
        }
        if (!error_.empty()) return false;
        if (!literal(item.lit, afterOperand)) return false;
        item.lit.space = space;
        item.upper = upperCase(item.lit.text);
        if (item.lit.kind == TokKind::Ident) rule_.keywords.push_back(item.upper);
        out.push_back(std::move(item));
    }
}

bool RuleParser::tryResultMarker(ResultItem& out) {
    ResultItem item;
    size_t j = i_;
    std::string name;
    // A marker name of the pattern after "<" means a marker: one that does
    // not close is an error, not the literal text "<name".
    auto malformed = [&]() {
        if (markerIndex(name) >= 0) error_ = "Unclosed or malformed marker <" + name + "> in the result";
        return false;
    };
    if (s_[j] == '#') {
        ++j;
        if (j >= s_.size() || s_[j] != '<') return false;
        ++j;
        if (!readName(j, name) || j >= s_.size() || s_[j] != '>') return malformed();
        ++j;
        item.kind = ResultItem::Dumb;
    } else {
        ++j;
        if (j >= s_.size()) return false;
        char open = s_[j];
        char close = 0;
        switch (open) {
            case '"':
                close = '"';
                item.kind = ResultItem::Normal;
                break;
            case '(':
                close = ')';
                item.kind = ResultItem::Smart;
                break;
            case '{':
                close = '}';
                item.kind = ResultItem::Blockify;
                break;
            case '.':
                close = '.';
                item.kind = ResultItem::Logify;
                break;
            default: item.kind = ResultItem::Regular;
        }
        if (close) ++j;
        if (!readName(j, name)) return false;
        if (close) {
            if (j >= s_.size() || s_[j] != close) return malformed();
            ++j;
        }
        if (!expect(j, ">")) return malformed();
    }
    item.marker = markerIndex(name);
    if (item.marker < 0) {
        error_ = "Unknown marker <" + name + "> in the result";
        return false;
    }
    i_ = j;
    out = std::move(item);
    return true;
}

bool RuleParser::parseResult(std::vector<ResultItem>& out, bool inGroup) {
    bool afterOperand = false;
    for (;;) {
        bool space = skipBlanks();
        if (i_ >= s_.size()) {
            if (inGroup) error_ = "Unclosed [ in the result";
            return !inGroup;
        }
        char c = s_[i_];
        ResultItem item;
        if (c == ']' && inGroup) {
            ++i_;
            return true;
        }
        if (c == '[') {
            ++i_;
            item.kind = ResultItem::Optional;
            if (!parseResult(item.children, true)) return false;
            out.push_back(std::move(item));
            afterOperand = false;
            continue;
        }
        if ((c == '<' || (c == '#' && i_ + 1 < s_.size() && s_[i_ + 1] == '<')) && tryResultMarker(item)) {
            item.tok.space = space;
            out.push_back(std::move(item));
            afterOperand = true;
            continue;
        }
        if (!error_.empty()) return false;
        if (!literal(item.tok, afterOperand)) return false;
        item.tok.space = space;
        out.push_back(std::move(item));
    }
}

// The "=>" that separates pattern from result, outside quotes.
size_t findArrow(std::string_view text) {
    char quote = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\\') {
            ++i;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '=' && text[i + 1] == '>') {
            return i;
        }
    }
    return std::string_view::npos;
}

// Marks the markers that the result writes outside every optional clause.
void markWrittenOnce(const std::vector<ResultItem>& items, std::vector<bool>& once) {
    for (const ResultItem& item : items)
        if (item.kind != ResultItem::Optional && item.kind != ResultItem::Text) once[item.marker] = true;
}

bool holdsAny(const std::vector<MatchItem>& items, const std::vector<bool>& once) {
    for (const MatchItem& item : items) {
        if (item.kind == MatchItem::Optional ? holdsAny(item.children, once) : item.marker >= 0 && once[item.marker])
            return true;
    }
    return false;
}

// A clause that opens with an expression would, repeated, take two
// expressions written side by side (SET INDEX TO a b) as two clauses.
bool opensWithExpression(const std::vector<MatchItem>& items) {
    if (items.empty()) return false;
    MatchItem::Kind k = items.front().kind;
    return k == MatchItem::Regular || k == MatchItem::List || k == MatchItem::Extended || k == MatchItem::Wild;
}

void settleRepeats(std::vector<MatchItem>& items, const std::vector<bool>& once) {
    for (MatchItem& item : items) {
        if (item.kind != MatchItem::Optional) continue;
        item.repeats = !holdsAny(item.children, once) && !opensWithExpression(item.children);
        settleRepeats(item.children, once);
    }
}

}  // namespace

std::unique_ptr<Rule> parseRule(std::string_view text, bool command, bool exact, std::string& error) {
    auto rule = std::make_unique<Rule>();
    rule->command = command;
    rule->exact = exact;
    rule->text = std::string(text);
    size_t arrow = findArrow(text);
    if (arrow == std::string_view::npos) {
        error = "Missing => in the rule";
        return nullptr;
    }
    RuleParser matchSide(text.substr(0, arrow), *rule, error);
    if (!matchSide.parseMatch(rule->match, false)) return nullptr;
    if (rule->match.empty()) {
        error = "Empty pattern in the rule";
        return nullptr;
    }
    RuleParser resultSide(text.substr(arrow + 2), *rule, error);
    if (!resultSide.parseResult(rule->result, false)) return nullptr;
    std::vector<bool> once(rule->markers.size());
    markWrittenOnce(rule->result, once);
    settleRepeats(rule->match, once);
    return rule;
}

std::string ruleKey(const Token& tok) {
    if (tok.kind != TokKind::Ident) return tok.text;
    return upperCase(std::string_view(tok.text).substr(0, 4));
}

// ---- matching ----

bool Matcher::keywordMatches(const std::string& upper, const Token& tok) const {
    if (tok.kind != TokKind::Ident) return false;
    size_t n = tok.text.size();
    if (n > upper.size()) return false;
    if (n < upper.size() && (rule_.exact || n < 4)) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(tok.text[i])) != upper[i]) return false;
    return true;
}

bool Matcher::isRuleKeyword(const Token& tok) const {
    for (const std::string& k : rule_.keywords)
        if (keywordMatches(k, tok)) return true;
    return false;
}

namespace {

// One past the bracket that closes toks[pos], or -1 when it never closes.
int skipGroup(const Tokens& toks, int pos, int limit) {
    int depth = 0;
    for (int p = pos; p < limit; ++p) {
        const Token& t = toks[p];
        if (t.kind != TokKind::Op || t.text.size() != 1) continue;
        char c = t.text[0];
        if (c == '(' || c == '[' || c == '{') ++depth;
        if (c == ')' || c == ']' || c == '}') {
            if (--depth == 0) return p + 1;
        }
    }
    return -1;
}

}  // namespace

int Matcher::matchExpression(int pos, int limit, const Token* stop) const {
    int p = pos;
    bool expectOperand = true;
    while (p < limit) {
        const Token& t = toks_[p];
        if (stop && p > pos && sameToken(t, *stop)) break;
        if (t.kind != TokKind::Op) {
            if (!expectOperand || (t.kind == TokKind::Ident && isRuleKeyword(t))) break;
            ++p;
            expectOperand = false;
            continue;
        }
        const std::string& o = t.text;
        if (o == "(" || o == "[" || o == "{") {
            if (!expectOperand && o == "{") break;
            int q = skipGroup(toks_, p, limit);
            if (q < 0 || (expectOperand && o == "(" && q == p + 2)) break;
            p = q;
            expectOperand = false;
            continue;
        }
        if (expectOperand) {
            if (inList(o, std::begin(kPrefix), std::end(kPrefix))) {
                ++p;
            } else if (o == ".T." || o == ".F." || o == ".Y." || o == ".N.") {
                ++p;
                expectOperand = false;
            } else {
                break;
            }
        } else if (o == "++" || o == "--") {
            ++p;
        } else if (inList(o, std::begin(kBinary), std::end(kBinary))) {
            ++p;
            expectOperand = true;
        } else {
            break;
        }
    }
    return p;
}

int Matcher::matchExtended(int pos, int limit, const Token* stop) const {
    if (pos >= limit) return pos;
    const Token& first = toks_[pos];
    if (isOp(first, "(") || first.kind == TokKind::String) return matchExpression(pos, limit, stop);
    if (first.kind == TokKind::Ident && isRuleKeyword(first)) return pos;
    int p = pos;
    do {
        const Token& t = toks_[p];
        if (t.kind == TokKind::Op && (t.text == "," || t.text == ")" || t.text == ";")) break;
        ++p;
    } while (p < limit && !toks_[p].space);
    return p;
}

bool Matcher::matchOne(const MatchItem& item, const MatchItem* next, int& pos, int limit) {
    const Token* tok = pos < limit ? &toks_[pos] : nullptr;
    // An operator written right after the marker ends its expression there
    // (PAIRS <k> = <v> takes "a" from "a = 1").
    const Token* stop =
        next && next->kind == MatchItem::Literal && next->lit.kind == TokKind::Op ? &next->lit : nullptr;
    Occurrence occ;
    occ.begin = pos;
    switch (item.kind) {
        case MatchItem::Literal:
            if (!tok) return false;
            if (item.lit.kind == TokKind::Ident ? !keywordMatches(item.upper, *tok) : !sameToken(item.lit, *tok))
                return false;
            ++pos;
            return true;
        case MatchItem::Regular:
        case MatchItem::Extended: {
            int q =
                item.kind == MatchItem::Regular ? matchExpression(pos, limit, stop) : matchExtended(pos, limit, stop);
            if (q == pos) return false;
            occ.elems.emplace_back(pos, q);
            pos = q;
            break;
        }
        case MatchItem::List: {
            int p = pos;
            for (;;) {
                int q = matchExpression(p, limit, stop);
                occ.elems.emplace_back(p, q);
                if (q < limit && isOp(toks_[q], ",")) {
                    p = q + 1;
                    continue;
                }
                p = q;
                break;
            }
            if (p == pos) return false;
            pos = p;
            break;
        }
        case MatchItem::Restricted: {
            if (!tok) return false;
            bool hit = false;
            for (const std::string& w : item.words)
                hit = hit || (tok->kind == TokKind::Ident ? keywordMatches(w, *tok) : tok->text == w);
            if (!hit) return false;
            occ.elems.emplace_back(pos, pos + 1);
            ++pos;
            break;
        }
        case MatchItem::Wild:
            if (pos < limit) occ.elems.emplace_back(pos, limit);
            pos = limit;
            if (occ.elems.empty()) return true;
            break;
        case MatchItem::Optional: return false;  // handled by matchSeq
    }
    occ.end = pos;
    values_[item.marker].push_back(std::move(occ));
    return true;
}

bool Matcher::matchSeq(const std::vector<MatchItem>& items, int& pos, int limit) {
    size_t i = 0;
    while (i < items.size()) {
        if (items[i].kind != MatchItem::Optional) {
            if (!matchOne(items[i], i + 1 < items.size() ? &items[i + 1] : nullptr, pos, limit)) return false;
            ++i;
            continue;
        }
        size_t j = i;
        while (j < items.size() && items[j].kind == MatchItem::Optional) ++j;
        // A run of optional clauses: any order, each as often as it matches
        // (once, for a clause that may not repeat).
        bool progress = true;
        std::vector<size_t> saved(values_.size());
        std::vector<bool> used(j - i);
        while (progress && pos < limit) {
            progress = false;
            for (size_t k = i; k < j && !progress; ++k) {
                if (used[k - i] && !items[k].repeats) continue;
                for (size_t m = 0; m < values_.size(); ++m) saved[m] = values_[m].size();
                int p = pos;
                if (matchSeq(items[k].children, p, limit) && p > pos) {
                    pos = p;
                    progress = true;
                    used[k - i] = true;
                } else {
                    for (size_t m = 0; m < values_.size(); ++m) values_[m].resize(saved[m]);
                }
            }
        }
        i = j;
    }
    return true;
}

bool Matcher::matchAt(int pos, int limit, int& end) {
    for (auto& v : values_) v.clear();
    int p = pos;
    if (!matchSeq(rule_.match, p, limit)) return false;
    if (rule_.command && p != limit) return false;
    end = p;
    return true;
}

// ---- expansion ----

size_t Matcher::repeatCount(const std::vector<ResultItem>& items) const {
    size_t n = 0;
    for (const ResultItem& item : items) {
        if (item.kind == ResultItem::Optional)
            n = std::max(n, repeatCount(item.children));
        else if (item.kind != ResultItem::Text)
            n = std::max(n, values_[item.marker].size());
    }
    return n;
}

void Matcher::expandMarker(const ResultItem& item, size_t occ, Tokens& out) const {
    const auto& vals = values_[item.marker];
    // A marker outside the optional clauses serves every repetition.
    const Occurrence* o = !vals.empty() && !rule_.optional[item.marker] ? &vals[0]
                          : occ < vals.size()                           ? &vals[occ]
                                                                        : nullptr;
    const size_t first = out.size();
    auto stringToken = [](std::string text) {
        Token t;
        t.kind = TokKind::String;
        t.quote = 0;  // the writer picks a delimiter the text does not hold
        t.text = std::move(text);
        return t;
    };
    auto op = [](const char* text) {
        Token t;
        t.kind = TokKind::Op;
        t.text = text;
        return t;
    };
    const Token* base = toks_.data();
    switch (item.kind) {
        case ResultItem::Regular:
            if (o) out.insert(out.end(), base + o->begin, base + o->end);
            break;
        case ResultItem::Dumb:
            out.push_back(stringToken(o ? sourceText(base + o->begin, base + o->end) : std::string()));
            break;
        case ResultItem::Logify: out.push_back(op(o ? ".T." : ".F.")); break;
        case ResultItem::Normal:
        case ResultItem::Smart:
        case ResultItem::Blockify:
            if (!o) break;
            for (size_t k = 0; k < o->elems.size(); ++k) {
                auto [b, e] = o->elems[k];
                if (k > 0) out.push_back(op(","));
                if (b == e) continue;
                const Token& t = toks_[b];
                if (item.kind == ResultItem::Blockify) {
                    if (isOp(t, "{") && e - b > 1 && isOp(toks_[b + 1], "|")) {
                        out.insert(out.end(), base + b, base + e);
                    } else {
                        out.push_back(op("{"));
                        out.push_back(op("|"));
                        out.push_back(op("|"));
                        size_t at = out.size();
                        out.insert(out.end(), base + b, base + e);
                        out[at].space = true;
                        Token close = op("}");
                        close.space = true;
                        out.push_back(close);
                    }
                } else if (item.kind == ResultItem::Smart &&
                           (isOp(t, "(") || (e - b == 1 && (t.kind == TokKind::String || t.kind == TokKind::Number)))) {
                    out.insert(out.end(), base + b, base + e);
                } else {
                    out.push_back(stringToken(sourceText(base + b, base + e)));
                }
            }
            break;
        default: break;
    }
    if (out.size() > first) out[first].space = item.tok.space;
    for (size_t k = first + 1; k < out.size(); ++k)
        if (isOp(out[k - 1], ",")) out[k].space = true;
}

void Matcher::expandSeq(const std::vector<ResultItem>& items, size_t occ, Tokens& out) const {
    for (const ResultItem& item : items) {
        if (item.kind == ResultItem::Text) {
            out.push_back(item.tok);
        } else if (item.kind == ResultItem::Optional) {
            size_t n = repeatCount(item.children);
            for (size_t r = 0; r < n; ++r) expandSeq(item.children, r, out);
        } else {
            expandMarker(item, occ, out);
        }
    }
}

void Matcher::expand(Tokens& out) const {
    out.clear();
    expandSeq(rule_.result, 0, out);
}

// ---- the rule set ----

void RuleSet::add(std::unique_ptr<Rule> rule) {
    rule->serial = static_cast<int>(rules_.size());
    const MatchItem& first = rule->match.front();
    Bucket& b = first.kind == MatchItem::Literal ? index_[ruleKey(first.lit)] : unkeyed_;
    (rule->command ? b.commands : b.translates).push_back(rule.get());
    if (first.kind == MatchItem::Literal) {
        std::string key = ruleKey(first.lit);
        if (!key.empty()) (rule->command ? commandStarts_ : translateStarts_).set(static_cast<unsigned char>(key[0]));
    }
    if (!rule->command) ++translateCount_;
    rules_.push_back(std::move(rule));
}

namespace {

// std::toupper of the "C" locale the preprocessor runs in, without the call.
unsigned char asciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

}  // namespace

void RuleSet::candidates(const Token& tok, bool command, std::vector<const Rule*>& out) const {
    out.clear();
    static const std::vector<const Rule*> none;
    const std::vector<const Rule*>* keyed = &none;
    const std::bitset<256>& starts = command ? commandStarts_ : translateStarts_;
    if ((tok.kind == TokKind::Ident || tok.kind == TokKind::Op) && !tok.text.empty() &&
        starts.test(asciiUpper(static_cast<unsigned char>(tok.text[0])))) {
        auto it = index_.find(ruleKey(tok));
        if (it != index_.end()) keyed = command ? &it->second.commands : &it->second.translates;
    }
    const std::vector<const Rule*>& loose = command ? unkeyed_.commands : unkeyed_.translates;
    // Both lists are in definition order; merge them latest first.
    auto a = keyed->rbegin(), b = loose.rbegin();
    while (a != keyed->rend() || b != loose.rend()) {
        if (b == loose.rend() || (a != keyed->rend() && (*a)->serial > (*b)->serial))
            out.push_back(*a++);
        else
            out.push_back(*b++);
    }
}

}  // namespace pp
