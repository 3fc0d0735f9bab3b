// Shared set-up of the library tests: a fresh application per test with the
// fatal-error exit turned into an exception, a check that nothing leaked, and
// short constructors for argument values.
#ifndef ZELTA_TESTS_LIB_FIXTURE_H
#define ZELTA_TESTS_LIB_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "core.h"
#include "number_text.h"
#include "zeltaobjs.h"

struct LibFailure {
  int code;
};

inline void throwLibFailure(int code, int, const std::string&) { throw LibFailure{code}; }

class LibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core::setFatalTrap(throwLibFailure);
    lib::setDecimalSeparator('.');
    ASSERT_TRUE(__BeginGlobal());
    __begin_context();
  }
  void TearDown() override {
    __end_context(nullptr);
    __EndGlobal();
    EXPECT_EQ(core::liveAllocations(), 0) << "records or buffers leaked";
    SetCheckBuffer(0);
  }
};

// The error code a call raises, or -1 when it returns.
template <typename F>
int errorOf(F&& call) {
  try {
    call();
  } catch (const LibFailure& f) {
    return f.code;
  }
  return -1;
}

inline pObj_Node N(double x) { return __INIT_DOUBLE(x); }
inline pObj_Node S(const char* s) { return __INIT_CHARPTR(s); }
inline pObj_Node Dt(double day) { return __INIT_DATE(day); }
inline pObj_Node Nul() { return __INIT_NUL(); }
inline double num(pObj_Node x) { return x->objData.dValue; }
inline std::string str(pObj_Node x) {
  return x && x->objType == T_CHARPTR && x->objData.mbuff ? std::string(x->objData.mbuff)
                                                          : std::string("<not a string>");
}

#endif
