// Calls: user function calls and their argument lists, the three bases of
// the built-ins (fixed arity, variable arity, work-area operation), the
// alias prefix and fields. Argument lists lean left: (a, b, c) is
// tParmList(tParmList(tParmList(a), b), c).
#pragma once

#include "instruction.h"
#include "operators.h"

namespace codegen {
class tInOrder;
}

class tFunctionCall : public tInstruction {
public:
    tFunctionCall(tInstruction* name, tInstruction* args);
    void generate() override;
    void collectBlockVars(int flag) override;
    tInstruction* inner() override;

private:
    std::unique_ptr<tInstruction> name_;
    std::unique_ptr<tInstruction> args_;
};

// (list so far, new argument); a one-argument list is tParmList(a).
class tParmList : public tInstruction {
public:
    explicit tParmList(tInstruction* first, tInstruction* item = nullptr);
    ~tParmList() override;
    void generate() override;
    void collectBlockVars(int flag) override;
    int hasItems() override;
    int argCount(int countEmpty) override;
    int itemCount() override;
    tInstruction* inner() override;
    tInstruction* lastItem() override;

    // The list's text with each item marked in `order` (generate() is this
    // without the marks).
    void generateItems(codegen::tInOrder* order);

private:
    std::unique_ptr<tInstruction> first_;
    std::unique_ptr<tInstruction> item_;
};

// An omitted argument, as in f(1,,3).
class tParmNull : public tInstruction {
public:
    void generate() override;
    int argCount(int countEmpty) override;
};

// Built-ins with a fixed argument count: short calls are padded with NULL.
// A subclass writes its entry point and then calls generate() here.
class tFixedCall : public tSingleParam {
public:
    tFixedCall(tInstruction* args, int arity);
    void generate() override;
    // The argument part, its items marked in `order` when there is one.
    void writeArguments(codegen::tInOrder* order);
    void collectBlockVars(int flag) override;
    int argCount(int countEmpty) override;
    tInstruction* inner() override;

    int arity() const { return arity_; }

private:
    int arity_;
};

// Built-ins with a variable argument count: the list ends with __INIT_NUL().
class tVariantCall : public tSingleParam {
public:
    explicit tVariantCall(tInstruction* args);
    void generate() override;
    void writeArguments(codegen::tInOrder* order);
    tInstruction* inner() override;
};

// Work-area operations: the alias (or a null value for the current area)
// goes first, then the arguments padded with NULL to the arity.
class tDbOper : public tInstruction {
public:
    tDbOper(tInstruction* args, int arity);
    void generate() override;
    void writeArguments(codegen::tInOrder* order);
    tInstruction* inner() override;
    void setAlias(tInstruction* alias) override;

    int arity() const { return arity_; }
    tInstruction* arguments() const { return args_.get(); }

private:
    std::unique_ptr<tInstruction> args_;
    tInstruction* alias_ = nullptr;  // owned by the tAlias that set it
    int arity_;
};

// alias->( operation )
class tAlias : public tInstruction {
public:
    tAlias(tInstruction* alias, tInstruction* operation);
    void generate() override;

private:
    std::unique_ptr<tInstruction> alias_;
    std::unique_ptr<tInstruction> operation_;
};

// alias->field. Read by name; written by position once markTarget() has run.
class tField : public tInstruction {
public:
    tField(tInstruction* alias, tInstruction* field);
    void generate() override;
    int kind() override;
    void markTarget() override;
    void emitNameConst() override;

    // The read form (__GetFieldByName) whatever markTarget() has set.
    void generateByName();

protected:
    tField(tInstruction* alias, tInstruction* field, const char* fieldText);
    // The field's upper-cased name, from the node or from the stored text.
    const char* fieldName();

    std::unique_ptr<tInstruction> alias_;
    std::unique_ptr<tInstruction> field_;
    std::unique_ptr<char[]> fieldText_;
    int positional_ = 0;
};

// The same, with the field name as text (the scanner's alias->name lexeme).
class tFieldEnd : public tField {
public:
    tFieldEnd(tInstruction* alias, const char* field);
};
