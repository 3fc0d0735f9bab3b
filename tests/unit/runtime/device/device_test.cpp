// The device functions: those with a host meaning against real files and
// processes, the rest stopping with a run-time error that names them.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "core.h"
#include "registry_file.h"
#include "zeltaarray.h"
#include "zeltadevice.h"
#include "zeltamisc.h"

namespace fs = std::filesystem;

namespace {

struct Failure {
  int code;
  std::string report;
};

void throwFailure(int code, int, const std::string& report) { throw Failure{code, report}; }

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zelta-device-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    setenv("ZELTA_APPDIR", dir_.c_str(), 1);
    setenv("ZELTA_REGISTRY", (dir_ / "test.reg").c_str(), 1);
    core::setFatalTrap(throwFailure);
    ASSERT_TRUE(__BeginGlobal());
    __begin_context();
  }
  void TearDown() override {
    __end_context(nullptr);
    __EndGlobal();
    EXPECT_EQ(core::liveAllocations(), 0) << "records or buffers leaked";
    unsetenv("ZELTA_REGISTRY");
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

pObj_Node S(const char* s) { return __INIT_CHARPTR(s); }
pObj_Node N(double x) { return __INIT_DOUBLE(x); }
std::string str(pObj_Node x) { return x && x->objType == T_CHARPTR ? x->objData.mbuff : "<not a string>"; }

// The failure a call raises; code -1 when it returns.
Failure failureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Failure& f) {
    return f;
  }
  return Failure{-1, ""};
}

TEST_F(DeviceTest, RegistryValuesRoundTripThroughTheFile) {
  EXPECT_TRUE(__GET_BOOL(__RegSetData(S("HKEY_CURRENT_USER\\Software\\Shop"), S("Server"), S("10.0.0.5"), nullptr)));
  EXPECT_TRUE(__GET_BOOL(__RegSetData(S("HKEY_CURRENT_USER\\Software\\Shop"), S("Port"), N(5000), nullptr)));
  EXPECT_TRUE(__GET_BOOL(__RegSetData(S("HKEY_CURRENT_USER\\Software\\Shop"), S("Port"), N(5001), S("DWORD"))));
  EXPECT_TRUE(__GET_BOOL(__RegSetData(S("Other"), S("Code"), S("12"), S("sz"))));
  EXPECT_EQ(readFile(dir_ / "test.reg"),
            "[HKEY_CURRENT_USER\\Software\\Shop]\nServer=sz:10.0.0.5\nPort=dword:5001\n[Other]\nCode=sz:12\n");

  EXPECT_EQ(str(__RegGetData(S("hkey_current_user\\software\\shop"), S("SERVER"), nullptr)), "10.0.0.5");
  pObj_Node port = __RegGetData(S("HKEY_CURRENT_USER\\Software\\Shop"), S("Port"), nullptr);
  ASSERT_EQ(port->objType, static_cast<uint32_t>(T_DOUBLE));
  EXPECT_EQ(port->objData.dValue, 5001);
  EXPECT_EQ(__RegGetData(S("Other"), S("Missing"), nullptr)->objType, static_cast<uint32_t>(T_NIL));
  EXPECT_EQ(str(__RegGetData(S("Nowhere"), S("Code"), S("default"))), "default");
}

TEST_F(DeviceTest, RegistryRefusesWhatTheFileCannotHold) {
  const struct {
    const char* key;
    const char* name;
    const char* text;
  } cases[] = {
      {"K", "N", "two\nlines"},
      {"K\r", "N", "x"},
      {"K", "a=b", "x"},
      {"K", "", "x"},
  };
  for (const auto& c : cases) EXPECT_FALSE(__GET_BOOL(__RegSetData(S(c.key), S(c.name), S(c.text), nullptr))) << c.name;
  EXPECT_FALSE(fs::exists(dir_ / "test.reg"));
  // Wrong types and numbers a DWORD cannot hold are argument errors.
  EXPECT_EQ(failureOf([] { __RegSetData(N(1), S("N"), S("x"), nullptr); }).code, ARGUMENT_ERROR);
  EXPECT_EQ(failureOf([] { __RegSetData(S("K"), S("N"), N(-1), nullptr); }).code, ARGUMENT_ERROR);
  EXPECT_EQ(failureOf([] { __RegSetData(S("K"), S("N"), N(1.5), nullptr); }).code, ARGUMENT_ERROR);
  EXPECT_EQ(failureOf([] { __RegSetData(S("K"), S("N"), S("x"), S("DWORD")); }).code, ARGUMENT_ERROR);
  EXPECT_EQ(failureOf([] { __RegSetData(S("K"), S("N"), S("x"), S("BINARY")); }).code, ARGUMENT_ERROR);
  EXPECT_EQ(failureOf([] { __RegGetData(S("K"), nullptr, nullptr); }).code, ARGUMENT_ERROR);
}

TEST_F(DeviceTest, RegistryFileKeepsHandEditedValues) {
  std::ofstream(dir_ / "test.reg", std::ios::binary) << "junk line\r\n[App]\r\nA=sz:one\r\nB=dword:7\r\nC=other\r\n";
  device::RegistryFile file;
  ASSERT_TRUE(file.load((dir_ / "test.reg").string()));
  ASSERT_NE(file.find("app", "a"), nullptr);
  EXPECT_EQ(*file.find("APP", "B"), "dword:7");
  EXPECT_EQ(__RegGetData(S("App"), S("C"), nullptr)->objType, static_cast<uint32_t>(T_NIL));
  EXPECT_TRUE(__GET_BOOL(__RegSetData(S("App"), S("A"), S("two"), nullptr)));
  EXPECT_EQ(readFile(dir_ / "test.reg"), "[App]\nA=sz:two\nB=dword:7\nC=other\n");
}

TEST_F(DeviceTest, FEraseRemovesAFileOnce) {
  const std::string path = (dir_ / "old.txt").string();
  std::ofstream(path) << "x";
  EXPECT_EQ(__FErase(S(path.c_str()))->objData.dValue, 0);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(__FErase(S(path.c_str()))->objData.dValue, -1);
  EXPECT_EQ(__FErase(S(""))->objData.dValue, -1);
  EXPECT_EQ(failureOf([] { __FErase(N(1)); }).code, ARGUMENT_ERROR);
}

TEST_F(DeviceTest, CheckProcessFindsThisProgram) {
  const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
  EXPECT_TRUE(__GET_BOOL(__CheckProcess(S(self.c_str()))));
  std::string upper = self;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(__GET_BOOL(__CheckProcess(S(upper.c_str()))));
  EXPECT_FALSE(__GET_BOOL(__CheckProcess(S("no-such-process-zelta"))));
  EXPECT_FALSE(__GET_BOOL(__CheckProcess(S(""))));
}

TEST_F(DeviceTest, SdNameIsTheStorageOfTheApplicationDirectory) {
  const std::string storage = str(__GetSDName());
  const std::string app = fs::canonical(dir_).string();
  ASSERT_FALSE(storage.empty());
  EXPECT_EQ(app.compare(0, storage.size(), storage), 0) << storage << " holds " << app;
}

TEST_F(DeviceTest, ASortSortsInPlaceAndDevoutWritesNothing) {
  pObj_Node a = __CreateArray(N(30), N(10), N(20), __INIT_NUL());
  EXPECT_EQ(__ASort(a), a);
  EXPECT_EQ(__GET_ARRAY_EL(a, 0)->objData.dValue, 10);
  EXPECT_EQ(__GET_ARRAY_EL(a, 1)->objData.dValue, 20);
  EXPECT_EQ(__GET_ARRAY_EL(a, 2)->objData.dValue, 30);
  testing::internal::CaptureStdout();
  EXPECT_EQ(__devout()->objType, static_cast<uint32_t>(T_NIL));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(DeviceTest, FunctionsWithoutAHostMeaningStopNamingThemselves) {
  const struct {
    const char* name;
    std::function<void()> call;
  } cases[] = {
      {"__SendSmsMsg", [] { __SendSmsMsg(nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"__ReadSmsMsg", [] { __ReadSmsMsg(); }},
      {"__SmsOpen", [] { __SmsOpen(nullptr); }},
      {"__SmsClose", [] { __SmsClose(); }},
      {"SETBATCHOPER", [] { SETBATCHOPER(nullptr); }},
      {"__StartServer", [] { __StartServer(nullptr, nullptr, nullptr); }},
      {"__ConnectConsole", [] { __ConnectConsole(nullptr, nullptr); }},
      {"__SendConsole", [] { __SendConsole(nullptr, nullptr); }},
      {"__ReadConsole", [] { __ReadConsole(nullptr, nullptr); }},
      {"__CreateArrayBrowse",
       [] { __CreateArrayBrowse(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"__GetSignature", [] { __GetSignature(nullptr); }},
      {"__ShowSignature", [] { __ShowSignature(nullptr, nullptr, nullptr); }},
      {"__DelSignature", [] { __DelSignature(nullptr); }},
      {"__GetProfileCon", [] { __GetProfileCon(nullptr); }},
      {"__GetProfileNet", [] { __GetProfileNet(nullptr); }},
      {"__SetProfileNet", [] { __SetProfileNet(nullptr, nullptr); }},
      {"__GetActiveProfileNet", [] { __GetActiveProfileNet(nullptr); }},
      {"__AddProfileNet", [] { __AddProfileNet(nullptr); }},
      {"__AddProfileCon", [] { __AddProfileCon(nullptr); }},
      {"__CaptureCode", [] { __CaptureCode(); }},
      {"__EzeltaTest", [] { __EzeltaTest(); }},
      {"__CameraCapture", [] { __CameraCapture(nullptr); }},
  };
  __SetErrorLang(N(2));
  for (const auto& c : cases) {
    const Failure f = failureOf(c.call);
    EXPECT_EQ(f.code, RUNTIME_ERROR) << c.name;
    EXPECT_NE(f.report.find(std::string("RUNTIME ERROR!\n") + c.name + ": function not available on this platform"),
              std::string::npos)
        << f.report;
  }
  const struct {
    int language;
    const char* text;
  } languages[] = {
      {1, "__SmsOpen: função não disponível nesta plataforma"},
      {3, "__SmsOpen: función no disponible en esta plataforma"},
  };
  for (const auto& l : languages) {
    __SetErrorLang(N(l.language));
    EXPECT_NE(failureOf([] { __SmsOpen(nullptr); }).report.find(l.text), std::string::npos) << l.language;
  }
}

}  // namespace
