// The text of expressions: operators, constants, increments, IIF, array
// elements and literals, @ by reference, code blocks and their parameters.
#include "../ast/operators.h"

#include "emit.h"

#include <cmath>
#include <cstring>
#include <string>

using codegen::append;
using codegen::gen;
using codegen::program;
using codegen::require;

void tOr::generate()
{
    if (!require(this, ".OR.", left_, right_))
        return;
    append("__INIT_BOOL(__GET_BOOL(");
    left_->generate();
    append(") || __GET_BOOL(");
    right_->generate();
    append("))");
}

void tAnd::generate()
{
    if (!require(this, ".AND.", left_, right_))
        return;
    append("__INIT_BOOL(__GET_BOOL(");
    left_->generate();
    append(") && __GET_BOOL(");
    right_->generate();
    append("))");
}

namespace {

// The shape shared by relations and arithmetic: the marker opens the call;
// the left operand is evaluated first.
void writeBinary(tInstruction* op, tInstruction* left, tInstruction* right)
{
    codegen::tInOrder order(2);
    op->generate();
    order.beginItem();
    left->generate();
    order.endItem();
    append(",");
    order.beginItem();
    right->generate();
    order.endItem();
    append(")");
    order.finish();
}

}  // namespace

void tMarkedOperation::generate()
{
    if (require(this, construct_, left_, op_, right_))
        writeBinary(op_.get(), left_.get(), right_.get());
}

void tExactEqual::generate() { append("__EEQ("); }
void tEqual::generate() { append("__EQ("); }
void tDiff::generate() { append("__DIFF("); }
void tGt::generate() { append("__GT("); }
void tGte::generate() { append("__GTE("); }
void tLs::generate() { append("__LS("); }
void tLse::generate() { append("__LSE("); }
void tInStr::generate() { append("__IN("); }
void tSum::generate() { append("__SUM("); }
void tSub::generate() { append("__SUB("); }
void tMult::generate() { append("__MUL("); }
void tDiv::generate() { append("__DIV("); }
void tMod::generate() { append("__FMOD("); }
void tPow::generate() { append("__POW("); }
// Unary minus and NOT both call __INV; the run-time decides by the type.
void tUnaryMinus::generate() { append("__INV"); }
void tUnaryPlus::generate() {}

void tUnaryNot::generate()
{
    if (!require(this, ".NOT.", operand_))
        return;
    append("__INV(");
    operand_->generate();
    append(")");
}

void tUnaryOperation::generate()
{
    if (!require(this, "unary operation", op_, operand_))
        return;
    op_->generate();
    append("(");
    operand_->generate();
    append(")");
}

void tIncDec::generate()
{
    if (!require(this, "increment", operand_))
        return;
    append(function_);
    operand_->generate();
    append(")");
    ++program().effects;
}

void tIif::generate()
{
    if (!require(this, "IIF", condition_, ifTrue_, ifFalse_))
        return;
    append("( __GET_BOOL(");
    condition_->generate();
    append(") ? ");
    ifTrue_->generate();
    append(" : ");
    ifFalse_->generate();
    append(" )");
}

void tNil::generate() { append("__INIT_NIL()"); }

void tConst::generate()
{
    tProgram& p = program();
    if (p.capturing) {
        // Foreign-call statements read their arguments as plain texts.
        char number[32];
        if (kind_ == kString)
            p.capturedArgs.add(new String(text_.get()));
        else if (kind_ == kNumber && !(number_ > -2147483649.0 && number_ < 2147483648.0)) {
            p.report(tCodegenMessage::foreign, sourceLine(),
                     "a number in a foreign call or export must be a whole number of at most 10 digits");
            p.capturedArgs.add(new String("0"));  // keeps the statement's shape for its own checks
        } else {
            std::snprintf(number, sizeof number, "%d", kind_ == kLogical ? logical_ : static_cast<int>(number_));
            p.capturedArgs.add(new String(number));
        }
        return;
    }
    if (kind_ == kNumber && !std::isfinite(number_)) {
        std::string literal(text_ ? text_.get() : "");
        if (literal.size() > 24)
            literal = literal.substr(0, 20) + "...";
        p.report(tCodegenMessage::numberRange, sourceLine(), literal.c_str());
        return;
    }
    int reference = kind_ == kNumber    ? p.constNumber(number_)
                    : kind_ == kLogical ? p.constLogical(logical_)
                                        : p.constString(text_.get());
    codegen::appendConst(reference);
}

void tConst::collectBlockVars(int flag)
{
    if (flag == 0)
        generate();
}

void tByRef::generate()
{
    if (!require(this, "@ reference", operand_))
        return;
    append("__ByRef(&");
    operand_->generate();
    append(")");
}

void tArrayElement::generate()
{
    if (!require(this, "array element", array_, index_))
        return;
    append("__ARRAY_EL(");
    array_->generate();
    append(",");
    index_->generate();
    append(",__INIT_NUL())");
}

void tDeclArray::generate()
{
    append("__CreateArray(");
    if (elements_) {
        elements_->generate();
        append(",");
    }
    append("__INIT_NUL())");
}

void tCodeBlock::generate()
{
    if (!require(this, "code block", expression_))
        return;
    tProgram& p = program();
    tValidFunction* block = p.openValidFunction(expression_.get());
    p.appendf(p.blockFunctions ? "vld_%03i" : "__BLOCK(vld_%03i)", block->number + p.options.validBase);
}

void tValidParam::generate()
{
    tInstruction* node = list_ ? list_->inner() : nullptr;
    if (!node) {
        append("__INIT_NUL()");
        return;
    }
    tProgram& p = program();
    if (!p.currentValid) {
        p.report(tCodegenMessage::noCodeBlock, sourceLine());
        return;
    }
    p.currentValid->paramNode = node;
    ++p.treeReferences;
    p.currentValid->blockKind = kindLetter_[0] == 'X' ? 1 : 2;
    node->collectBlockVars(1);
    for (int i = 0; i < p.blockVars.count(); ++i) {
        if (i)
            append(",");
        append(p.blockVars[i]->text());
        // The function creates these on entry, so they must be its variables.
        p.noteRead(p.blockVars[i]->text(), sourceLine());
    }
    freeStrings(p.blockVars);
}

namespace {

// Whether the text, with trailing blanks ignored, ends with a comma.
bool endsWithComma(const char* text)
{
    if (!text)
        return false;
    std::size_t length = std::strlen(text);
    while (length && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        --length;
    return length && text[length - 1] == ',';
}

}  // namespace

void tSetVldParam::generate()
{
    if (!args_ || args_->argCount(0) <= 1)
        return;
    tProgram& p = program();
    append("__SetValidFuncParam(");
    args_->generate();
    if (!endsWithComma(p.currentFunction ? p.currentFunction->lastFragment() : nullptr))
        append(",");
    append("__INIT_NUL())");
}
