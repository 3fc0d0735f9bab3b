// Shared set-up of the core tests: a fresh application per test, and the
// fatal-error trap turned into an exception that carries the code, the
// auxiliary number and the rendered report.
#ifndef ZELTA_TESTS_CORE_FIXTURE_H
#define ZELTA_TESTS_CORE_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "core.h"
#include "zeltaobjs.h"

struct RuntimeFailure {
  int code;
  int aux;
  std::string report;
};

inline void throwFailure(int code, int aux, const std::string& report) { throw RuntimeFailure{code, aux, report}; }

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core::setFatalTrap(throwFailure);
    __SetMaxStackElements(ringSize());
    ASSERT_TRUE(__BeginGlobal());
  }
  void TearDown() override {
    __EndGlobal();
    EXPECT_EQ(core::liveAllocations(), 0) << "records or buffers leaked";
    SetCheckBuffer(0);
    __SetMaxStackElements(160);
  }
  virtual int ringSize() { return 160; }
};

// The error code a call raises, or -1 when it returns.
template <typename F>
int errorOf(F&& call) {
  try {
    call();
  } catch (const RuntimeFailure& f) {
    return f.code;
  }
  return -1;
}

inline double num(pObj_Node x) { return x->objData.dValue; }
inline pObj_Node D(double x) { return __INIT_DOUBLE(x); }
inline pObj_Node S(const char* s) { return __INIT_CHARPTR(s); }

#endif
