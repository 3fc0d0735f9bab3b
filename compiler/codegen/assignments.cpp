// The text of assignments. One assignment of value v to target t is
//
//   variable:  T= __SET_OBJECT(T,v)
//   element:   _tmp_=T;_tmp_= __SET_OBJECT(T,v)
//   field:     __SetField(alias,T,v)      with T in its positional form
//
// and a compound assignment puts __SUM(T,v) (or __SUB, __DIV, __MUL) in
// place of v. A chain x := y := 0 nests: the last target takes the value,
// and each earlier one takes the assignment after it as its value.
#include "../ast/assignments.h"

#include <functional>

#include "../ast/calls.h"
#include "emit.h"

using codegen::append;
using codegen::program;
using codegen::require;

void tAssign::generate()
{
    if (!target_)
        return;
    if (target_->kind() != kindField)
        program().resolveTarget(target_->getName());
    target_->generate();
}

namespace {

using tValueWriter = std::function<void()>;

const char* compoundFunction(int kind)
{
    switch (kind) {
    case kindSumAssign: return "__SUM(";
    case kindSubAssign: return "__SUB(";
    case kindDivAssign: return "__DIV(";
    case kindMulAssign: return "__MUL(";
    default: return nullptr;
    }
}

bool assignable(tInstruction* target)
{
    int kind = target->kind();
    return kind == kindArrayElement || kind == kindField || target->getName();
}

// One assignment. Nested, the element form is one C expression, since it
// stands as another assignment's value.
void writeOne(tAssign* t, const tValueWriter& value, bool nested)
{
    tInstruction* target = t->target();
    int shape = target->kind();
    if (shape != kindField) {
        if (shape == kindArrayElement) {
            append(nested ? "(_tmp_=" : "_tmp_=");
            t->generate();
            append(nested ? ",_tmp_" : ";_tmp_");
        } else {
            t->generate();
        }
        append("= __SET_OBJECT(");
    } else {
        t->markTarget();
        append("__SetField(");
        t->emitNameConst();
        append(",");
    }
    t->generate();
    append(",");
    if (const char* function = compoundFunction(t->kind())) {
        append(function);
        // The field's current value, not its position, takes part in the sum.
        if (tField* field = shape == kindField ? dynamic_cast<tField*>(target) : nullptr)
            field->generateByName();
        else
            t->generate();
        append(",");
        value();
        append(")");
    } else {
        value();
    }
    append(")");
    if (nested && shape == kindArrayElement)
        append(")");
}

bool checkTarget(tInstruction* node, tAssign* t)
{
    if (!require(node, "assignment", {t->target()}))
        return false;
    if (assignable(t->target()))
        return true;
    program().report(tCodegenMessage::badTarget, node->sourceLine(), "assignment");
    return false;
}

void writeChain(tInstruction* node, tInstruction* chain, const tValueWriter& value, bool nested)
{
    if (tAssign* single = dynamic_cast<tAssign*>(chain)) {
        if (checkTarget(node, single))
            writeOne(single, value, nested);
        return;
    }
    tAsnList* list = dynamic_cast<tAsnList*>(chain);
    if (!list) {
        program().report(tCodegenMessage::badTarget, node->sourceLine(), "assignment");
        return;
    }
    if (!require(node, "assignment", {list->item()}))
        return;
    if (!list->previous()) {
        writeChain(node, list->item(), value, nested);
        return;
    }
    writeChain(
        node, list->previous(), [&] { writeChain(node, list->item(), value, true); }, nested);
}

}  // namespace

void tAssignExpression::generate()
{
    if (!require(this, "assignment", value_, target_))
        return;
    writeChain(
        this, target_.get(), [this] { value_->generate(); }, false);
    ++program().effects;
}

void tAsnList::generate()
{
    forward(previous_, &tInstruction::generate);
    forward(item_, &tInstruction::generate);
}

void tEqualExpr::generate()
{
    if (!require(this, "assignment", target_, right_))
        return;
    program().lineMarker(sourceLine());
    writeChain(
        this, target_.get(), [this] { right_->generate(); }, false);
    append(";\n");
}
