// The table readers on damaged blocks, the engine's support classes, and the
// parser engine on small hand-built tables: error recovery, look-ahead
// sub-tables and recomputed state offsets.
#include "frontend_fixture.h"
#include "line_map.h"
#include "ss_resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

namespace {

std::string messageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const SSException& e) {
        return e.message();
    }
    return "no exception";
}

std::vector<unsigned char> resourceBytes(const char* name)
{
    const SSResource* r = ssFindResource(name);
    return r ? std::vector<unsigned char>(r->data, r->data + r->size) : std::vector<unsigned char>{};
}

void putWord(std::vector<unsigned char>& b, size_t at, uint32_t w)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = uint8_t(w >> (8 * k));
}

std::string writeTemp(const std::string& name, const std::vector<unsigned char>& bytes)
{
    std::string path = ::testing::TempDir() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

TEST(Tables, ScannerTableRejectsDamagedBlocks)
{
    std::vector<unsigned char> good = resourceBytes("ZELTA_DFA");
    ASSERT_GT(good.size(), 1000u);
    auto damaged = [&](size_t at, uint32_t w) {
        std::vector<unsigned char> b = good;
        putWord(b, at, w);
        return messageOf([&] { SSLexTable(b.data(), b.size()); });
    };
    EXPECT_EQ(messageOf([&] { SSLexTable(good.data(), 20); }), "SSLex0104e: Invalid table, block too short");
    EXPECT_EQ(damaged(4, 0), "SSLex0104e: Invalid table, bad magic");
    EXPECT_EQ(damaged(0, 0), "SSLex0104e: Invalid table, bad list count 0");
    EXPECT_EQ(damaged(36, 0), "SSLex0104e: Invalid table, list 0: bad magic");
    EXPECT_EQ(damaged(40, 0xFFFFFF), "SSLex0104e: Invalid table, list 0: bad size");
    EXPECT_EQ(damaged(36 + 40, 0x7FFFFFFF), "SSLex0104e: Invalid table, list 0: bad state count or offsets");
    SSLexTable t(good.data(), good.size());
    EXPECT_EQ(t.lists(), 5u);
    EXPECT_EQ(messageOf([&] { SSLexTable(good.data(), good.size() - 100); }).substr(0, 27),
              "SSLex0104e: Invalid table, ");
    EXPECT_EQ(messageOf([] { SSLexTable::fromResource("NOPE"); }), "SSLex0108e: Resource not found, NOPE");
    EXPECT_EQ(messageOf([] { SSLexTable::fromFile("/nonexistent/t.dfa"); }),
              "SSLex0101e: Error opening file, /nonexistent/t.dfa, 2");
    EXPECT_EQ(SSLexTable::fromFile(writeTemp("t.dfa", good)).lists(), 5u);
    EXPECT_EQ(messageOf([&] { t.keywordToken(0, "x"); }), "SSLex0110e: Invalid keyword index, 0");
}

TEST(Tables, ParserTableRejectsDamagedBlocks)
{
    std::vector<unsigned char> good = resourceBytes("ZELTA_LLR");
    ASSERT_GT(good.size(), 1000u);
    auto damaged = [&](size_t at, uint32_t w) {
        std::vector<unsigned char> b = good;
        putWord(b, at, w);
        return messageOf([&] { SSYaccTable(b.data(), b.size()); });
    };
    EXPECT_EQ(damaged(0, 0x12345678), "SSYacc0111e: Error reading table, bad magic");
    EXPECT_EQ(damaged(8, 0x7FFFFFFF), "SSYacc0112e: Table too big");
    EXPECT_EQ(damaged(16, 0xFFFFFFF0), "SSYacc0112e: Table too big");
    EXPECT_EQ(damaged(20, uint32_t(good.size() + 100)).substr(0, 33), "SSYacc0111e: Error reading table,");
    EXPECT_EQ(messageOf([&] { SSYaccTable(good.data(), 12); }), "SSYacc0111e: Error reading table, table too short");
    EXPECT_EQ(messageOf([] { SSYaccTable::fromResource("NOPE"); }), "SSYacc0115e: Resource not found, NOPE");
    EXPECT_EQ(messageOf([] { SSYaccTable::fromFile("/nonexistent/t.llr"); }),
              "SSYacc0101e: Open file failed, /nonexistent/t.llr");
    SSYaccTable fromFile = SSYaccTable::fromFile(writeTemp("t.llr", good));
    EXPECT_EQ(fromFile.states(), zeltaYaccTable().states());
    EXPECT_EQ(messageOf([&] { fromFile.row(fromFile.states()); }), "SSYacc0114e: Invalid state specified, 1451");
    // Magic 1 reads the same table; production 0 is the augmented start.
    std::vector<unsigned char> one = good;
    putWord(one, 0, 1);
    SSYaccTable t(one.data(), one.size());
    EXPECT_EQ(t.productionLength(0), 2u);
    EXPECT_EQ(t.productionLhs(0), 0u);
}

TEST(Tables, EveryParserTerminalIsAScannerToken)
{
    const SSLexTable& lex = zeltaLexTable();
    std::set<uint32_t> scanned;
    for (size_t list = 0; list < lex.lists(); ++list)
        for (uint32_t s = 0; s < lex.states(list); ++s) {
            const SSLexTable::Accept& a = lex.accept(list, s);
            if ((a.flags & SSLexTable::kAccept) && !(a.flags & SSLexTable::kIgnore))
                scanned.insert(a.token);
        }
    const SSYaccTable& yacc = zeltaYaccTable();
    for (uint32_t s = 0; s < yacc.states(); ++s)
        for (const SSYaccTable::Entry& e : yacc.row(s).terminals)
            if (e.symbol != SSYaccTable::kEofSymbol) {
                EXPECT_TRUE(scanned.count(e.symbol)) << e.symbol;
            }
}

TEST(Tables, ConsumerLimits)
{
    SSLexStringConsumer c("x");
    EXPECT_EQ(messageOf([&] { c.setIncrement(511); }), "SSLex0113e: Increment too small, must be at least 512");
    SSLexStringConsumer longName("abcdefghijklmnop := 1");
    longName.setMaxLexeme(8);
    OrvicLexClass lex(&longName);
    EXPECT_EQ(messageOf([&] { lex.next(); }), "SSLex0103e: Lexeme too long, 8");
    SSLexStringConsumer dbcs("ab\x81");
    dbcs.setDbcs(true);
    dbcs.next();
    dbcs.next();
    EXPECT_EQ(messageOf([&] { dbcs.next(); }), "SSLex0114e: Invalid DBCS byte, second byte missing");
    SSLexStringConsumer pair("\x81\x40");
    pair.setDbcs(true);
    EXPECT_EQ(pair.next(), 0x8140u);
    EXPECT_EQ(pair.next(), SSLexConsumer::kEof);
    EXPECT_EQ(messageOf([] { SSLexFileConsumer f("/nonexistent/x.ppo"); }),
              "SSLex0101e: Error opening file, /nonexistent/x.ppo, 2");
    SSLex none(nullptr, &zeltaLexTable());
    EXPECT_EQ(messageOf([&] { none.next(); }), "SSLex0107e: Table or consumer missing, required");
}

TEST(Tables, SupportClassesReportMisuse)
{
    SSLifo<int> lifo(1, 1, 2);
    lifo.push(1);
    lifo.push(2);
    EXPECT_EQ(messageOf([&] { lifo.push(3); }), "SSLifo0001e: Stack full");
    EXPECT_EQ(messageOf([&] { lifo.at(2); }), "SSLifo0003e: Invalid index");
    lifo.pop();
    lifo.pop();
    EXPECT_EQ(messageOf([&] { lifo.top(); }), "SSLifo0002e: No top, stack empty");
    EXPECT_EQ(messageOf([&] { lifo.pop(); }), "SSLifo0004e: Cannot pop empty stack");
    SSLexLexeme* l = new SSLexLexeme("x", 1, 1, 0);
    {
        SSRef<SSLexLexeme> held(l);
    }                      // freed with its last holder
    SSYaccStackElement e;  // never held: a stray refDec is caught
    EXPECT_EQ(messageOf([&] { e.refDec(); }), "SSRef0001e: Reference count less than zero");
    SSSetArray set(2);
    set.insert(1);
    set.insert(2);
    set.insert(2);
    EXPECT_EQ(messageOf([&] { set.insert(3); }), "SSSetArray0001e: Set full");
}

// A parser table built by hand: rows of (action, symbol) entries.
struct HandRow {
    uint32_t flags;
    std::vector<std::pair<uint32_t, uint32_t>> terminals, gotos;
    std::pair<uint32_t, uint32_t> error{0, 0};
};

std::vector<unsigned char> buildTable(const std::vector<HandRow>& rows,
                                      const std::vector<std::pair<uint32_t, uint32_t>>& productions,
                                      const std::vector<HandRow>& subTables = {}, uint32_t magic = 0x53535943)
{
    std::vector<uint32_t> w{magic, uint32_t(productions.size()) | uint32_t(subTables.size()) << 16,
                            uint32_t(rows.size()), 0, 0};
    size_t stateTable = w.size();
    w.resize(w.size() + rows.size());
    w[4] = uint32_t(w.size() * 4);
    for (auto [length, lhs] : productions) {
        w.push_back(length);
        w.push_back(lhs);
    }
    size_t subTable = w.size();
    w.resize(w.size() + subTables.size());
    w[3] = uint32_t(w.size() * 4);
    auto emit = [&](const HandRow& r) {
        uint32_t at = uint32_t(w.size() * 4);
        w.insert(w.end(), {r.flags, uint32_t(r.gotos.size()), uint32_t(r.terminals.size())});
        for (auto [a, s] : r.terminals)
            w.insert(w.end(), {a, s});
        for (auto [a, s] : r.gotos)
            w.insert(w.end(), {a, s});
        if (r.flags & SSYaccTable::kRowError)
            w.insert(w.end(), {r.error.first, r.error.second});
        return at;
    };
    for (size_t s = 0; s < rows.size(); ++s)
        w[stateTable + s] = emit(rows[s]);
    for (size_t k = 0; k < subTables.size(); ++k)
        w[subTable + k] = emit(subTables[k]);
    std::vector<unsigned char> bytes(w.size() * 4);
    for (size_t i = 0; i < w.size(); ++i)
        putWord(bytes, i * 4, w[i]);
    return bytes;
}

constexpr uint32_t kA = 1, kB = 2, kEof = SSYaccTable::kEofSymbol;
constexpr uint32_t kShift = SSYaccTable::kShift, kReduce = SSYaccTable::kReduce, kAccept = SSYaccTable::kAccept;

// Feeds a fixed list of token ids; "-" texts are made up from the ids.
class ListParser : public SSYacc {
public:
    ListParser(const SSYaccTable* table, std::vector<long> tokens)
        : SSYacc(&lex_, table), lex_(nullptr, nullptr), tokens_(std::move(tokens))
    {
    }
    std::vector<uint32_t> reduced;
    std::vector<std::string> firstTexts;
    int lookaheads = 0;

protected:
    SSRef<SSLexLexeme> nextLexeme() override
    {
        if (next_ >= tokens_.size())
            return SSRef<SSLexLexeme>();
        long t = tokens_[next_++];
        return SSRef<SSLexLexeme>(new SSLexLexeme("t" + std::to_string(t), t, long(next_), 0));
    }
    int lookaheadHook(SSLexLexeme&) override
    {
        ++lookaheads;
        return 0;
    }
    SSYaccStackElement* reduce(uint32_t production, uint32_t length) override
    {
        reduced.push_back(production);
        if (length) {
            SSYaccStackElement* first = elementFromProduction(0);
            firstTexts.push_back(first->lexeme() ? first->lexeme()->text() : "");
        }
        return stackElement();
    }

private:
    SSLex lex_;
    std::vector<long> tokens_;
    size_t next_ = 0;
};

// S' -> S eof; S -> a; S -> error b. State 0 recovers through its error entry.
std::vector<unsigned char> recoveringTable(uint32_t magic = 0x53535943)
{
    return buildTable({{SSYaccTable::kRowError, {{kShift | 2, kA}}, {{1, 0x4001}}, {kShift | 3, 0}},
                       {0, {{kAccept, kEof}}, {}},
                       {0, {{kReduce | 1, kEof}}, {}},
                       {0, {{kShift | 4, kB}}, {}},
                       {0, {{kReduce | 2, kEof}}, {}}},
                      {{2, 0}, {1, 1}, {2, 1}}, {}, magic);
}

TEST(Engine, AcceptsAndRecoversThroughAnErrorEntry)
{
    for (uint32_t magic : {0x53535943u, 0u}) {
        std::vector<unsigned char> bytes = recoveringTable(magic);
        SSYaccTable table(bytes.data(), bytes.size());
        ListParser ok(&table, {long(kA)});
        EXPECT_EQ(ok.parse(), 0);
        EXPECT_EQ(ok.reduced, (std::vector<uint32_t>{1}));

        // 7 has no entry: discard it, resume with b after the error token.
        ListParser recovered(&table, {7, long(kB)});
        EXPECT_EQ(recovered.parse(), 1);  // accepted, but an error was seen
        EXPECT_TRUE(recovered.hadError());
        EXPECT_EQ(recovered.reduced, (std::vector<uint32_t>{2}));
        EXPECT_EQ(recovered.firstTexts, (std::vector<std::string>{"%error"}));

        ListParser atEof(&table, {7});
        EXPECT_EQ(messageOf([&] { atEof.parse(); }), "SSYacc0106e: Error token failed, eof");
        EXPECT_EQ(messageOf([&] { atEof.parse(); }), "SSYacc0113e: Permanent error");
    }
}

TEST(Engine, GuardsItsInputsAndState)
{
    std::vector<unsigned char> bytes = recoveringTable();
    SSYaccTable table(bytes.data(), bytes.size());
    ListParser twice(&table, {long(kA)});
    EXPECT_EQ(twice.parse(), 0);
    EXPECT_EQ(messageOf([&] { twice.parse(); }), "SSYaccEv0002e: Already accepted");
    EXPECT_EQ(messageOf([&] { twice.elementAt(5); }), "SSYacc0116e: No Subtree, or subtree index too large");

    ListParser noTable(nullptr, {});
    EXPECT_EQ(messageOf([&] { noTable.parse(); }), "SSYacc0109e: setTable missing, required");
    ListParser noLex(&table, {});
    noLex.setLex(nullptr);
    EXPECT_EQ(messageOf([&] { noLex.parse(); }), "SSYacc0110e: setLex missing, required");

    SSLex dummy(nullptr, nullptr);
    SSYacc plain(&dummy, &table);
    // The default reduce must be overridden; the default scanner here has no input.
    std::vector<unsigned char> reduceFirst =
        buildTable({{0, {{kReduce | 1, kEof}}, {{1, 0x4001}}}, {0, {{kAccept, kEof}}, {}}}, {{2, 0}, {0, 1}});
    SSYaccTable t2(reduceFirst.data(), reduceFirst.size());
    SSLexStringConsumer empty("");
    SSLex emptyLex(&empty, &zeltaLexTable());
    SSYacc defaults(&emptyLex, &t2);
    EXPECT_EQ(messageOf([&] { defaults.parse(); }), "SSYaccEv0003e: Must override reduce function");

    // An action word with no kind bit, and a goto that is missing.
    std::vector<unsigned char> bad = buildTable({{0, {{0x5, kA}}, {}}}, {{2, 0}});
    SSYaccTable t3(bad.data(), bad.size());
    ListParser invalid(&t3, {long(kA)});
    EXPECT_EQ(messageOf([&] { invalid.parse(); }), "SSYacc0102e: Parse failed, invalid table");
    // An entry whose word is 0 is still an entry, not a missing one (a syntax error).
    std::vector<unsigned char> zero = buildTable({{0, {{0, kA}}, {}}}, {{2, 0}});
    SSYaccTable t5(zero.data(), zero.size());
    ListParser zeroWord(&t5, {long(kA)});
    EXPECT_EQ(messageOf([&] { zeroWord.parse(); }), "SSYacc0102e: Parse failed, invalid table");
    std::vector<unsigned char> noGoto = buildTable({{0, {{kReduce | 1, kEof}}, {}}}, {{2, 0}, {0, 3}});
    SSYaccTable t4(noGoto.data(), noGoto.size());
    ListParser lost(&t4, {});
    EXPECT_EQ(messageOf([&] { lost.parse(); }), "SSYacc0107e: Invalid goto on 3");
    ListParser negative(&table, {-5});
    EXPECT_EQ(messageOf([&] { negative.parse(); }), "SSYaccEv0001e: Invalid return from lex, -5");
}

TEST(Engine, LookaheadSubTableChoosesByTheNextToken)
{
    // In state 0, a is resolved by the token after it: end of input shifts,
    // anything else has no entry and fails.
    std::vector<unsigned char> bytes = buildTable({{0, {{SSYaccTable::kLookahead | 0, kA}}, {{1, 0x4001}}},
                                                   {0, {{kAccept, kEof}}, {}},
                                                   {0, {{kReduce | 1, kEof}}, {}}},
                                                  {{2, 0}, {1, 1}}, {{0, {{kShift | 2, kEof}}, {}}});
    SSYaccTable table(bytes.data(), bytes.size());
    ListParser ok(&table, {long(kA)});
    EXPECT_EQ(ok.parse(), 0);
    EXPECT_EQ(ok.reduced, (std::vector<uint32_t>{1}));
    ListParser fails(&table, {long(kA), long(kA)});
    EXPECT_EQ(messageOf([&] { fails.parse(); }), "SSYacc0105e: Error token failed, no valid token");
}

TEST(LineMap, PpoLinesMapThroughLineDirectives)
{
    std::string ppo = "x := 1\n#line 120 \"main.prg\"\na\nb\n#line 7 \"inc.ch\"\nc\n";
    struct Case {
        long ppoLine;
        const char* file;
        long line;
    } cases[] = {{1, "", 1}, {3, "main.prg", 120}, {4, "main.prg", 121}, {6, "inc.ch", 7}, {9, "inc.ch", 10}};
    for (const Case& c : cases) {
        tSourcePlace p = mapPpoLine(ppo, c.ppoLine);
        EXPECT_EQ(p.file, c.file) << c.ppoLine;
        EXPECT_EQ(p.line, c.line) << c.ppoLine;
    }
    std::string path = writeTemp("place.ppo", std::vector<unsigned char>(ppo.begin(), ppo.end()));
    SSException e(SSError::Yacc0105, "m");
    e.setPlace(4, "b");
    EXPECT_EQ(describeErrorPlace(e, path, "x.prg"), "main.prg(121): near \"b\"");
    SSException noPlace(SSError::Yacc0105, "m");
    EXPECT_EQ(describeErrorPlace(noPlace, path, "x.prg"), "x.prg: m");
}

}  // namespace

// ORDER token ids: grammar.y declares each terminal with the scanner's id,
// the scanner table produces that id, OrvicLexClass names it as the grammar
// spells it, and the ids the compiler names in code are those terminals.
TEST(Tables, TokenIdsAgreeAcrossGrammarScannerAndNames)
{
    std::ifstream grammar(std::string(ZELTA_SOURCE_DIR) + "/compiler/frontend/grammar.y");
    ASSERT_TRUE(grammar.good());
    struct Declared {
        std::string name;  // the alias when the grammar gives one
        long id;
    };
    std::vector<Declared> declared;
    const std::regex token(R"re((\w+)\s+(\d+)(\s+"([^"]*)")?)re");
    for (std::string line; std::getline(grammar, line);) {
        if (line.compare(0, 6, "%token") != 0)
            continue;
        const std::string body = line.substr(6);
        for (std::sregex_iterator it(body.begin(), body.end(), token), end; it != end; ++it) {
            const std::smatch& m = *it;
            declared.push_back({m[4].matched ? m[4].str() : m[1].str(), std::stol(m[2].str())});
        }
    }
    ASSERT_GT(declared.size(), 300u);

    std::set<long> scanned;
    const SSLexTable& lex = zeltaLexTable();
    for (size_t list = 0; list < lex.lists(); ++list)
        for (uint32_t s = 0; s < lex.states(list); ++s) {
            const SSLexTable::Accept& a = lex.accept(list, s);
            if (a.flags & SSLexTable::kAccept)
                scanned.insert(a.token);
        }
    // Tokens without a name: synclog, syncdata, syncdate and the built-ins
    // from 390 (their keywords reach the parser but are never printed).
    auto nameless = [](long id) { return (id >= 373 && id <= 375) || (id >= 390 && id < 436); };
    OrvicLexClass names(nullptr);
    std::map<std::string, long> idOf;
    for (const Declared& d : declared) {
        if (d.id >= 1000)
            continue;  // bison's own error tokens, kept out of the scanner's range
        idOf[d.name] = d.id;
        EXPECT_TRUE(scanned.count(d.id)) << d.name << " " << d.id << " is never scanned";
        EXPECT_STREQ(names.tokenName(d.id), nameless(d.id) ? "SSLexTokenNotFound" : d.name.c_str()) << d.id;
    }
    const struct {
        long id;
        const char* name;
    } named[] = {{kTokenEol, "Eol"},   {kTokenNumber, "number"}, {kTokenFract, "fract"}, {kTokenIdentName, "identName"},
                 {kTokenLine, "line"}, {kTokenString, "STRING"}};
    for (const auto& n : named)
        EXPECT_EQ(idOf[n.name], n.id) << n.name;
}
