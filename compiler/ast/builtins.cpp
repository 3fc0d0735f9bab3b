// The catalogue as data, for whoever needs to list it (the export check).
#include "builtins.h"

#define ZELTA_ENTRY_FIXED(cls, entry, arity, folder) {#cls, entry, arity, tCallShape::fixed, #folder},
#define ZELTA_ENTRY_DB(cls, entry, arity, folder) {#cls, entry, arity, tCallShape::workArea, #folder},
#define ZELTA_ENTRY_VARIANT(cls, entry, arity, folder) {#cls, entry, arity, tCallShape::variant, #folder},

const tBuiltinEntry kBuiltins[] = {ZELTA_FIXED_BUILTINS(ZELTA_ENTRY_FIXED) ZELTA_DB_BUILTINS(ZELTA_ENTRY_DB)
                                       ZELTA_VARIANT_BUILTINS(ZELTA_ENTRY_VARIANT)};

const int kBuiltinCount = static_cast<int>(sizeof kBuiltins / sizeof kBuiltins[0]);
