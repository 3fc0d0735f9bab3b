// Grammar actions: the parser subclass whose reduce step turns each
// recognised production into a syntax-tree node. A node belongs to the stack
// element that carries it until an action hands it to a parent, so a parse
// that stops half-way (a syntax error or a rejected construct) frees what it
// had built, and a production that builds nothing frees the children it drops.
#pragma once

#include <cstdint>
#include <memory>

#include "../ast/instruction.h"
#include "ss_yacc.h"

class OrvicYaccStackElement : public SSYaccStackElement {
public:
    OrvicYaccStackElement() = default;
    ~OrvicYaccStackElement() override;

    tInstruction* node = nullptr;  // owned until an action takes it
    int depth = 0;                 // nesting levels of the node's subtree
};

// The deepest nesting of expressions and statements a source may hold. The
// tree is walked by recursion, and the C++ compiler needs time and memory
// that grow faster than the nesting; lists (statements, arguments,
// declarations) do not count, as they are walked in loops.
constexpr int kMaxNesting = 2000;

// What the grammar records as it goes: the ".ppo" line of the production
// being reduced and the source line announced by the last line statement.
struct tSourcePosition {
    unsigned long lexemeLine = 0;
    long directiveLine = 0;
    bool directiveSeen = false;
};

// The grammar's own rejections; their texts are grammarErrorText's.
enum class tGrammarError {
    sequence,
    pcount,
    devpos,
    flock,
    setpos,
    rlock,
    inkey,
    macro,
    objects,
    parameters,
    declare,
    syntax,
    nesting,
    count  // ORDER tGrammarError: keep last, and kGrammarErrors in step
};

const char* grammarErrorText(tGrammarError error);

// A construct that the grammar recognises and the compiler rejects. It
// travels as the engines' exception, so the driver reports it like a syntax
// error, with the place of the production's first lexeme.
class tGrammarException : public SSException {
public:
    explicit tGrammarException(tGrammarError error);
    tGrammarError grammarError() const { return grammarError_; }

private:
    tGrammarError grammarError_;
};

// Takes the statements of a source's outermost list one by one, in source
// order, as soon as each is reduced, so that a source never stands whole in
// memory. Blank lines and directives arrive as null.
class tStatementSink {
public:
    virtual ~tStatementSink() = default;
    virtual void statement(std::unique_ptr<tInstruction> node) = 0;
};

class OrvicYaccClass : public SSYacc {
public:
    OrvicYaccClass(SSLex* lexer, const SSYaccTable* table);
    ~OrvicYaccClass() override;

    // The tree of a successful parse (production 1's tMain); the caller owns
    // it. Null before the parse has reduced production 1. With a sink the
    // tMain holds no statements: the sink has had them.
    tInstruction* takeRoot() { return root_.release(); }

    // Hands the outermost statements to the sink (not owned) from now on.
    void streamStatements(tStatementSink* sink) { sink_ = sink; }

    tSourcePosition& position() { return position_; }
    const tSourcePosition& position() const { return position_; }

protected:
    SSYaccStackElement* stackElement() override;
    SSYaccStackElement* reduce(uint32_t production, uint32_t length) override;

private:
    // The k-th right-hand-side element, counted from 1 as the grammar's $k.
    OrvicYaccStackElement* rhs(int k) { return static_cast<OrvicYaccStackElement*>(elementFromProduction(k - 1)); }
    // Takes $k's node out of its element; the caller passes it to a parent.
    tInstruction* take(int k)
    {
        OrvicYaccStackElement* element = rhs(k);
        tInstruction* node = element->node;
        element->node = nullptr;
        if (element->depth > takenDepth_)
            takenDepth_ = element->depth;
        return node;
    }
    // $k's lexeme text ("" when it has none).
    const char* text(int k);

    // The element of the production's node, one level deeper than the
    // deepest node it took (as deep, for a list link).
    SSYaccStackElement* nodeElement(tInstruction* node);
    SSYaccStackElement* passElement(int k);
    // $k's element, made ready to stand for the left side.
    OrvicYaccStackElement* reusedElement(int k);
    SSYaccStackElement* emptyElement();
    SSYaccStackElement* printElement(const char* productionText);
    [[noreturn]] void raise(tGrammarError error);
    // line number STRING Eol: the next ".ppo" line is that source line.
    void lineDirective(const char* lineNumber);

    // Productions 1 to 230, and the built-in family 231 to 488.
    SSYaccStackElement* languageAction(uint32_t production);
    SSYaccStackElement* builtinAction(uint32_t production);

    // The statement of a statList production that extends the source's
    // outermost list (the one right above the stack's bottom) goes to the
    // sink; the element left for the list carries nothing.
    SSYaccStackElement* streamed(int k);

    std::unique_ptr<tInstruction> root_;
    tStatementSink* sink_ = nullptr;
    tSourcePosition position_;
    int takenDepth_ = 0;  // the deepest node taken by the current action
};
