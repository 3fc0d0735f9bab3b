// Message texts of the code generator.
#include "diagnostics.h"

namespace {

// ORDER tCodegenMessage
const char* const kTexts[] = {
    "WARNING: Variable %s automatic declared as Public.\n",
    "%s(%i): Error: %s cannot be compiled: a part of it is not supported.\n",
    "%s(%i): Error: statement outside a FUNCTION or PROCEDURE.\n",
    "%s(%i): Error: code-block parameters outside a code block.\n",
    "%s(%i): Error: %s: the target is not a variable, array element or field.\n",
    "%s(%i): Error: %s.\n",
};

static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<int>(tCodegenMessage::count),
              "kTexts and tCodegenMessage are out of step");

}  // namespace

const char* codegenMessageText(tCodegenMessage id) { return kTexts[static_cast<int>(id)]; }
