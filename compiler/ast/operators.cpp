// Construction of the expression nodes and their structural slots.
#include "operators.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::unique_ptr<char[]> copyText(const char* text)
{
    if (!text)
        text = "";
    std::size_t length = std::strlen(text);
    std::unique_ptr<char[]> copy(new char[length + 1]);
    std::memcpy(copy.get(), text, length + 1);
    return copy;
}

// The value of a plain decimal ("120", "1.25", ".5") of at most 15 digits.
// The digits form a whole number that a double holds exactly, and dividing
// it by an exact power of ten rounds once, as strtod does, at a fraction of
// its cost. False for every other spelling, which strtod reads.
bool plainDecimal(const char* text, double& value)
{
    static const double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    long long units = 0;
    int digits = 0, decimals = -1;
    for (const char* p = text; *p; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (++digits > 15)
                return false;
            units = units * 10 + (*p - '0');
            if (decimals >= 0)
                ++decimals;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (digits == 0)
        return false;
    value = decimals > 0 ? static_cast<double>(units) / kTens[decimals] : static_cast<double>(units);
    return true;
}

}  // namespace

tMultiParam::tMultiParam(tInstruction* left, tInstruction* right) : left_(left), right_(right) {}

void tMultiParam::collectBlockVars(int flag)
{
    for (tInstruction* operand : {left_.get(), right_.get()})
        if (operand && operand->inner())
            operand->inner()->collectBlockVars(flag);
}

tInstruction* tMultiParam::inner() { return this; }

tOr::tOr(tInstruction* left, tInstruction* right) : tMultiParam(left, right) {}

tAnd::tAnd(tInstruction* left, tInstruction* right) : tMultiParam(left, right) {}

tMarkedOperation::tMarkedOperation(tInstruction* left, tInstruction* op, tInstruction* right, const char* construct)
    : tMultiParam(left, right), op_(op), construct_(construct)
{
}

tSingleParam::tSingleParam(tInstruction* operand) : operand_(operand) {}

tUnaryNot::tUnaryNot(tInstruction* operand) : tSingleParam(operand) {}

int tUnaryNot::kind() { return kindNot; }
tInstruction* tUnaryNot::inner() { return innermost(operand_.get()); }

tUnaryOperation::tUnaryOperation(tInstruction* op, tInstruction* operand) : op_(op), operand_(operand) {}

tIncDec::tIncDec(tInstruction* operand, const char* function) : operand_(operand), function_(function) {}

tPreIncrement::tPreIncrement(tInstruction* operand) : tIncDec(operand, "__PREINCREMENT(") {}

tPostIncrement::tPostIncrement(tInstruction* operand) : tIncDec(operand, "__POSTINCREMENT(") {}

tPreDecrement::tPreDecrement(tInstruction* operand) : tIncDec(operand, "__PREDECREMENT(") {}

tPostDecrement::tPostDecrement(tInstruction* operand) : tIncDec(operand, "__POSTDECREMENT(") {}

tIif::tIif(tInstruction* condition, tInstruction* ifTrue, tInstruction* ifFalse)
    : condition_(condition), ifTrue_(ifTrue), ifFalse_(ifFalse)
{
}

tConst::tConst(int kind, const char* text) { set(kind, text); }

tConst::tConst(int kind, const char* first, const char* second)
{
    std::string joined = std::string(first ? first : "") + (second ? second : "");
    set(kind, joined.c_str());
}

void tConst::set(int kind, const char* text)
{
    kind_ = kind;
    if (!text)
        text = "";
    if (kind == kNumber) {
        if (!plainDecimal(text, number_))
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

tArrayElement::tArrayElement(tInstruction* array, tInstruction* index) : array_(array), index_(index) {}

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

tCodeBlock::tCodeBlock(tInstruction* expression) : expression_(expression) {}

tValidParam::tValidParam(tInstruction* list, const char* kindLetter) : list_(list), kindLetter_(copyText(kindLetter)) {}

tValidParam::tValidParam(tInstruction* list, tInstruction* params)
    : list_(list), kindLetter_(copyText("")), params_(params)
{
}

int tValidParam::argCount(int countEmpty) { return list_ ? list_->argCount(countEmpty) : 0; }

tSetVldParam::tSetVldParam(tInstruction* args) : args_(args) {}
