// OrvicLexClass: the compiler's scanner, SSLex over the built-in scanner table
// with the language's token names; and the two built-in tables, loaded once.
#pragma once

#include "ss_lex.h"
#include "ss_yacc.h"

// Token ids the compiler names in code; the rest are in tokens.lex.
enum ZeltaToken : long {  // ORDER token ids (tokens.lex, grammar.y)
    kTokenEof = -1,
    kTokenEol = 57,
    kTokenNumber = 97,
    kTokenFract = 98,
    kTokenIdentName = 99,
    kTokenLine = 160,
    kTokenString = 436,
};

class OrvicLexClass : public SSLex {
public:
    // The consumer stays the caller's.
    explicit OrvicLexClass(SSLexConsumer* consumer);

    // The name of a token id; "SSLexTokenNotFound" for ids without one, "eof" for -1.
    const char* tokenName(long token) const override;
};

// The built-in tables (resources ZELTA_DFA and ZELTA_LLR), read on first use.
const SSLexTable& zeltaLexTable();
const SSYaccTable& zeltaYaccTable();
