// SSException and the message table of the engines.
#include "ss_exception.h"

#include <memory>
#include <vector>

namespace {

struct Message {
    long code;
    const char* format;
};

const Message kMessages[] = {
    // ORDER SSError
    {1101, "SSLex0101e: Error opening file, %s, %ld"},
    {1102, "SSLex0102e: Invalid file length or read error, %s, %ld"},
    {1103, "SSLex0103e: Lexeme too long, %ld"},
    {1104, "SSLex0104e: Invalid table, %s"},
    {1105, "SSLex0105e: Invalid token, Line %ld, Offset %ld, %s"},
    {1107, "SSLex0107e: Table or consumer missing, required"},
    {1108, "SSLex0108e: Resource not found, %s"},
    {1110, "SSLex0110e: Invalid keyword index, %ld"},
    {1113, "SSLex0113e: Increment too small, must be at least 512"},
    {1114, "SSLex0114e: Invalid DBCS byte, second byte missing"},
    {2101, "SSYacc0101e: Open file failed, %s"},
    {2102, "SSYacc0102e: Parse failed, invalid table"},
    {2103, "SSYacc0103e: Attempted read past eof"},
    {2105, "SSYacc0105e: Error token failed, no valid token"},
    {2106, "SSYacc0106e: Error token failed, eof"},
    {2107, "SSYacc0107e: Invalid goto on %ld"},
    {2108, "SSYacc0108e: Invalid index on elementFromProduction, %ld"},
    {2109, "SSYacc0109e: setTable missing, required"},
    {2110, "SSYacc0110e: setLex missing, required"},
    {2111, "SSYacc0111e: Error reading table, %s"},
    {2112, "SSYacc0112e: Table too big"},
    {2113, "SSYacc0113e: Permanent error"},
    {2114, "SSYacc0114e: Invalid state specified, %ld"},
    {2115, "SSYacc0115e: Resource not found, %s"},
    {2116, "SSYacc0116e: No Subtree, or subtree index too large"},
    {3001, "SSYaccEv0001e: Invalid return from lex, %ld"},
    {3002, "SSYaccEv0002e: Already accepted"},
    {3003, "SSYaccEv0003e: Must override reduce function"},
    {4001, "SSLifo0001e: Stack full"},
    {4002, "SSLifo0002e: No top, stack empty"},
    {4003, "SSLifo0003e: Invalid index"},
    {4004, "SSLifo0004e: Cannot pop empty stack"},
    {5001, "SSRef0001e: Reference count less than zero"},
    {6001, "SSSetArray0001e: Set full"},
};
static_assert(sizeof kMessages / sizeof kMessages[0] == size_t(SSError::Count), "one message per SSError");

bool gThrowing = true;
std::unique_ptr<SSException> gLastError;

// Fills the format's %s and %ld markers with args, in order.
[[noreturn]] void raise(SSError error, const std::vector<std::string>& args)
{
    std::string text;
    size_t next = 0;
    for (const char* p = ssMessageFormat(error); *p; ++p) {
        if (p[0] == '%' && (p[1] == 's' || (p[1] == 'l' && p[2] == 'd'))) {
            if (next < args.size())
                text += args[next++];
            p += p[1] == 's' ? 1 : 2;
        } else {
            text += *p;
        }
    }
    throw SSException(error, text);
}

}  // namespace

SSException::SSException(SSError error, std::string message) : error_(error), message_(std::move(message)) {}

long SSException::code() const { return kMessages[size_t(error_)].code; }

void SSException::setPlace(long line, std::string tokenText)
{
    line_ = line;
    tokenText_ = std::move(tokenText);
}

void SSException::setThrowing(bool throwing) { gThrowing = throwing; }
bool SSException::throwing() { return gThrowing; }
const SSException* SSException::lastError() { return gLastError.get(); }
void SSException::record(const SSException& e) { gLastError = std::make_unique<SSException>(e); }
void SSException::clearLastError() { gLastError.reset(); }

const char* ssMessageFormat(SSError error) { return kMessages[size_t(error)].format; }

void ssRaise(SSError error) { raise(error, {}); }
void ssRaise(SSError error, long n) { raise(error, {std::to_string(n)}); }
void ssRaise(SSError error, const std::string& s) { raise(error, {s}); }
void ssRaise(SSError error, const std::string& s, long n) { raise(error, {s, std::to_string(n)}); }
void ssRaise(SSError error, long a, long b, const std::string& s)
{
    raise(error, {std::to_string(a), std::to_string(b), s});
}
