// Shared set-up of the data tests: a fresh application directory and a
// fresh application per test, the fatal-error exit turned into an exception
// with the code and auxiliary number, the message boxes recorded instead of
// printed, and short helpers for tables and values.
#ifndef ZELTA_TESTS_DATA_FIXTURE_H
#define ZELTA_TESTS_DATA_FIXTURE_H

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "core.h"
#include "number_text.h"
#include "data_state.h"
#include "zeltaarray.h"
#include "zeltaobjs.h"
#include "zeltardd.h"

struct DataFailure {
  int code;
  int aux;
};

inline void throwDataFailure(int code, int aux, const std::string&) { throw DataFailure{code, aux}; }

inline std::vector<std::string>& recordedBoxes() {
  static std::vector<std::string> boxes;
  return boxes;
}

inline int recordBox(const char* title, const char* text, int) {
  recordedBoxes().push_back(std::string(title) + ": " + text);
  return 1;
}

struct FieldSpec {
  const char* name;
  const char* type;
  double length;
  double decimals;
};

class DataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelta-data-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    setenv("ZELTA_APPDIR", dir_.c_str(), 1);
    core::setFatalTrap(throwDataFailure);
    core::hooks().messageBox = recordBox;
    recordedBoxes().clear();
    lib::setDecimalSeparator('.');
    start();
  }
  void TearDown() override {
    stop();
    EXPECT_EQ(core::liveAllocations(), 0) << "records or buffers leaked";
    core::hooks().messageBox = nullptr;
    SetCheckBuffer(0);
    removeTree(dir_);
  }

  // A fresh application on the same directory: what a restart sees.
  void start() {
    ASSERT_TRUE(__BeginGlobal());
    __begin_context();
  }
  void stop() {
    if (!glob) return;
    __end_context(nullptr);
    __EndGlobal();
  }
  void restart() {
    stop();
    start();
  }

  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  bool exists(const std::string& name) const { return access(path(name).c_str(), F_OK) == 0; }
  long long sizeOf(const std::string& name) const {
    struct stat st;
    return stat(path(name).c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
  }
  std::string readFile(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  void writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  bool boxSays(const std::string& text) const {
    for (const std::string& b : recordedBoxes())
      if (b.find(text) != std::string::npos) return true;
    return false;
  }

  static pObj_Node structure(std::initializer_list<FieldSpec> fields) {
    pObj_Node a = __fcpObj_CT(vArray);
    for (const FieldSpec& f : fields)
      __AAdd(a, __CreateArray(__INIT_CHARPTR(f.name), __INIT_CHARPTR(f.type), __INIT_DOUBLE(f.length),
                              __INIT_DOUBLE(f.decimals), __INIT_NUL()));
    return a;
  }
  // Creates the table and opens it in a new area under `alias`.
  static void createAndUse(const char* name, std::initializer_list<FieldSpec> fields, const char* alias = nullptr) {
    __DBCREATE(S(name), structure(fields));
    use(name, alias);
  }
  static void use(const char* name, const char* alias = nullptr) {
    __DBUSEAREA(__INIT_BOOL(1), nullptr, S(name), alias ? S(alias) : nullptr);
  }
  static pObj_Node S(const char* s) { return __INIT_CHARPTR(s); }
  static pObj_Node N(double x) { return __INIT_DOUBLE(x); }
  static pObj_Node L(bool b) { return __INIT_BOOL(b); }
  static pObj_Node Dt(double day) { return __INIT_DATE(day); }
  static bool truth(pObj_Node v) { return v && v->objType == T_BOOL && v->objData.bValue; }
  static double num(pObj_Node v) { return v->objData.dValue; }
  static std::string str(pObj_Node v) {
    return v && v->objType == T_CHARPTR && v->objData.mbuff ? std::string(v->objData.mbuff) : "<not a string>";
  }
  // Field access on the current area.
  static void put(const char* field, pObj_Node value) { __SetField(nullptr, __GetFieldPos(nullptr, S(field)), value); }
  static pObj_Node get(const char* field) { return __GetFieldByName(nullptr, S(field)); }
  static void append(std::initializer_list<std::pair<const char*, pObj_Node>> values) {
    __DBAPPEND(nullptr);
    for (const auto& v : values) put(v.first, v.second);
  }

  std::string dir_;

 private:
  static void removeTree(const std::string& dir) {
    if (dir.empty()) return;
    const std::string command = "rm -rf '" + dir + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir;
  }
};

// The error a call raises, as {code, aux}, or {-1, -1} when it returns.
template <typename F>
std::pair<int, int> errorOf(F&& call) {
  try {
    call();
  } catch (const DataFailure& f) {
    return {f.code, f.aux};
  }
  return {-1, -1};
}

#endif
