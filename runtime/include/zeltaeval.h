// The arithmetic expression evaluator behind __Eval.
#ifndef ZELTAEVAL_H
#define ZELTAEVAL_H

#include "zeltaobjs.h"

// `variables` is an array of {name, value} pairs. Result -1 after an
// evaluation error, 0 when the text could not be parsed.
ZELTA_EXPORT pObj_Node __Eval(pObj_Node expression, pObj_Node variables);
// Returns 0 on success, the error number otherwise, or -100 (result left
// untouched) when the text does not form a well-formed expression.
ZELTA_EXPORT int __evalexpression(const char* text, const double* values, const char* const* names, int count,
                                  double* result);

#endif
