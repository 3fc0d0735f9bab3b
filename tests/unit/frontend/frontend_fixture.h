// Helpers of the front-end tests: scanning a text into (token, text) pairs,
// and RecordingParser, which records the productions reduced and gives each
// nonterminal a bracketed text of what it covers, so a test can check both
// the order of reductions and the shape of the tree.
#pragma once

#include "orvic_lex.h"
#include "ss_lex.h"
#include "ss_yacc.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct ScannedToken {
    long token;
    std::string text;
    bool operator==(const ScannedToken& o) const { return token == o.token && text == o.text; }
};

inline std::vector<ScannedToken> scanAll(const std::string& source)
{
    SSLexStringConsumer consumer(source);
    OrvicLexClass lex(&consumer);
    std::vector<ScannedToken> out;
    while (SSRef<SSLexLexeme> l = lex.next())
        out.push_back({l->token(), l->text()});
    return out;
}

// Values: a production of one symbol passes its child's text on, an empty one
// gives "_", a longer one "(child child ...)"; a terminal's text is its lexeme
// ("EOL" for an end of line).
class RecordingParser : public SSYacc {
public:
    explicit RecordingParser(SSLexConsumer* consumer) : SSYacc(&lex_, &zeltaYaccTable()), lex_(consumer) {}

    std::vector<uint32_t> reduced;
    std::vector<std::string> statements;  // the text of each production 61's expression

    int run() { return parse(); }

protected:
    SSYaccStackElement* reduce(uint32_t production, uint32_t length) override
    {
        reduced.push_back(production);
        std::string text;
        if (length == 0)
            text = "_";
        for (uint32_t k = 0; k < length; ++k) {
            std::string child = textOf(elementFromProduction(long(k)));
            if (length == 1)
                text = child;
            else
                text += (k ? " " : "(") + child;
        }
        if (length > 1)
            text += ")";
        if (production == 61)
            statements.push_back(textOf(elementFromProduction(0)));
        SSYaccStackElement* e = stackElement();
        texts_.push_back(std::make_unique<std::string>(std::move(text)));
        e->setValue(texts_.back().get());
        return e;
    }

private:
    static std::string textOf(SSYaccStackElement* e)
    {
        if (e->lexeme())
            return e->lexeme()->token() == kTokenEol ? "EOL" : e->lexeme()->text();
        return e->value() ? *static_cast<std::string*>(e->value()) : "?";
    }

    OrvicLexClass lex_;
    std::vector<std::unique_ptr<std::string>> texts_;
};

struct ParseResult {
    int status;
    std::vector<uint32_t> reduced;
    std::vector<std::string> statements;
};

inline ParseResult parseText(const std::string& source)
{
    SSLexStringConsumer consumer(source);
    RecordingParser parser(&consumer);
    int status = parser.run();
    return {status, parser.reduced, parser.statements};
}
