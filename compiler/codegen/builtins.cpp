// Every built-in writes its entry point and leaves the arguments to its base
// (tFixedCall, tDbOper or tVariantCall).
#include "../ast/builtins.h"

#include "emit.h"

#define ZELTA_GENERATE_FIXED(cls, entry, arity) \
    void cls::generate()                        \
    {                                           \
        codegen::append(entry);                 \
        tFixedCall::generate();                 \
    }
#define ZELTA_GENERATE_DB(cls, entry, arity) \
    void cls::generate()                     \
    {                                        \
        codegen::append(entry);              \
        tDbOper::generate();                 \
    }
#define ZELTA_GENERATE_VARIANT(cls, entry, arity) \
    void cls::generate()                          \
    {                                             \
        codegen::append(entry);                   \
        tVariantCall::generate();                 \
    }

ZELTA_FIXED_BUILTINS(ZELTA_GENERATE_FIXED)
ZELTA_DB_BUILTINS(ZELTA_GENERATE_DB)
ZELTA_VARIANT_BUILTINS(ZELTA_GENERATE_VARIANT)
