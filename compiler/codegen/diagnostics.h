// The code generator's messages, one table indexed by tCodegenMessage.
// Errors name the source and line of the construct that cannot be compiled
// (tProgram::report writes that place before the text); each text takes up
// to three "%s" pieces, in the order its comment gives them.
#pragma once

// clang-format off
enum class tCodegenMessage {
    autoPublic,       // name (a warning, printed without a place)
    incomplete,       // construct
    outsideFunction,  //
    noCodeBlock,      //
    badTarget,        // construct
    numberRange,      // literal
    blockReadsLocal,  // name, "LOCAL" or "parameter", function
    undeclared,       // name
    tooManyArguments, // function, parameter count, argument count
    tooManyValues,    // function, most values, value count
    tooFewArguments,  // function, fewest arguments, argument count
    undefinedFunction,// function
    noMainFunction,   // source
    foreign,          // what is wrong with a foreign call or export
    count  // ORDER tCodegenMessage: keep last, and kTexts in diagnostics.cpp in step
};
// clang-format on

const char* codegenMessageText(tCodegenMessage id);
