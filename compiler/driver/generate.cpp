// Where the driver hands a source to the front end and code generator. These
// two functions are the whole contract: they copy what the engines need out
// of the build settings and report back in the driver's terms.
#include "phases.h"

#include "messages.h"

tStepResult generateSource(const tSourceJob&, const tBuildSettings&, std::string& error)
{
    error = message(tMessage::notBuiltYet, "Parse and generate");
    return tStepResult::failed;
}

tStepResult writeProgramFiles(const tBuildSettings&, tBuildOutputs&, std::string& error)
{
    error = message(tMessage::notBuiltYet, "Program-wide writers");
    return tStepResult::failed;
}
