// The scanner over the built-in table: keywords and their abbreviations,
// strings, numbers, comments, directives, longest match and its backing up.
#include "frontend_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr long kEol = 57, kIdent = 99, kNumber = 97, kFract = 98, kString = 436, kNullStr = 56;

std::string tokens(const std::string& source)
{
    std::string out;
    for (const ScannedToken& t : scanAll(source))
        out += (out.empty() ? "" : " ") + std::to_string(t.token);
    return out;
}

long only(const std::string& source)
{
    std::vector<ScannedToken> t = scanAll(source);
    return t.size() == 1 ? t[0].token : -100 - long(t.size());
}

TEST(Scanner, KeywordsIgnoreCaseAndAbbreviateOnlyWhereAllowed)
{
    struct Case {
        const char* text;
        long token;
        // clang-format off
    } cases[] = {
        {"FUNC", 136}, {"func", 136}, {"Function", 136}, {"FUNCTI", 136}, {"FUN", kIdent}, {"functions", kIdent},
        {"proc", 122}, {"PROCEDURE", 122}, {"pro", kIdent},
        {"retu", 129}, {"loca", 126}, {"stat", 138}, {"state", kIdent}, {"para", 137},
        {"endi", 144}, {"endif", 144}, {"endc", 115}, {"endd", 121}, {"end", 120},
        {"othe", 116}, {"whil", 117}, {"begi", 106}, {"brea", 108}, {"sequ", 107}, {"reco", 109}, {"record", kIdent},
        {"usin", 110}, {"decl", 111}, {"anno", 105}, {"publ", 128}, {"priv", 127},
        {"exte", 130}, {"external", 130}, {"extern", 130}, {"externals", kIdent},
        {"elsei", 143}, {"elseif", 143}, {"else", 142}, {"_fiel", 124}, {"_field", 124}, {"_fie", kIdent},
        {"field", kIdent}, {"exit", 118}, {"exi", kIdent}, {"next", 134}, {"nex", kIdent}, {"iif", 141}, {"nil", 145},
        // Built-ins are full words only; a bracketed spelling replaces the name.
        {"aadd", 168}, {"AADD", 168}, {"aad", kIdent}, {"rtrim", 209}, {"trim", 209}, {"gridcol", 308},
        {"gricol", kIdent}, {"listbox", 255}, {"listbos", kIdent}, {"__setcentury", 224}, {"setcentury", kIdent},
        {"setdirty", 316}, {"connectserver", 329}, {"fielddedlen", 366}, {"fielddeclen", kIdent},
        {"sendimage", 435}, {"startserver", 390}, {"getserial", 389},
        {"_ObjNewClass", 161}, {"hidden", 166}, {"READONLY", 167}, {"#line", 160}, {"#LINE", 160},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(only(c.text), c.token) << c.text;
    // "dbgridsearch " keeps its blank; without one the word is a name.
    EXPECT_EQ(scanAll("dbgridsearch (")[0], (ScannedToken{336, "dbgridsearch "}));
    EXPECT_EQ(scanAll("dbgridsearch(")[0].token, kIdent);
}

TEST(Scanner, OperatorsTakeTheLongestMatch)
{
    struct Case {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"a:=1;b:=2", "99 88 97 57 99 88 97"},
        {"x++ --y", "99 69 70 99"},
        {"a+=b-=c*=d/=e", "99 89 99 90 99 91 99 92 99"},
        {"a>=b<=c==d=e", "99 61 99 63 99 65 99 64 99"},
        {"a#b!=c!d", "99 67 99 67 99 81 99"},
        {"a^b**c", "99 75 99 75 99"},
        {"a $ b % c", "99 59 99 74 99"},
        {".T. .f. .And. .OR. .not.", "79 80 77 76 78"},
        {"{|x| x}", "86 94 99 94 99 87"},
        {"@a[1]", "95 99 84 97 85"},
        {"1.50", "97 98"},
        {".5", "98"},
        {"a.b", "99 93 99"},
        {"o:name", "99 96"},
        {"&m &m. &m.n &(", "100 101 102 103"},
        {"M->x FIELD->y c->z", "104 99 123 99 99 58 99"},
        {"c->END\n", "99 125 57"},
        // ->END inside a longer name backs up to -> and leaves the name whole.
        {"c->ENDERECO", "99 58 99"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokens(c.text), c.tokens) << c.text;
}

TEST(Scanner, StringsAndTheirQuotes)
{
    EXPECT_EQ(scanAll("'It''s'"), (std::vector<ScannedToken>{{kString, "It"}, {kString, "s"}}));
    EXPECT_EQ(scanAll("\"\""), (std::vector<ScannedToken>{{kNullStr, "\"\""}}));
    EXPECT_EQ(scanAll("''")[0].token, kNullStr);
    EXPECT_EQ(scanAll("\"a 'b' // c\""), (std::vector<ScannedToken>{{kString, "a 'b' // c"}}));
    EXPECT_EQ(scanAll("'ab\ncd'"), (std::vector<ScannedToken>{{kString, "ab"}, {kString, "cd"}}));
    // End of input closes an open string.
    EXPECT_EQ(scanAll("x := \"abc"), (std::vector<ScannedToken>{{kIdent, "x"}, {88, ":="}, {kString, "abc"}}));
}

TEST(Scanner, CommentsAndDirectives)
{
    struct Case {
        const char* text;
        const char* tokens;
    } cases[] = {
        // The newline that ends a line comment still ends the statement, once.
        {"x // note\ny", "99 57 99"},    {"x // note\n\n\ny", "99 57 99"},
        {"// only a comment\n", "57"},   {"x /* a\n b ** / */ y", "99 99"},
        {"x /***/ y", "99 99"},          {"#define X 1\nx", "57 99"},
        {"#IFDEF X\n#endif\n", "57 57"}, {"#line 120 \"a.prg\"\n", "160 97 436 57"},
        {"a\t\r \nb", "99 57 99"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokens(c.text), c.tokens) << c.text;
}

TEST(Scanner, LexemesCarryLineAndOffset)
{
    SSLexStringConsumer consumer("a := 1\n  foo(\"s\")");
    OrvicLexClass lex(&consumer);
    std::vector<std::tuple<std::string, long, long>> seen;
    while (SSRef<SSLexLexeme> l = lex.next())
        seen.emplace_back(l->text(), l->line(), l->offset());
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[4], std::make_tuple(std::string("foo"), 2L, 2L));
    EXPECT_EQ(seen[6], std::make_tuple(std::string("s"), 2L, 7L));
    EXPECT_EQ(lex.lexemeCount(), 8);
}

TEST(Scanner, InvalidCharacterRaisesWithItsPlace)
{
    SSLexStringConsumer consumer("x\n y ? z");
    OrvicLexClass lex(&consumer);
    lex.next();
    lex.next();
    lex.next();
    try {
        lex.next();
        FAIL() << "no exception";
    } catch (const SSException& e) {
        EXPECT_EQ(e.message(), "SSLex0105e: Invalid token, Line 2, Offset 3, ?");
        EXPECT_EQ(e.code(), 1105);
    }
}

// An override of error() that returns skips the bad character and goes on.
class ForgivingLex : public OrvicLexClass {
public:
    using OrvicLexClass::OrvicLexClass;
    std::string bad;

protected:
    void error(long, long, const std::string& text) override { bad += text; }
};

TEST(Scanner, ErrorOverrideSkipsOneCharacter)
{
    SSLexStringConsumer consumer("a ?` b & c");
    ForgivingLex lex(&consumer);
    std::string names;
    while (SSRef<SSLexLexeme> l = lex.next())
        names += l->text();
    EXPECT_EQ(names, "abc");
    EXPECT_EQ(lex.bad, "?`&");
}

TEST(Scanner, TokenNames)
{
    OrvicLexClass lex(nullptr);
    struct Case {
        long id;
        const char* name;
        // clang-format off
    } cases[] = {
        {-1, "eof"}, {51, "SSLexTokenNotFound"}, {56, "NullStr"}, {59, "InStr"}, {67, "#"}, {75, "**"},
        {95, "@"}, {99, "identName"}, {123, "fieldAliasOp"}, {124, "field"}, {130, "extern"}, {145, "nil"},
        {160, "line"}, {167, "READONLY"}, {168, "aadd"}, {209, "rtrim"}, {308, "gricol"}, {336, "dbgridsearch"},
        {372, "synccfg"}, {373, "SSLexTokenNotFound"}, {389, "getserial"}, {390, "SSLexTokenNotFound"},
        {435, "SSLexTokenNotFound"}, {436, "STRING"}, {437, "SSLexTokenNotFound"}, {0, "SSLexTokenNotFound"},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_STREQ(lex.tokenName(c.id), c.name) << c.id;
}

// The bytes already in the window are scanned in one tight loop; double-byte
// mode goes character by character. On ASCII text both must give the same
// lexemes, places and list changes, backing up and cut rules included.
TEST(Scanner, WindowLoopAgreesWithCharacterByCharacter)
{
    std::string text =
        "#line 7 \"a.prg\"\nFUNCTION Main( nA )\n  LOCAL nX := 1.5, cS := 'it''s' + \"q\"\"\"\n"
        "  whil nX <= 3 .and. ! .F. ; nX += 1e ; ENDD /* two\nlines */ x->end y->endz\n"
        "  aV[ 1 ]**2 % 7 != 4 <> 5 // note\n  #command foo => bar\n  1. .5 12.ab";
    for (int i = 0; i < 400; ++i)
        text += "\n  n" + std::to_string(i) + " := n" + std::to_string(i) + " - ( " + std::string(i % 37, '7') + " )";
    SSLexStringConsumer fast(text), slow(text);
    slow.setDbcs(true);
    OrvicLexClass a(&fast), b(&slow);
    long n = 0;
    for (;;) {
        SSRef<SSLexLexeme> x = a.next(), y = b.next();
        ASSERT_EQ(bool(x), bool(y)) << n;
        if (!x)
            break;
        ASSERT_EQ(x->text(), y->text()) << n;
        ASSERT_EQ(x->token(), y->token()) << x->text();
        ASSERT_EQ(x->parseToken(), y->parseToken()) << x->text();
        ASSERT_EQ(x->line(), y->line()) << x->text();
        ASSERT_EQ(x->offset(), y->offset()) << x->text();
        ASSERT_EQ(a.currentList(), b.currentList()) << x->text();
        ++n;
    }
    EXPECT_GT(n, 400 * 7);
}

TEST(Scanner, FileConsumerReadsThroughASmallWindow)
{
    std::string path = ::testing::TempDir() + "/scanner_window.ppo";
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "nValue" + std::to_string(i) + " := \"" + std::string(i % 50, 'x') + "\"\n";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    SSLexFileConsumer file(path);
    file.setIncrement(512);
    OrvicLexClass fromFile(&file);
    SSLexStringConsumer memory(text);
    OrvicLexClass fromMemory(&memory);
    long n = 0;
    for (;;) {
        SSRef<SSLexLexeme> a = fromFile.next(), b = fromMemory.next();
        ASSERT_EQ(bool(a), bool(b));
        if (!a)
            break;
        ASSERT_EQ(a->text(), b->text());
        ASSERT_EQ(a->line(), b->line());
        ++n;
    }
    EXPECT_GT(n, 3000 * 3);
    std::remove(path.c_str());
}

}  // namespace
