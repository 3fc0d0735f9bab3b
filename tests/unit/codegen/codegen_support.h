// A fresh program per test, a current function to write into, and short
// builders for trees. text(node) generates a node and returns what it wrote.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "ast/ast.h"
#include "codegen/program.h"

namespace cgtest {

inline tInstruction* id(const char* name) { return new tIdentifier(new tIdentName(name)); }
inline tInstruction* name(const char* text) { return new tIdentName(text); }
inline tInstruction* num(const char* text) { return new tConst(tConst::kNumber, text); }
inline tInstruction* str(const char* text) { return new tConst(tConst::kString, text); }
inline tInstruction* logical(const char* text) { return new tConst(tConst::kLogical, text); }

// (a, b, c) as the grammar builds it: tParmList(tParmList(tParmList(a), b), c).
inline tInstruction* args(std::initializer_list<tInstruction*> items)
{
    tInstruction* list = nullptr;
    for (tInstruction* item : items)
        list = list ? new tParmList(list, item) : new tParmList(item);
    return list;
}

inline tInstruction* assign(tInstruction* target, tInstruction* value)
{
    return new tAssignExpression(value, new tAsnList(new tAssign(target)));
}

class CodegenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.autoPublicPauseMs = 0;
        program.options.moduleName = "TESTMOD";
        program.options.sourcePath = "testmod.prg";
        program.activate();
        program.beginSource();
        program.openFunction("F", false);
    }

    // Generates the node (and deletes it) and returns the fragments it added.
    std::string text(tInstruction* node)
    {
        std::unique_ptr<tInstruction> owned(node);
        return textOf(*node);
    }

    std::string textOf(tInstruction& node)
    {
        tFunctionDefinition* f = program.currentFunction;
        int before = f ? f->body.count() : 0;
        node.generate();
        return bodyFrom(before);
    }

    std::string bodyFrom(int first)
    {
        std::string out;
        tFunctionDefinition* f = program.currentFunction;
        for (int i = first; f && i < f->body.count(); ++i)
            out += f->body.text(i);
        return out;
    }

    tProgram program;
};

}  // namespace cgtest
