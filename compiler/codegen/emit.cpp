// Shared pieces of node text.
#include "emit.h"

namespace codegen {

bool require(const tInstruction* node, const char* construct, std::initializer_list<const tInstruction*> children)
{
    for (const tInstruction* child : children) {
        if (!child) {
            program().report(tCodegenMessage::incomplete, node->sourceLine(), construct);
            return false;
        }
    }
    return true;
}

void appendConst(int reference) { program().appendNumbered("__const_get_el(", reference, ")"); }

namespace {

int bodySize(const tFunctionDefinition* function) { return function ? function->body.count() : 0; }

}  // namespace

tInOrder::tInOrder(int items)
    : program_(program()),
      function_(program_.currentFunction),
      start_(bodySize(function_)),
      base_(program_.argSlotBase),
      reserved_(items > 0 ? items : 0)
{
    program_.argSlotBase += reserved_;
    items_.reserve(static_cast<std::size_t>(reserved_));
}

tInOrder::~tInOrder() { program_.argSlotBase = base_; }

void tInOrder::beginItem()
{
    effectsBefore_ = program_.effects;
    items_.push_back({bodySize(function_), 0, false});
}

void tInOrder::endItem()
{
    items_.back().to = bodySize(function_);
    items_.back().effects = program_.effects != effectsBefore_;
}

void tInOrder::finish()
{
    // Captured texts (foreign calls) and a function switch mid-call leave
    // nothing to rewrite.
    if (!function_ || function_ != program_.currentFunction || program_.capturing)
        return;
    int last = -1, withEffects = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].effects) {
            last = static_cast<int>(i);
            ++withEffects;
        }
    }
    if (withEffects < 2)
        return;
    tFragments& body = function_->body;
    std::string stores = "(", call;
    int at = start_, slot = base_;
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const tItem& item = items_[static_cast<std::size_t>(i)];
        call += body.join(at, item.from);
        std::string text = body.join(item.from, item.to);
        if (item.effects && i != last) {
            std::string name = "_args_[" + std::to_string(slot++) + "]";
            stores += name + "=" + text + ",";
            call += name;
        } else {
            call += text;
        }
        at = item.to;
    }
    call += body.join(at, body.count());
    body.truncate(start_);
    program_.append((stores + call + ")").c_str());
    if (slot > function_->argSlots)
        function_->argSlots = slot;
}

}  // namespace codegen
