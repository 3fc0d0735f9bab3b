// Every built-in writes its entry point and leaves the arguments to its base
// (tFixedCall, tDbOper or tVariantCall), marked in argument order.
#include "../ast/builtins.h"

#include "emit.h"

#include <string_view>

namespace {

// The exit hook is the one entry point that takes a code block's function
// itself; everywhere else a block is a value.
constexpr bool takesBlockFunction(std::string_view entry) { return entry == "__RegisterExit"; }

// The entry point, then the base's argument part in argument order; a
// built-in counts as an effect for the call around it.
template <class Call>
void generateCall(Call& call, tInstruction* args, const char* entry)
{
    tProgram& p = codegen::program();
    codegen::tInOrder order(args ? args->itemCount() : 0);
    codegen::append(entry);
    call.writeArguments(&order);
    order.finish();
    ++p.effects;
}

void generateFixed(tFixedCall& call, const char* entry)
{
    tProgram& p = codegen::program();
    int saved = p.blockFunctions;
    p.blockFunctions = takesBlockFunction(entry);
    generateCall(call, call.arity() > 0 ? call.operand() : nullptr, entry);
    p.blockFunctions = saved;
}

}  // namespace

#define ZELTA_GENERATE_FIXED(cls, entry, arity, folder) \
    void cls::generate() { generateFixed(*this, entry); }
#define ZELTA_GENERATE_DB(cls, entry, arity, folder) \
    void cls::generate() { generateCall(*this, arguments(), entry); }
#define ZELTA_GENERATE_VARIANT(cls, entry, arity, folder) \
    void cls::generate() { generateCall(*this, operand(), entry); }

ZELTA_FIXED_BUILTINS(ZELTA_GENERATE_FIXED)
ZELTA_DB_BUILTINS(ZELTA_GENERATE_DB)
ZELTA_VARIANT_BUILTINS(ZELTA_GENERATE_VARIANT)
