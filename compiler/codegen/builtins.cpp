// Every built-in writes its entry point and leaves the arguments to its base
// (tFixedCall, tDbOper or tVariantCall).
#include "../ast/builtins.h"

#include "emit.h"

#include <string_view>

namespace {

// The exit hook is the one entry point that takes a code block's function
// itself; everywhere else a block is a value.
constexpr bool takesBlockFunction(std::string_view entry) { return entry == "__RegisterExit"; }

void generateFixed(tFixedCall& call, const char* entry, bool blockFunctions)
{
    tProgram& p = codegen::program();
    codegen::append(entry);
    int saved = p.blockFunctions;
    p.blockFunctions = blockFunctions;
    call.tFixedCall::generate();
    p.blockFunctions = saved;
}

}  // namespace

#define ZELTA_GENERATE_FIXED(cls, entry, arity, folder) \
    void cls::generate() { generateFixed(*this, entry, takesBlockFunction(entry)); }
#define ZELTA_GENERATE_DB(cls, entry, arity, folder) \
    void cls::generate()                             \
    {                                                \
        codegen::append(entry);                      \
        tDbOper::generate();                         \
    }
#define ZELTA_GENERATE_VARIANT(cls, entry, arity, folder) \
    void cls::generate()                                  \
    {                                                     \
        codegen::append(entry);                           \
        tVariantCall::generate();                         \
    }

ZELTA_FIXED_BUILTINS(ZELTA_GENERATE_FIXED)
ZELTA_DB_BUILTINS(ZELTA_GENERATE_DB)
ZELTA_VARIANT_BUILTINS(ZELTA_GENERATE_VARIANT)
