// The parser over the built-in tables: reductions in the grammar's order,
// precedence and associativity, syntax errors, and every production reached.
#include "frontend_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string expr(const std::string& statement)
{
    ParseResult r = parseText(statement + "\n");
    EXPECT_EQ(r.status, 0) << statement;
    return r.statements.empty() ? "" : r.statements.back();
}

TEST(Parser, SmallestProgramIsOneEmptyStatement)
{
    // The grammar has no empty statement list, so an empty input is a syntax
    // error (see SyntaxErrorsRaiseWithThePlace); one end of line is a program.
    ParseResult one = parseText("\n");
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.reduced, (std::vector<uint32_t>{23, 3, 2, 1}));
}

TEST(Parser, ReductionsFollowTheGrammar)
{
    // x := y := 0: both assignments join one asnList, the new one first.
    EXPECT_EQ(parseText("x := y := 0\n").reduced,
              (std::vector<uint32_t>{6,  116, 132, 60, 53, 58, 6,  116, 132, 60, 53,
                                     59, 135, 90,  83, 72, 52, 63, 61,  3,   2,  1}));
    // a * -b: the unary minus binds inside the term.
    EXPECT_EQ(parseText("a * -b\n").reduced,
              (std::vector<uint32_t>{6, 116, 132, 90, 93, 89, 6, 116, 132, 92, 83, 72, 62, 61, 3, 2, 1}));
    EXPECT_EQ(expr("a * -b"), "(a * - b)");
    EXPECT_EQ(expr("x := y := 0"), "(((x :=) (y :=)) 0)");
}

TEST(Parser, PrecedenceAndAssociativity)
{
    struct Case {
        const char* statement;
        const char* tree;
    } cases[] = {
        {"a .or. b .or. c", "(a .or. (b .or. c))"},
        {"a .and. b .and. c", "(a .and. (b .and. c))"},
        {"a .or. b .and. c", "(a .or. (b .and. c))"},
        {"a .and. b .or. c", "((a .and. b) .or. c)"},
        {"x := a < b < c", "((x :=) (a < (b < c)))"},
        {"x := a = b == c", "((x :=) (a = (b == c)))"},
        {"x := a < b .and. c", "((x :=) ((a < b) .and. c))"},
        {"a + b - c", "((a + b) - c)"},
        {"a * b / c % d", "(((a * b) / c) % d)"},
        {"a + b * c", "(a + (b * c))"},
        {"x := a # b + c", "((x :=) (a # (b + c)))"},
        {"x := !a = b", "((x :=) (! (a = b)))"},
        {"x := .not. a .and. b", "((x :=) ((.not. a) .and. b))"},
        {"x := -a + b", "((x :=) ((- a) + b))"},
        {"x += 1", "((x +=) 1)"},
        {"f(1,,3)", "(f ( ((1 , _) , 3) ))"},
        {"x := {|p| p+1}", "((x :=) ({ | p | (p + 1) }))"},
        {"x := {|| 1}", "((x :=) ({ | | 1 }))"},
        {"x := 1.5", "((x :=) (1 .5))"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expr(c.statement), c.tree) << c.statement;
}

TEST(Parser, SyntaxErrorsRaiseWithThePlace)
{
    struct Case {
        const char* source;
        long line;
        const char* token;
    } cases[] = {
        {"x := f(1\ny := 2\n", 1, "\n"},
        {"\n\nx := (1 + 2\n", 3, "\n"},
        {"a + -b\n", 1, "-"},
        {"if x\n", 2, "eof"},
        {"", 1, "eof"},
    };
    for (const Case& c : cases) {
        try {
            parseText(c.source);
            ADD_FAILURE() << "accepted: " << c.source;
        } catch (const SSException& e) {
            EXPECT_EQ(e.message(), "SSYacc0105e: Error token failed, no valid token") << c.source;
            EXPECT_EQ(e.code(), 2105);
            EXPECT_EQ(e.line(), c.line) << c.source;
            EXPECT_EQ(e.tokenText(), c.token) << c.source;
        }
    }
}

TEST(Parser, RecordsInsteadOfThrowingWhenSwitchedOff)
{
    SSException::clearLastError();
    SSException::setThrowing(false);
    ParseResult r = parseText("x := (\n");
    SSException::setThrowing(true);
    EXPECT_EQ(r.status, 1);
    ASSERT_TRUE(SSException::lastError());
    EXPECT_EQ(SSException::lastError()->code(), 2105);
}

// elementFromProduction on a production without symbols.
class ProbingParser : public RecordingParser {
public:
    using RecordingParser::RecordingParser;
    std::string message;

protected:
    SSYaccStackElement* reduce(uint32_t production, uint32_t length) override
    {
        if (length == 0 && message.empty()) {
            try {
                elementFromProduction(0);
            } catch (const SSException& e) {
                message = e.message();
            }
        }
        return RecordingParser::reduce(production, length);
    }
};

TEST(Parser, ElementFromProductionChecksTheIndex)
{
    SSLexStringConsumer consumer("function f\n");  // staticOpt -> (empty) comes first
    ProbingParser parser(&consumer);
    EXPECT_EQ(parser.run(), 0);
    EXPECT_EQ(parser.message, "SSYacc0108e: Invalid index on elementFromProduction, 0");
}

// One or more inputs per production of the language part of the grammar; the
// built-in family is reached by calling every built-in keyword.
const char* const kCoverage[] = {
    "#line 10 \"a.prg\"\n\nx := y := 0\na .or. b .and. c\na * -b\n",
    "function local\nfunction sequence\nfunction step\nfunction if\nfunction fieldname\n",
    "function pcount\nfunction seconds\nfunction devpos\nfunction flock\nfunction setpos\n",
    "function rlock\nfunction inkey\n",
    "x := a&b\nx := &a.b\n",
    "while x\n y()\nenddo\nwhile x\nend\n",
    "function f\nuser function g(a, b)\nstatic procedure p()\nprocedure q(a,)\n",
    "function f\n:m(a)\nfunction g\n:m()\n",
    "parameters a, b\ndeclare a\nlocal a := 1, b, c[10], m->d\nprivate a\npublic b\nstatic c\n",
    "x += 1\nx -= 1\nx *= 2\nx /= 2\nx = 1\n",
    "f(1)\nf()\nlen(x)\nval(x)\n",
    "x := !a\nx := .not. a\nx := a = b\nx := a == b\nx := a # b\nx := a < b\nx := a <= b\n",
    "x := a > b\nx := a >= b\nx := a $ b\nx := -a\nx := +a + b - c\nx := a * b / c % d ^ e\n",
    "x := m->a\nx := m->&a\nx := m->(a)\n",
    "x := c->a\nx := c->&a\nx := c->(a)\nx := c->(a, b)\nx := c->end\n",
    "x := field->c->a\nx := field->a\nx := _field->end\nx := field->&a\nx := field->(a)\nx := _field->a\n",
    "x := &a->b\nx := (a)->b\n",
    "x := a[1]\nx := a[1][2]\nx := f()[1]\nx := a:b:c\nx := a:b()\nx := a:b(1)\nx := a:b():c\n",
    "x := {1}\nx := {}\nx := &a\nx := (a)&b\nx := &(a)b\nx := &(a)\nx := &a.\n",
    "x := 1.5\nx := .5\nx := 1\nx := \"s\"\nx := \"\"\nx := \"abc\"[1]\nx := (a)[1]\nx := @a\n",
    "x := .t.\nx := .f.\nx := nil\nx := (1, 2)\nx := (1)\n",
    "x := _Super:m(1)\nx := f():m(1)\nx := f():m\n",
    "x := if(a, b, c)\nx := iif(a, , c)\n",
    "++a\na++\n--a\na--\nreturn\nreturn 1\nf(1,,2)\n",
    "while x\nexit\nloop\nend\n",
    "for i := 1 to 2\nnext\nfor i = 1 to 2 step 2\nend\n",
    "if a\nx()\nelseif b\nelseif c\nelse\nendif\nif a\nend\n",
    "do case\n\ncase a\nx()\ncase b\notherwise\nend\ndo case\ncase a\nendcase\ndo case\ncase a\nend case\n",
    "x := {|a| 1, 2}\nx := {|| 1, 2}\nx := {|a| a}\nx := {|| 1}\n",
    "begin sequence\nend\nbegin sequence\nrecover using e\nend sequence\nbegin sequence\nrecover\nend\n",
    "break\nx := break(1)\n",
    "_ObjNewClass(a, )\n_ObjNewClass(a, b)\n",
    "_ObjClassData(a, , , )\n_ObjClassData(a, t, HIDDEN, 1)\n_ObjClassData(a, t, READONLY, 1)\n",
    "_ObjClassMethod(a, , )\n_ObjClassMethod(a, (b), c)\n_ObjClassMethod(a, (), c)\n_ObjEndClass()\n",
};

// The shortest spelling the scanner's main list accepts for a token id.
std::string spellingOf(long token)
{
    const SSLexTable& t = zeltaLexTable();
    std::vector<std::pair<uint32_t, std::string>> frontier{{0, ""}};
    std::set<uint32_t> seen{0};
    while (!frontier.empty()) {
        std::vector<std::pair<uint32_t, std::string>> next;
        for (auto& [state, text] : frontier)
            for (int c = ' '; c < 127; ++c) {
                int32_t to = t.step(0, state, uint32_t(c));
                if (to < 0 || !seen.insert(uint32_t(to)).second)
                    continue;
                std::string longer = text + char(c);
                const SSLexTable::Accept& a = t.accept(0, uint32_t(to));
                if ((a.flags & SSLexTable::kAccept) && long(a.token) == token)
                    return longer;
                next.emplace_back(uint32_t(to), longer);
            }
        frontier.swap(next);
    }
    return "";
}

TEST(Parser, EveryProductionIsReduced)
{
    std::set<uint32_t> reduced;
    for (const char* source : kCoverage) {
        ParseResult r = parseText(source);
        EXPECT_EQ(r.status, 0) << source;
        reduced.insert(r.reduced.begin(), r.reduced.end());
    }
    for (long token = 168; token <= 435; ++token) {
        std::string keyword = spellingOf(token);
        ASSERT_FALSE(keyword.empty()) << token;
        try {
            ParseResult r = parseText("x := " + keyword + "(1)\n");
            reduced.insert(r.reduced.begin(), r.reduced.end());
        } catch (const SSException&) {
            // pcount, seconds and the like are names of functions only
        }
    }
    std::vector<uint32_t> missing;
    for (uint32_t p = 1; p < zeltaYaccTable().productions(); ++p)
        if (!reduced.count(p))
            missing.push_back(p);
    EXPECT_EQ(missing, std::vector<uint32_t>{});
    EXPECT_EQ(zeltaYaccTable().productions(), 489u);
}

TEST(Parser, UnitReductionsConsumeNoInput)
{
    // "1" is reduced factor -> term -> simpleExpr -> logicExpr ->
    // mainExpression, all on the same look-ahead (the end of line).
    std::vector<uint32_t> r = parseText("1\n").reduced;
    EXPECT_EQ(r, (std::vector<uint32_t>{135, 90, 83, 72, 62, 61, 3, 2, 1}));
}

}  // namespace
