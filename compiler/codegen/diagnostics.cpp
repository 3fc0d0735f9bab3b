// Message texts of the code generator.
#include "diagnostics.h"

namespace {

// ORDER tCodegenMessage
const char* const kTexts[] = {
    "WARNING: Variable %s automatic declared as Public.\n",
    "Error: %s cannot be compiled: a part of it is not supported.\n",
    "Error: statement outside a FUNCTION or PROCEDURE.\n",
    "Error: a code block with parameters ({|x| ...}) only validates dialog fields (SetVldParam); a block used "
    "as a value takes none.\n",
    "Error: %s: the target is not a variable, array element or field.\n",
    "Error: the number %s is too large: numbers go up to about 1.8E308.\n",
    "Error: the code block reads %s, a %s of %s; a code block is a function of its own and cannot see the "
    "variables of the function around it: make it a parameter of the block, a STATIC or a PUBLIC.\n",
    "Error: %s is read but nothing declares it: declare it LOCAL, STATIC or PUBLIC, or assign it first.\n",
    "Error: %s takes %s parameter(s) and is called with %s arguments.\n",
    "Error: %s writes at most %s values (? and ?? become QOut and QQOut); this call has %s: split it.\n",
    "Error: %s takes %s arguments and is called with %s.\n",
    "Error: %s is called, but no source of the program defines it and the run-time has no such function.\n",
    "Error: the program has no main function: its first source, %s, must hold FUNCTION Main, a FUNCTION "
    "named after the source, or statements before its first FUNCTION or PROCEDURE.\n",
    "Error: %s.\n",
};

static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<int>(tCodegenMessage::count),
              "kTexts and tCodegenMessage are out of step");

}  // namespace

const char* codegenMessageText(tCodegenMessage id) { return kTexts[static_cast<int>(id)]; }
