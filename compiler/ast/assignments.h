// Assignments. A tAssignExpression holds the value and a chain of targets
// (tAsnList of tAssign); the tAssign subclasses differ only in kind(), which
// picks the operator of a compound assignment.
#pragma once

#include "instruction.h"

class tAssignExpression : public tInstruction {
public:
    tAssignExpression(tInstruction* value, tInstruction* target);
    void generate() override;
    void collectBlockVars(int flag) override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;

    tInstruction* value() const { return value_.get(); }
    tInstruction* target() const { return target_.get(); }

private:
    std::unique_ptr<tInstruction> value_;
    std::unique_ptr<tInstruction> target_;
};

class tAssign : public tInstruction {
public:
    explicit tAssign(tInstruction* target);
    void generate() override;
    void collectBlockVars(int flag) override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;
    int kind() override;
    void markTarget() override;
    void emitNameConst() override;

    tInstruction* target() const { return target_.get(); }

private:
    std::unique_ptr<tInstruction> target_;
};

class tSumAssign : public tAssign {
public:
    using tAssign::tAssign;
    int kind() override;
};

class tSubAssign : public tAssign {
public:
    using tAssign::tAssign;
    int kind() override;
};

class tDivAssign : public tAssign {
public:
    using tAssign::tAssign;
    int kind() override;
};

class tMulAssign : public tAssign {
public:
    using tAssign::tAssign;
    int kind() override;
};

// (new target, chain so far): x := y := 0 is tAsnList(y, tAsnList(x)).
class tAsnList : public tInstruction {
public:
    explicit tAsnList(tInstruction* item, tInstruction* previous = nullptr);
    void generate() override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;
    int kind() override;

    tInstruction* item() const { return item_.get(); }
    tInstruction* previous() const { return previous_.get(); }

private:
    std::unique_ptr<tInstruction> item_;
    std::unique_ptr<tInstruction> previous_;
};

// The statement "lValue = expression". As a statement it can only mean an
// assignment, so the left side is held as the target of a plain tAssign.
class tEqualExpr : public tInstruction {
public:
    tEqualExpr(tInstruction* left, tInstruction* right);
    void generate() override;

private:
    std::unique_ptr<tAssign> target_;
    std::unique_ptr<tInstruction> right_;
};
