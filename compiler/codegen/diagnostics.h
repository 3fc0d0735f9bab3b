// The code generator's messages, one table indexed by tCodegenMessage.
// Errors name the source and line of the construct that cannot be compiled.
#pragma once

// clang-format off
enum class tCodegenMessage {
    autoPublic,       // name
    incomplete,       // source, line, construct
    outsideFunction,  // source, line
    noCodeBlock,      // source, line
    badTarget,        // source, line, construct
    foreign,          // source, line, what is wrong with a foreign call or export
    count  // ORDER tCodegenMessage: keep last, and kTexts in diagnostics.cpp in step
};
// clang-format on

const char* codegenMessageText(tCodegenMessage id);
