// Files, directives, defines and the statement loop. A statement is
// rewritten by #defines and #translates, then by the first #command that
// matches it whole; a command's result may hold several statements (split at
// ';'), and each is processed again until no rule applies. A budget of rule
// applications per source line stops rules that feed themselves, and the
// message names the rule.
#include "preprocessor.h"

#include <algorithm>
#include <bitset>

#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unordered_map>

#include "rules.h"
#include "source_reader.h"
#include "tokens.h"

namespace pp {

namespace {

constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxRuleApplications = 2000;  // per source line
constexpr size_t kMaxErrors = 100;
constexpr size_t kMaxStatementTokens = 50000;  // a rule that feeds itself grows its statement

struct Define {
    bool function = false;
    std::vector<std::string> params;
    Tokens body;
};

struct Conditional {
    int line;
    bool outerActive;  // the enclosing section is being processed
    bool taken;        // this branch is being processed
    bool elseSeen;
};

struct FileContext {
    std::string path;
    std::string dir;
    bool main = false;
    std::vector<Conditional> conds;
    bool active() const { return conds.empty() || conds.back().taken; }
};

// The .ppo text with its #line bookkeeping: next is the source line that an
// output line written now would be taken for.
class Output {
public:
    void reset(const std::string& mainPath) {
        text.clear();
        file_ = mainPath;
        next_ = 1;
    }
    void line(const std::string& file, int n, const std::string& s) {
        if (file != file_ || n != next_) {
            text += "#line " + std::to_string(n) + " \"" + file + "\"\n";
            file_ = file;
        }
        text += s;
        text += '\n';
        next_ = n + 1;
    }
    // An empty line is only worth writing while it keeps lines aligned.
    void blank(const std::string& file, int n) {
        if (file == file_ && n == next_) {
            text += '\n';
            next_ = n + 1;
        }
    }
    std::string text;

private:
    std::string file_;
    int next_ = 1;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || (!name.empty() && name[0] == '/')) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string dirOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    text = ss.str();
    return true;
}

bool fileExists(const std::string& path) {
    std::ifstream in(path);
    return static_cast<bool>(in);
}

// Every operator asked about here is one character.
bool isOpTok(const Token& t, const char (&s)[2]) {
    return t.kind == TokKind::Op && t.text.size() == 1 && t.text[0] == s[0];
}

void splitStatements(Tokens& toks, std::vector<Tokens>& parts) {
    // Most statements stand alone on their line: hand them on whole.
    if (std::none_of(toks.begin(), toks.end(), [](const Token& t) { return isOpTok(t, ";"); })) {
        parts.push_back(std::move(toks));
        return;
    }
    Tokens cur;
    for (Token& t : toks) {
        if (isOpTok(t, ";")) {
            parts.push_back(std::move(cur));
            cur.clear();
        } else {
            cur.push_back(std::move(t));
        }
    }
    parts.push_back(std::move(cur));
}

bool sameTokens(const Token* a, const Token* ae, const Token* b, const Token* be) {
    if (ae - a != be - b) return false;
    for (; a != ae; ++a, ++b)
        if (!sameToken(*a, *b)) return false;
    return true;
}

}  // namespace

struct Preprocessor::Impl {
    Options options;
    RuleSet rules;
    std::unordered_map<std::string, Define> defines;
    std::vector<std::string> errors;
    Output output;
    // First characters of every name ever defined: most words start none, and need no look-up.
    std::bitset<256> defineStarts;
    int includeDepth = 0;
    int applications = 0;     // rule and define applications on the current line
    bool stopped = false;     // too many errors
    bool lineFailed = false;  // a rule on the current line never ends

    std::ostream& console() { return options.console ? *options.console : std::cout; }

    void error(const std::string& file, int line, const std::string& message) {
        if (errors.size() >= kMaxErrors) {
            stopped = true;
            return;
        }
        errors.push_back(file + "(" + std::to_string(line) + ") Error: " + message);
    }

    bool runOn(const std::string& name, const std::string* text, std::string& out);
    void processText(FileContext& ctx, std::string text);
    bool includeFile(const std::string& name, const FileContext* from, int line);
    std::string findFile(const std::string& name, const std::string& fromDir) const;

    void directive(FileContext& ctx, const LogicalLine& ll);
    void defineDirective(FileContext& ctx, int line, std::string_view rest);
    void ruleDirective(FileContext& ctx, int line, std::string_view rest, bool command, bool exact);
    void statementLine(FileContext& ctx, const LogicalLine& ll);

    bool charge(FileContext& ctx, int line, const std::string& what, size_t size);
    bool applyDefines(FileContext& ctx, int line, Tokens& toks);
    bool applyTranslates(FileContext& ctx, int line, Tokens& toks);
    void processStatement(FileContext& ctx, int line, Tokens toks, std::vector<Tokens>& out, int depth);
};

std::string Preprocessor::Impl::findFile(const std::string& name, const std::string& fromDir) const {
    if (!name.empty() && name[0] == '/') return fileExists(name) ? name : std::string();
    if (!fromDir.empty() && fileExists(joinPath(fromDir, name))) return joinPath(fromDir, name);
    if (fileExists(name)) return name;
    for (const std::string& dir : options.includeDirs)
        if (!dir.empty() && fileExists(joinPath(dir, name))) return joinPath(dir, name);
    return std::string();
}

bool Preprocessor::Impl::includeFile(const std::string& name, const FileContext* from, int line) {
    std::string path = findFile(name, from ? from->dir : std::string());
    std::string text;
    if (path.empty() || !readFile(path, text)) {
        if (from)
            error(from->path, line, "Cannot open include file '" + name + "'");
        else
            error(name, 0, "Cannot open header file '" + name + "'");
        return false;
    }
    if (includeDepth >= kMaxIncludeDepth) {
        error(from ? from->path : name, line, "Includes nested too deeply at '" + name + "'");
        return false;
    }
    FileContext ctx;
    ctx.path = path;
    ctx.dir = dirOf(path);
    ++includeDepth;
    processText(ctx, std::move(text));
    --includeDepth;
    return true;
}

void Preprocessor::Impl::processText(FileContext& ctx, std::string text) {
    SourceReader reader(std::move(text));
    LogicalLine ll;
    while (!stopped && reader.next(ll)) {
        if (ll.directive) {
            directive(ctx, ll);
        } else if (ctx.active()) {
            statementLine(ctx, ll);
            continue;
        }
        if (ctx.main)
            for (int k = 0; k < ll.lineCount; ++k) output.blank(ctx.path, ll.firstLine + k);
    }
    if (reader.unclosedComment()) error(ctx.path, reader.unclosedComment(), "Unterminated /* comment");
    for (const Conditional& c : ctx.conds) error(ctx.path, c.line, "#ifdef without #endif");
}

void Preprocessor::Impl::directive(FileContext& ctx, const LogicalLine& ll) {
    std::string_view s = trim(ll.text);
    s.remove_prefix(1);  // '#'
    s = trim(s);
    size_t n = 0;
    while (n < s.size() && std::isalpha(static_cast<unsigned char>(s[n]))) ++n;
    const std::string name = upperCase(s.substr(0, n));
    std::string_view rest = trim(s.substr(n));
    const int line = ll.firstLine;

    if (name == "IFDEF" || name == "IFNDEF") {
        std::string sym(rest.substr(0, rest.find_first_of(" \t")));
        if (sym.empty() && ctx.active()) error(ctx.path, line, "#ifdef needs a name");
        bool defined = defines.count(sym) > 0;
        bool outer = ctx.active();
        ctx.conds.push_back({line, outer, outer && (name == "IFDEF" ? defined : !defined), false});
        return;
    }
    if (name == "ELSE" || name == "ENDIF") {
        if (ctx.conds.empty()) {
            error(ctx.path, line, (name == "ELSE" ? "#else" : "#endif") + std::string(" without #ifdef"));
            return;
        }
        Conditional& c = ctx.conds.back();
        if (name == "ENDIF") {
            ctx.conds.pop_back();
            return;
        }
        if (c.elseSeen) {
            error(ctx.path, line, "#else after #else");
            return;
        }
        c.elseSeen = true;
        c.taken = c.outerActive && !c.taken;
        return;
    }
    if (!ctx.active()) return;

    if (name == "DEFINE") {
        defineDirective(ctx, line, rest);
    } else if (name == "UNDEF") {
        defines.erase(std::string(rest.substr(0, rest.find_first_of(" \t"))));
    } else if (name == "INCLUDE") {
        std::string_view file = rest;
        if (file.size() >= 2 && (file[0] == '"' || file[0] == '\'' || file[0] == '<')) {
            char close = file[0] == '<' ? '>' : file[0];
            size_t end = file.find(close, 1);
            file = end == std::string_view::npos ? std::string_view() : file.substr(1, end - 1);
        }
        if (file.empty()) {
            error(ctx.path, line, "#include needs a file name");
            return;
        }
        includeFile(std::string(file), &ctx, line);
    } else if (name == "ERROR") {
        error(ctx.path, line, rest.empty() ? std::string("#error") : std::string(rest));
    } else if (name == "STDOUT") {
        console() << rest << '\n';
    } else if (name == "COMMAND" || name == "XCOMMAND") {
        ruleDirective(ctx, line, rest, true, name[0] == 'X');
    } else if (name == "TRANSLATE" || name == "XTRANSLATE") {
        ruleDirective(ctx, line, rest, false, name[0] == 'X');
    } else if (!name.empty() || !rest.empty()) {
        error(ctx.path, line, "Unknown directive '#" + std::string(s.substr(0, n ? n : s.size())) + "'");
    }
}

void Preprocessor::Impl::defineDirective(FileContext& ctx, int line, std::string_view rest) {
    size_t n = 0;
    while (n < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[n])) || rest[n] == '_')) ++n;
    if (n == 0) {
        error(ctx.path, line, "#define needs a name");
        return;
    }
    std::string name(rest.substr(0, n));
    Define def;
    std::string_view body = rest.substr(n);
    if (!body.empty() && body[0] == '(') {
        size_t close = body.find(')');
        if (close == std::string_view::npos) {
            error(ctx.path, line, "Missing ) in #define " + name);
            return;
        }
        def.function = true;
        std::string_view params = body.substr(1, close - 1);
        size_t k = 0;
        while (k <= params.size()) {
            size_t comma = params.find(',', k);
            if (comma == std::string_view::npos) comma = params.size();
            std::string_view p = trim(params.substr(k, comma - k));
            if (!p.empty()) def.params.emplace_back(p);
            k = comma + 1;
        }
        body = body.substr(close + 1);
    }
    std::string err;
    if (!tokenize(trim(body), true, def.body, err)) {
        error(ctx.path, line, err + " in #define " + name);
        return;
    }
    if (!name.empty()) defineStarts.set(static_cast<unsigned char>(name[0]));
    defines[name] = std::move(def);
}

void Preprocessor::Impl::ruleDirective(FileContext& ctx, int line, std::string_view rest, bool command, bool exact) {
    std::string err;
    std::unique_ptr<Rule> rule = parseRule(rest, command, exact, err);
    if (!rule) {
        error(ctx.path, line, err);
        return;
    }
    rule->file = ctx.path;
    rule->line = line;
    rules.add(std::move(rule));
}

bool Preprocessor::Impl::charge(FileContext& ctx, int line, const std::string& what, size_t size) {
    if (++applications <= kMaxRuleApplications && size <= kMaxStatementTokens) return true;
    if (!lineFailed) error(ctx.path, line, "Endless recursion in " + what);
    lineFailed = true;
    return false;
}

bool Preprocessor::Impl::applyDefines(FileContext& ctx, int line, Tokens& toks) {
    if (defines.empty()) return false;
    bool changed = false;
    size_t i = 0;
    while (i < toks.size()) {
        const Token& t = toks[i];
        auto it =
            t.kind == TokKind::Ident && !t.text.empty() && defineStarts.test(static_cast<unsigned char>(t.text[0]))
                ? defines.find(t.text)
                : defines.end();
        if (it == defines.end()) {
            ++i;
            continue;
        }
        const Define& def = it->second;
        Tokens repl;
        size_t end = i + 1;
        if (!def.function) {
            repl = def.body;
        } else {
            if (end >= toks.size() || !isOpTok(toks[end], "(")) {
                ++i;
                continue;
            }
            // Arguments: split at top-level commas up to the closing ')'.
            std::vector<Tokens> args(1);
            int depth = 0;
            size_t k = end + 1;
            for (; k < toks.size(); ++k) {
                const Token& a = toks[k];
                if (a.kind == TokKind::Op && (a.text == "(" || a.text == "[" || a.text == "{")) ++depth;
                if (a.kind == TokKind::Op && (a.text == ")" || a.text == "]" || a.text == "}")) {
                    if (depth == 0) break;
                    --depth;
                }
                if (depth == 0 && isOpTok(a, ","))
                    args.emplace_back();
                else
                    args.back().push_back(a);
            }
            if (k >= toks.size()) {
                error(ctx.path, line, "Missing ) in the call of " + it->first);
                lineFailed = true;
                return changed;
            }
            if (args.size() == 1 && args[0].empty()) args.clear();
            if (args.size() != def.params.size()) {
                error(ctx.path, line, "Wrong number of arguments for " + it->first);
                lineFailed = true;
                return changed;
            }
            end = k + 1;
            for (const Token& b : def.body) {
                size_t p = 0;
                while (p < def.params.size() && !(b.kind == TokKind::Ident && b.text == def.params[p])) ++p;
                if (p == def.params.size()) {
                    repl.push_back(b);
                } else if (!args[p].empty()) {
                    size_t at = repl.size();
                    repl.insert(repl.end(), args[p].begin(), args[p].end());
                    repl[at].space = b.space;
                }
            }
        }
        if (!charge(ctx, line, "#define " + it->first, toks.size() + repl.size())) return changed;
        if (!repl.empty()) repl[0].space = t.space;
        toks.erase(toks.begin() + i, toks.begin() + end);
        toks.insert(toks.begin() + i, repl.begin(), repl.end());
        changed = true;
    }
    return changed;
}

bool Preprocessor::Impl::applyTranslates(FileContext& ctx, int line, Tokens& toks) {
    if (!rules.hasTranslates()) return false;
    bool changed = false;
    std::vector<const Rule*> cands;
    Tokens repl;
    size_t i = 0;
    while (i < toks.size() && !lineFailed) {
        rules.candidates(toks[i], false, cands);
        bool applied = false;
        for (const Rule* r : cands) {
            Matcher m(*r, toks);
            int end = 0;
            if (!m.matchAt(static_cast<int>(i), static_cast<int>(toks.size()), end)) continue;
            m.expand(repl);
            if (sameTokens(repl.data(), repl.data() + repl.size(), toks.data() + i, toks.data() + end)) continue;
            if (!charge(ctx, line, "the rule at " + r->file + "(" + std::to_string(r->line) + "): " + r->text,
                        toks.size() + repl.size()))
                return changed;
            if (!repl.empty()) repl[0].space = toks[i].space;
            toks.erase(toks.begin() + i, toks.begin() + end);
            toks.insert(toks.begin() + i, repl.begin(), repl.end());
            applied = changed = true;
            break;
        }
        if (!applied) ++i;
    }
    return changed;
}

void Preprocessor::Impl::processStatement(FileContext& ctx, int line, Tokens toks, std::vector<Tokens>& out,
                                          int depth) {
    std::vector<const Rule*> cands;
    Tokens result;
    while (!lineFailed) {
        bool changed = applyDefines(ctx, line, toks);
        changed = applyTranslates(ctx, line, toks) || changed;
        if (changed) continue;
        if (toks.empty()) return;
        rules.candidates(toks[0], true, cands);
        const Rule* hit = nullptr;
        for (const Rule* r : cands) {
            Matcher m(*r, toks);
            int end = 0;
            if (!m.matchAt(0, static_cast<int>(toks.size()), end)) continue;
            m.expand(result);
            hit = r;
            break;
        }
        // A rule that gives back the statement unchanged ends the rewriting.
        if (!hit || sameTokens(result.data(), result.data() + result.size(), toks.data(), toks.data() + toks.size())) {
            out.push_back(std::move(toks));
            return;
        }
        const std::string what = "the rule at " + hit->file + "(" + std::to_string(hit->line) + "): " + hit->text;
        if (!charge(ctx, line, what, result.size())) return;
        if (depth > 64) {
            if (!lineFailed) error(ctx.path, line, "Endless recursion in " + what);
            lineFailed = true;
            return;
        }
        std::vector<Tokens> parts;
        splitStatements(result, parts);
        for (Tokens& part : parts)
            if (!part.empty()) processStatement(ctx, line, std::move(part), out, depth + 1);
        return;
    }
}

void Preprocessor::Impl::statementLine(FileContext& ctx, const LogicalLine& ll) {
    Tokens toks;
    std::string err;
    std::string text;
    if (!tokenize(ll.text, true, toks, err)) {
        error(ctx.path, ll.firstLine, err);
    } else {
        std::vector<Tokens> stmts, done;
        splitStatements(toks, stmts);
        applications = 0;
        lineFailed = false;
        for (Tokens& st : stmts)
            if (!st.empty()) processStatement(ctx, ll.firstLine, std::move(st), done, 0);
        for (const Tokens& st : done) {
            if (st.empty()) continue;
            if (!text.empty()) text += "; ";
            renderTokens(text, st.data(), st.data() + st.size());
        }
    }
    if (!text.empty()) {
        size_t indent = 0;
        while (indent < ll.text.size() && isBlank(ll.text[indent])) ++indent;
        output.line(ctx.path, ll.firstLine, ll.text.substr(0, indent) + text);
        for (int k = 1; k < ll.lineCount; ++k) output.blank(ctx.path, ll.firstLine + k);
    } else if (ctx.main) {
        for (int k = 0; k < ll.lineCount; ++k) output.blank(ctx.path, ll.firstLine + k);
    }
}

bool Preprocessor::Impl::runOn(const std::string& name, const std::string* text, std::string& out) {
    errors.clear();
    rules = RuleSet();
    defines.clear();
    stopped = false;
    output.reset(name);
    if (!options.header.empty()) includeFile(options.header, nullptr, 0);
    FileContext ctx;
    ctx.path = name;
    ctx.dir = dirOf(name);
    ctx.main = true;
    std::string source;
    if (text) {
        source = *text;
    } else if (!readFile(name, source)) {
        error(name, 0, "Cannot open source file '" + name + "'");
        return false;
    }
    if (!stopped) processText(ctx, std::move(source));
    out = std::move(output.text);
    return errors.empty();
}

Preprocessor::Preprocessor(Options options) : impl_(std::make_unique<Impl>()) { impl_->options = std::move(options); }

Preprocessor::~Preprocessor() = default;

bool Preprocessor::run(const std::string& source, std::string& out) { return impl_->runOn(source, nullptr, out); }

bool Preprocessor::runText(const std::string& name, const std::string& text, std::string& out) {
    return impl_->runOn(name, &text, out);
}

const std::vector<std::string>& Preprocessor::errors() const { return impl_->errors; }

}  // namespace pp
