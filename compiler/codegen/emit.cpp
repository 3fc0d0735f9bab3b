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

}  // namespace codegen
