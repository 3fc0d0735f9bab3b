// The table-driven LALR(1) parser engine: the parser table, the stack element
// and SSYacc. Nothing here knows the language.
//
// Writing the grammar actions: subclass SSYacc and override reduce(). For
// production p of length n, elementFromProduction(k) is the element of the
// k-th right-hand-side symbol (k from 0, leftmost first). A terminal's element
// carries its lexeme (element->lexeme(): text(), parseToken(), line()); a
// nonterminal's carries the value that reduce stored for it (value()). Create
// the result with stackElement(), set its value, and return it; the engine
// pops the n elements, sets the result's state from the goto and pushes it.
// Elements and lexemes are reference counted: keep one beyond the reduce only
// through an SSRef. Override stackElement() to return a subclass.
#pragma once

#include "ss_lex.h"

#include <cstdint>
#include <string>
#include <vector>

// The parser table (byte layout in ss_yacc_table.cpp), checked once, with the
// terminal and goto entries also spread into direct lookups.
class SSYaccTable {
public:
    enum : uint32_t {
        kSync = 0x80000000u,
        kShift = 0x40000000u,
        kReduce = 0x20000000u,
        kAccept = 0x10000000u,
        kLookahead = 0x08000000u,
        kTargetMask = 0x07FFFFFFu,
        kNonterminal = 0x4000u,
        kEofSymbol = 0xFFFFFFFFu,
        // Row flags.
        kRowSync = 0x01,
        kRowError = 0x02,
        kRowSync2 = 0x04,
        kRowEmpty = 0x08,
    };
    struct Entry {
        uint32_t action, symbol;
    };
    struct Row {
        uint32_t flags = 0;
        std::vector<Entry> terminals, gotos;
        bool hasError = false;
        Entry error{0, 0};
    };

    // Throws "SSYacc0111e: Error reading table, <why>" or "SSYacc0112e: Table too big".
    SSYaccTable(const void* block, size_t size);
    static SSYaccTable fromResource(const std::string& name);  // SSYacc0115e
    static SSYaccTable fromFile(const std::string& path);      // SSYacc0101e

    uint32_t productions() const { return uint32_t(productions_.size()); }
    uint32_t states() const { return uint32_t(rows_.size()); }
    uint32_t productionLength(uint32_t p) const { return productions_.at(p).first; }
    uint32_t productionLhs(uint32_t p) const { return productions_.at(p).second; }
    // Length and left side of a production below productions(), unchecked.
    const std::pair<uint32_t, uint32_t>& productionShape(uint32_t p) const { return productions_[p]; }
    // "SSYacc0114e" for a state that is not in the table.
    const Row& row(uint32_t state) const
    {
        if (state >= rows_.size())
            badState(state);
        return rows_[state];
    }
    const Row& lookaheadTable(uint32_t index) const;
    size_t lookaheadTables() const { return lookahead_.size(); }

    // The action word of (state, terminal), or 0 when the state has no entry.
    // found is set, as an action word may itself be 0 in a damaged table.
    // Inline: the parser asks for every lexeme and every reduction.
    uint32_t action(uint32_t state, uint32_t token, bool& found) const
    {
        const Row& r = row(state);
        if (columns_) {
            uint32_t column = token == kEofSymbol ? columns_ - 1 : token;
            uint32_t a =
                column < columns_ - 1 || token == kEofSymbol ? terminalAction_[size_t(state) * columns_ + column] : 0;
            found = a != 0;
            return a;
        }
        return searchAction(r, token, found);
    }
    // The goto target of (state, nonterminal n), or -1.
    int64_t gotoState(uint32_t state, uint32_t nonterminal) const
    {
        row(state);
        if (nonterminal >= nonterminals_)
            return -1;
        return int64_t(gotoTarget_[size_t(state) * nonterminals_ + nonterminal]) - 1;
    }

private:
    [[noreturn]] static void badState(uint32_t state);
    static uint32_t searchAction(const Row& r, uint32_t token, bool& found);
    void load(const std::vector<unsigned char>& data);
    Row readRow(const std::vector<unsigned char>& data, size_t offset, size_t* end) const;

    std::vector<std::pair<uint32_t, uint32_t>> productions_;
    std::vector<Row> rows_;
    std::vector<Row> lookahead_;
    // Direct lookups: the action word (0: none) per (state, terminal column),
    // target + 1 per (state, nonterminal). A table with an action word of 0
    // has no direct terminal lookup: there 0 would read as no entry.
    uint32_t columns_ = 0, nonterminals_ = 0;
    std::vector<uint32_t> terminalAction_;
    std::vector<int32_t> gotoTarget_;
};

class SSYaccStackElement : public SSRefCount {
public:
    uint32_t state() const { return state_; }
    void setState(uint32_t state) { state_ = state; }
    SSLexLexeme* lexeme() const { return lexeme_.get(); }
    void setLexeme(SSRef<SSLexLexeme> lexeme) { lexeme_ = std::move(lexeme); }
    void* value() const { return value_; }
    void setValue(void* value) { value_ = value; }

private:
    uint32_t state_ = 0;
    SSRef<SSLexLexeme> lexeme_;
    void* value_ = nullptr;
};

class SSYacc {
public:
    enum Action { kShiftAction = 0, kErrorAction = 1, kReduceAction = 2, kAcceptAction = 3, kLookaheadAction = 4 };

    SSYacc(SSLex* lex, const SSYaccTable* table);
    virtual ~SSYacc();

    // 0 when the input was accepted without errors, 1 otherwise. Failures are
    // SSExceptions; one that leaves the parse carries the look-ahead's place.
    int parse();

    // The element of the k-th right-hand-side symbol of the production being
    // reduced; "SSYacc0108e" when k is not below its length.
    SSYaccStackElement* elementFromProduction(long k) const
    {
        if (k < 0 || k >= long(productionLength_) || size_t(productionLength_) > stack_.size())
            badProductionElement(k);
        return stack_.fromTop(productionLength_ - 1 - size_t(k));
    }
    // The element `depth` places below the top; "SSYacc0116e" beyond the stack.
    SSYaccStackElement* elementAt(size_t depth) const;
    // Elements on the stack, the bottom one (state 0) included.
    size_t stackDepth() const { return stack_.size(); }

    SSLexLexeme* lookahead() const { return lookahead_.get(); }
    uint32_t production() const { return production_; }
    uint32_t productionLength() const { return productionLength_; }
    uint32_t productionLhs() const { return productionLhs_; }
    uint32_t state() const { return state_; }
    bool hadError() const { return errorFlag_; }
    bool accepted() const { return accepted_; }
    long tokensSinceError() const { return tokensSinceError_; }
    void setLex(SSLex* lex) { lex_ = lex; }
    void setTable(const SSYaccTable* table) { table_ = table; }

protected:
    // Virtual operations, in this order.
    virtual void* currentValue();  // the value on top of the stack
    virtual SSRef<SSLexLexeme> nextLexeme();
    virtual SSYaccStackElement* stackElement();
    virtual SSYaccStackElement* shift(SSLexLexeme& lexeme);
    // Called with each new look-ahead; non-zero stops the parse.
    virtual int lookaheadHook(SSLexLexeme& lexeme);
    // A syntax error in `state`; the default recovers (or raises) and returns
    // 0 to go on. Non-zero ends the parse with failure.
    virtual int error(uint32_t state, SSLexLexeme& lookahead);
    // Returns the element for the left side; the default raises "SSYaccEv0003e".
    virtual SSYaccStackElement* reduce(uint32_t production, uint32_t length);
    virtual int lookaheadFailure();

    // The default error recovery (see ss_yacc.cpp).
    void recover();

private:
    [[noreturn]] static void badProductionElement(long k);
    void push(SSYaccStackElement* element)
    {
        if (stack_.hasRoom()) {
            element->refInc();
            stack_.pushInRoom(element);
        } else {
            pushGrowing(element);
        }
    }
    void pushGrowing(SSYaccStackElement* element);
    void popElements(uint32_t n);
    // Replaces the look-ahead with the next lexeme; false when the
    // look-ahead hook stopped the parse.
    bool advance();
    SSRef<SSLexLexeme> readLexeme();
    SSRef<SSLexLexeme> endLexeme();
    SSLexLexeme* peek(size_t depth);
    static uint32_t symbolOf(const SSLexLexeme& lexeme) { return uint32_t(lexeme.parseToken()); }
    void lookUp();
    void decode(uint32_t action);
    bool resolveLookahead(uint32_t subTable);

    SSLex* lex_;
    const SSYaccTable* table_;
    SSLifo<SSYaccStackElement*> stack_;
    SSRef<SSLexLexeme> lookahead_;
    std::vector<SSRef<SSLexLexeme>> cache_;  // read ahead, handed out first
    SSRef<SSLexLexeme> eofLexeme_;
    Action action_ = kErrorAction;
    uint32_t target_ = 0, state_ = 0;
    uint32_t production_ = 0, productionLength_ = 0, productionLhs_ = 0;
    bool errorFlag_ = false, endFlag_ = false, accepted_ = false, broken_ = false;
    long tokensSinceError_ = 0;
};
