// Foreign calls and exports. CALLDLL turns the user function it stands in
// into a wrapper around one C function of a shared library; EXPFUNCT
// publishes the user function it stands in as a C function of the built
// library. Both read their arguments as plain texts (the captured argument
// list), not as generated expressions.
#pragma once

#include "calls.h"

// CALLDLL(library, function, return type, type, variable, ..., convention)
class tDllCall : public tVariantCall {
public:
    explicit tDllCall(tInstruction* args) : tVariantCall(args) {}
    void generate() override;
};

// EXPFUNCT(name, return type, type, parameter, ..., size)
class tExpFunct : public tVariantCall {
public:
    explicit tExpFunct(tInstruction* args) : tVariantCall(args) {}
    void generate() override;
};
