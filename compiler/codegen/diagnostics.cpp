// Message texts of the code generator.
#include "diagnostics.h"

namespace {

// ORDER tCodegenMessage
const char* const kTexts[] = {
    "WARNING: Variable %s automatic declared as Public.\n",
    "Error: %s cannot be compiled: a part of it is not supported.\n",
    "Error: statement outside a FUNCTION or PROCEDURE.\n",
    "Error: code-block parameters outside a code block.\n",
    "Error: %s: the target is not a variable, array element or field.\n",
    "Error: the number %s is too large: numbers go up to about 1.8E308.\n",
    "Error: the code block reads %s, a %s of %s; a code block is a function of its own and cannot see the "
    "variables of the function around it: make it a parameter of the block, a STATIC or a PUBLIC.\n",
    "Error: %s is read but nothing declares it: declare it LOCAL, STATIC or PUBLIC, or assign it first.\n",
    "Error: %s takes %s parameter(s) and is called with %s arguments.\n",
    "Error: the program has no main function: %s has no statements before its first FUNCTION or PROCEDURE "
    "and no FUNCTION MAIN or FUNCTION named after it.\n",
};

static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<int>(tCodegenMessage::count),
              "kTexts and tCodegenMessage are out of step");

}  // namespace

const char* codegenMessageText(tCodegenMessage id) { return kTexts[static_cast<int>(id)]; }
