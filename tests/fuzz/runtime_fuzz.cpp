// libFuzzer target: the run-time's expression calculator (__Eval) and the
// picture functions (__Transform, Str, StrZero, the templates) over any
// texts and numbers. A run-time error is an answer, not a fault: the fatal
// trap turns it into an exception.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core.h"
#include "picture.h"
#include "zeltaarray.h"
#include "zeltaeval.h"
#include "zeltaobjs.h"
#include "zeltastring.h"

namespace {

struct tRaised {};

void raise(int, int, const std::string&) { throw tRaised{}; }

// The input as pieces: a selector byte, a number, then texts split at NUL.
struct tPieces {
    unsigned selector = 0;
    double number = 0;
    std::vector<std::string> texts;
};

tPieces split(const uint8_t* data, size_t size)
{
    tPieces p;
    if (size > 0) {
        p.selector = data[0];
        ++data;
        --size;
    }
    if (size >= sizeof(double)) {
        std::memcpy(&p.number, data, sizeof(double));
        data += sizeof(double);
        size -= sizeof(double);
    }
    std::string all(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    while (p.texts.size() < 3) {
        std::size_t zero = all.find('\0', at);
        p.texts.push_back(all.substr(at, zero == std::string::npos ? std::string::npos : zero - at));
        if (zero == std::string::npos)
            break;
        at = zero + 1;
    }
    while (p.texts.size() < 3)
        p.texts.emplace_back();
    return p;
}

void calculator(const tPieces& p)
{
    const char* names[] = {"X", "Y"};
    const double values[] = {p.number, 2};
    double result = 0;
    __evalexpression(p.texts[0].c_str(), values, names, 2, &result);
    // And through the language's entry, with an array of name/value pairs.
    pObj_Node pair = __CreateArray(__INIT_CHARPTR("X"), __INIT_DOUBLE(p.number), __INIT_NUL());
    __Eval(__INIT_CHARPTR(p.texts[1].c_str()), __CreateArray(pair, __INIT_NUL()));
}

void pictures(const tPieces& p)
{
    const double n = p.number;
    pObj_Node values[] = {__INIT_DOUBLE(n), __INIT_CHARPTR(p.texts[1].c_str()), __INIT_DATE(n), __INIT_BOOL(1),
                          __INIT_NIL()};
    for (pObj_Node v : values)
        __Transform(v, __INIT_CHARPTR(p.texts[0].c_str()));
    lib::applyNumberTemplate(p.texts[0], n, p.selector & 1 ? ',' : '.');
    lib::applyTextTemplate(p.texts[0], p.texts[1]);
    int width = static_cast<int>(p.selector % 40), decimals = static_cast<int>((p.selector >> 3) % 30);
    __Str(__INIT_DOUBLE(n), __INIT_DOUBLE(width), __INIT_DOUBLE(decimals));
    __StrZero(__INIT_DOUBLE(n), __INIT_DOUBLE(width), __INIT_DOUBLE(decimals));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool trapped = (core::setFatalTrap(raise), true);
    (void)trapped;
    tPieces pieces = split(data, size);
    if (!__BeginGlobal())
        return 0;
    try {
        __begin_context();
        if (pieces.selector & 0x80)
            calculator(pieces);
        else
            pictures(pieces);
        __end_context(nullptr);
    } catch (const tRaised&) {
    }
    __EndGlobal();
    return 0;
}
