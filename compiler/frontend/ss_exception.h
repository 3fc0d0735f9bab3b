// SSException: the one exception of the scanner and parser engines. Every
// engine failure has an entry in SSError and a message in the table of
// ss_exception.cpp (ORDER SSError); code names the entry, never the text.
// A syntax error also carries the place where it happened (the look-ahead's
// .ppo line and text) so the driver can name it.
#pragma once

#include <exception>
#include <string>

// clang-format off
enum class SSError {  // ORDER SSError
    Lex0101, Lex0102, Lex0103, Lex0104, Lex0105, Lex0107, Lex0108, Lex0110, Lex0113, Lex0114,
    Yacc0101, Yacc0102, Yacc0103, Yacc0105, Yacc0106, Yacc0107, Yacc0108, Yacc0109, Yacc0110,
    Yacc0111, Yacc0112, Yacc0113, Yacc0114, Yacc0115, Yacc0116,
    YaccEv0001, YaccEv0002, YaccEv0003,
    Lifo0001, Lifo0002, Lifo0003, Lifo0004,
    Ref0001,
    SetArray0001,
    Count
};
// clang-format on

class SSException : public std::exception {
public:
    // code: family * 1000 + number (SSLex 1, SSYacc 2, SSYaccEv 3, SSLifo 4,
    // SSRef 5, SSSetArray 6), so SSYacc0105e is 2105.
    SSException(SSError error, std::string message);

    SSError error() const { return error_; }
    long code() const;
    const std::string& message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

    // Where the failure happened, when the engine knew (line 0: unknown).
    bool hasPlace() const { return line_ > 0; }
    long line() const { return line_; }
    const std::string& tokenText() const { return tokenText_; }
    void setPlace(long line, std::string tokenText);

    // The global switch: when off, the engines' entry points (SSYacc::parse,
    // SSLex::next) record the failure here instead of throwing, and report it
    // by their return value. Constructors always throw.
    static void setThrowing(bool throwing);
    static bool throwing();
    static const SSException* lastError();
    static void record(const SSException& e);
    static void clearLastError();

private:
    SSError error_;
    std::string message_;
    long line_ = 0;
    std::string tokenText_;
};

// Builds the message of `error` from its format, filling %s and %ld in order
// with args, and throws it.
[[noreturn]] void ssRaise(SSError error);
[[noreturn]] void ssRaise(SSError error, long n);
[[noreturn]] void ssRaise(SSError error, const std::string& s);
[[noreturn]] void ssRaise(SSError error, const std::string& s, long n);
[[noreturn]] void ssRaise(SSError error, long a, long b, const std::string& s);

// The message format of an entry, e.g. "SSYacc0105e: Error token failed, no valid token".
const char* ssMessageFormat(SSError error);
