// Construction of the expression nodes and their structural slots.
#include "operators.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

char* copyText(const char* text)
{
    if (!text)
        text = "";
    std::size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

}  // namespace

tMultiParam::tMultiParam(tInstruction* left, tInstruction* right) : left_(left), right_(right) {}
tMultiParam::~tMultiParam()
{
    delete left_;
    delete right_;
}

void tMultiParam::collectBlockVars(int flag)
{
    for (tInstruction* operand : {left_, right_})
        if (operand && operand->inner())
            operand->inner()->collectBlockVars(flag);
}

tInstruction* tMultiParam::inner() { return this; }

tOr::tOr(tInstruction* left, tInstruction* right) : tMultiParam(left, right) {}
tAnd::tAnd(tInstruction* left, tInstruction* right) : tMultiParam(left, right) {}

tRelation::tRelation(tInstruction* left, tInstruction* op, tInstruction* right) : tMultiParam(left, right), op_(op) {}
tRelation::~tRelation() { delete op_; }

tOperation::tOperation(tInstruction* left, tInstruction* op, tInstruction* right) : tMultiParam(left, right), op_(op) {}
tOperation::~tOperation() { delete op_; }

tSingleParam::tSingleParam(tInstruction* operand) : operand_(operand) {}
tSingleParam::~tSingleParam() { delete operand_; }

tUnaryNot::tUnaryNot(tInstruction* operand) : tSingleParam(operand) {}
int tUnaryNot::kind() { return kindNot; }
tInstruction* tUnaryNot::inner() { return innermost(operand_); }

tUnaryOperation::tUnaryOperation(tInstruction* op, tInstruction* operand) : op_(op), operand_(operand) {}
tUnaryOperation::~tUnaryOperation()
{
    delete op_;
    delete operand_;
}

tIncDec::tIncDec(tInstruction* operand, const char* function) : operand_(operand), function_(function) {}
tIncDec::~tIncDec() { delete operand_; }

tPreIncrement::tPreIncrement(tInstruction* operand) : tIncDec(operand, "__PREINCREMENT(") {}
tPostIncrement::tPostIncrement(tInstruction* operand) : tIncDec(operand, "__POSTINCREMENT(") {}
tPreDecrement::tPreDecrement(tInstruction* operand) : tIncDec(operand, "__PREDECREMENT(") {}
tPostDecrement::tPostDecrement(tInstruction* operand) : tIncDec(operand, "__POSTDECREMENT(") {}

tIif::tIif(tInstruction* condition, tInstruction* ifTrue, tInstruction* ifFalse)
    : condition_(condition), ifTrue_(ifTrue), ifFalse_(ifFalse)
{
}

tIif::~tIif()
{
    delete condition_;
    delete ifTrue_;
    delete ifFalse_;
}

tConst::tConst(int kind, const char* text) { set(kind, text); }

tConst::tConst(int kind, const char* first, const char* second)
{
    std::string joined = std::string(first ? first : "") + (second ? second : "");
    set(kind, joined.c_str());
}

tConst::~tConst() { delete[] text_; }

void tConst::set(int kind, const char* text)
{
    kind_ = kind;
    if (!text)
        text = "";
    if (kind == kNumber) {
        number_ = std::atof(text);
        // Kept for the error message: no double holds it.
        if (!std::isfinite(number_))
            text_ = copyText(text);
    } else if (kind == kLogical) {
        // The lexeme is written ".T." or ".f.": the letter after the dot decides.
        const char* letter = *text == '.' ? text + 1 : text;
        logical_ = (*letter == 'T' || *letter == 't') ? 1 : 0;
    } else {
        text_ = copyText(text);
    }
}

int tConst::kind() { return kindConstant; }

tByRef::tByRef(tInstruction* operand) : operand_(operand) {}
tByRef::~tByRef() { delete operand_; }

tArrayElement::tArrayElement(tInstruction* array, tInstruction* index) : array_(array), index_(index) {}
tArrayElement::~tArrayElement()
{
    delete array_;
    delete index_;
}

void tArrayElement::collectBlockVars(int flag)
{
    if (array_)
        array_->collectBlockVars(flag);
    if (index_)
        index_->collectBlockVars(flag);
}

const char* tArrayElement::getName() { return array_ ? array_->getName() : nullptr; }
int tArrayElement::kind() { return kindArrayElement; }

tDeclArray::tDeclArray(tInstruction* elements) : elements_(elements) {}
tDeclArray::~tDeclArray() { delete elements_; }

tCodeBlock::tCodeBlock(tInstruction* expression) : expression_(expression) {}
tCodeBlock::~tCodeBlock() { delete expression_; }

tValidParam::tValidParam(tInstruction* list, const char* kindLetter) : list_(list), kindLetter_(copyText(kindLetter)) {}

tValidParam::tValidParam(tInstruction* list, tInstruction* params)
    : list_(list), kindLetter_(copyText("")), params_(params)
{
}

tValidParam::~tValidParam()
{
    delete list_;
    delete[] kindLetter_;
    delete params_;
}

int tValidParam::argCount(int countEmpty) { return list_ ? list_->argCount(countEmpty) : 0; }

tSetVldParam::tSetVldParam(tInstruction* args) : args_(args) {}
tSetVldParam::~tSetVldParam() { delete args_; }
