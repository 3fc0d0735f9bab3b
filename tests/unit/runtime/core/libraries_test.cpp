// The search for foreign libraries: host names, the places tried in order,
// the cache of loaded libraries and the missing-library error.
#include "core_fixture.h"

#include <string>
#include <vector>

#include "host.h"
#include "zeltautil.h"

#include <stdlib.h>
#include <string.h>

namespace {

TEST(LibraryNames, ProgramNamesBecomeHostNames) {
  const struct {
    const char* name;
    const char* host;
  } cases[] = {
      {"alpha22.dll", "alpha22.so"},
      {"ALPHA22.DLL", "ALPHA22.so"},
      {"C:\\dlls\\calc.dll", "C:/dlls/calc.so"},
      {"calc", "calc.so"},
      {"libm.so.6", "libm.so.6"},
      {"dir.d/calc", "dir.d/calc.so"},
      {"calc.dllx", "calc.dllx"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(core::hostLibraryName(c.name), c.host) << c.name;
}

TEST(LibraryNames, PlacesTriedInOrder) {
  EXPECT_EQ(core::librarySearchList("dir\\calc.dll"), (std::vector<std::string>{"dir/calc.so", "dir/libcalc.so"}));
  EXPECT_EQ(core::librarySearchList("/opt/libcalc.so"), (std::vector<std::string>{"/opt/libcalc.so"}));
  EXPECT_TRUE(core::librarySearchList("").empty());
  // A bare name: beside the program, then beside the run-time (here the
  // same file, tried once), then the system's own search.
  const std::string program = core::host::modulePath();
  const std::string dir = program.substr(0, program.rfind('/') + 1);
  EXPECT_EQ(core::librarySearchList("calc.dll"),
            (std::vector<std::string>{dir + "calc.so", dir + "libcalc.so", "calc.so", "libcalc.so"}));
}

class LibrariesTest : public CoreTest {};

TEST_F(LibrariesTest, ASystemLibraryLoadsOnceAndFindsItsSymbols) {
  void* math = core::loadLibrary("libm.so.6");
  ASSERT_NE(math, nullptr);
  EXPECT_EQ(core::loadLibrary("libm.so.6"), math);
  EXPECT_EQ(nHdlGetDllHandle("libm.so.6"), math);
  EXPECT_NE(GetProcAddress(math, "cos"), nullptr);
  EXPECT_EQ(GetProcAddress(math, "no_such_function_zelta"), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "cos"), nullptr);
}

TEST_F(LibrariesTest, AMissingLibraryIsError16WithMessage133) {
  EXPECT_EQ(core::loadLibrary("no_such_library_zelta.dll"), nullptr);
  testing::internal::CaptureStdout();
  try {
    nHdlGetDllHandle("no_such_library_zelta.dll");
    ADD_FAILURE() << "no error";
  } catch (const RuntimeFailure& f) {
    EXPECT_EQ(f.code, DLL_NOT_FOUND);
    EXPECT_EQ(f.aux, 133);
    EXPECT_NE(f.report.find("DLL_NOT_FOUND"), std::string::npos) << f.report;
  }
  EXPECT_NE(testing::internal::GetCapturedStdout().find("no_such_library_zelta.dll"), std::string::npos);
}

TEST(ForeignBuffers, StaticBufferGrowsAndIsForgottenAtTheEnd) {
  core::setFatalTrap(throwFailure);
  ASSERT_TRUE(__BeginGlobal());
  static char* slot = nullptr;
  char* first = static_cast<char*>(ForeignStaticBuffer(reinterpret_cast<void**>(&slot), 16));
  EXPECT_EQ(first, slot);
  memset(first, 'x', 16);  // all 16 bytes are the wrapper's
  EXPECT_EQ(ForeignStaticBuffer(reinterpret_cast<void**>(&slot), 10), first);
  char* bigger = static_cast<char*>(ForeignStaticBuffer(reinterpret_cast<void**>(&slot), 64));
  EXPECT_NE(bigger, first);
  memset(bigger, 'y', 64);
  EXPECT_EQ(first[15], 'x') << "the old buffer stays: a library may still hold it";
  EXPECT_THROW(ForeignStaticBuffer(reinterpret_cast<void**>(&slot), 0), RuntimeFailure);
  __EndGlobal();
  EXPECT_EQ(slot, nullptr) << "the next application allocates afresh";
  EXPECT_EQ(core::liveAllocations(), 0);
}

TEST_F(LibrariesTest, ExportedTextsAreCopiesTheCallerFrees) {
  char* copy = ExportText(__INIT_CHARPTR("kept"));
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "kept");
  free(copy);
  EXPECT_EQ(ExportText(__INIT_DOUBLE(1)), nullptr);
  EXPECT_EQ(ExportText(nullptr), nullptr);
}

TEST_F(LibrariesTest, BufferSizeGivesATextItsRoom) {
  pObj_Node buffer = __SET_OBJECT(nullptr, __INIT_CHARPTR(""));
  EXPECT_EQ(SETBUFFSIZE(buffer, D(100)), buffer);
  EXPECT_EQ(buffer->objType, static_cast<uint32_t>(T_CHARPTR));
  EXPECT_GE(buffer->objLength, 101);
  EXPECT_STREQ(buffer->objData.mbuff, "");
  EXPECT_EQ(errorOf([] { SETBUFFSIZE(__INIT_NIL(), D(-1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { SETBUFFSIZE(nullptr, D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { SETBUFFSIZE(__INIT_NIL(), S("1")); }), ARGUMENT_ERROR);
}

}  // namespace
