// The core's state record and the hooks record: what __EndGlobal puts back,
// and when the core calls up into the folders above it (filled with fakes).
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "core_fixture.h"
#include "zeltaeval.h"
#include "zeltamisc.h"
#include "zeltaobjs2.h"

namespace {

std::vector<std::string> calls;

// One fake per folder and call, logging "<call> <folder>".
template <int F>
core::FolderCalls loggingFolder() {
  static const char* const kNames[] = {"lib", "data", "sync", "ui"};
  return {[] { calls.push_back(std::string("begin ") + kNames[F]); },
          [] { calls.push_back(std::string("end ") + kNames[F]); },
          [] { calls.push_back(std::string("contextEnd ") + kNames[F]); },
          [] { calls.push_back(std::string("fatal ") + kNames[F]); }};
}

// Keeps the hooks record as it was around each test.
class HooksTest : public CoreTest {
 protected:
  void SetUp() override {
    saved_ = core::hooks();
    calls.clear();
    CoreTest::SetUp();
  }
  void TearDown() override {
    CoreTest::TearDown();
    core::hooks() = saved_;
  }
  void logAllFolders() {
    core::registerFolder(core::kFolderLib, loggingFolder<core::kFolderLib>());
    core::registerFolder(core::kFolderData, loggingFolder<core::kFolderData>());
    core::registerFolder(core::kFolderSync, loggingFolder<core::kFolderSync>());
    core::registerFolder(core::kFolderUi, loggingFolder<core::kFolderUi>());
  }
  core::Hooks saved_;
};

pObj_Node exitHook() {
  calls.push_back("exit hook");
  return nullptr;
}

pObj_Node twice(pObj_Node x) { return __MUL(x, D(2)); }

// Runs `body` in a child process that ends through a real fatal error or
// exit; returns the exit status and what the child wrote to `fd`.
template <typename F>
std::pair<int, std::string> inChild(F body) {
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return {-1, ""};
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFd[0]);
    body(pipeFd[1]);
    _exit(99);
  }
  close(pipeFd[1]);
  std::string out;
  char buffer[256];
  for (ssize_t n; (n = read(pipeFd[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
  close(pipeFd[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

int childFd = -1;
void writeChild(const std::string& text) { (void)!write(childFd, text.data(), text.size()); }

}  // namespace

using StateTest = CoreTest;

TEST_F(StateTest, EndGlobalPutsTheCoreBackToItsDefaults) {
  __SetErrorLang(D(2));
  SetCheckBuffer(1);
  SetEncode(0);
  ASSERT_EQ(RegisterBlock("TWICE", reinterpret_cast<void*>(twice)), 1);
  __RegisterExit(exitHook);
  __GetAuxError(133);  // pending, never taken
  __SetMaxStackElements(24);
  __EndGlobal();
  EXPECT_EQ(core::liveAllocations(), 0);
  ASSERT_TRUE(__BeginGlobal());
  EXPECT_EQ(glob->stackSize, 24) << "the ring size is set for the next application";
  EXPECT_FALSE(core::binaryBuffers());
  EXPECT_TRUE(core::encodeSwitch());
  EXPECT_FALSE(__GET_BOOL(ExistBlock(S("TWICE"))));
  char text[2100];
  GetError(text, LOW_MEMORY);
  EXPECT_STREQ(text, "LOW MEMORY!") << "the pending message went with the application";
  EXPECT_STREQ(__GetAuxError(0), "Msg(0)-Erro Desconhecido!") << "language 1 again";
  EXPECT_EQ(core::state().errors.exitHook, nullptr);
  EXPECT_EQ(core::state().spareTraces, nullptr);
  EXPECT_EQ(core::state().libraries, nullptr);
}

TEST_F(StateTest, ASecondApplicationRunsLikeTheFirst) {
  // Held records and lock stacks of the first application must not leak
  // into the second's sweeps.
  for (int round = 0; round < 2; ++round) {
    __begin_context();
    pObj_Node kept = nullptr;
    kept = __SET_OBJECT(kept, S("kept"));
    ++kept->refCount;  // held past its context
    __end_context(nullptr);
    --kept->refCount;
    __begin_context();
    for (int i = 0; i < 400; ++i) __SUM(D(i), D(1));
    EXPECT_EQ(__end_context(nullptr), nullptr);
    __EndGlobal();
    EXPECT_EQ(core::liveAllocations(), 0) << "round " << round;
    ASSERT_TRUE(__BeginGlobal());
  }
}

TEST_F(HooksTest, FolderCallsComeInTheirOrder) {
  EXPECT_FALSE(core::hooks().anyContextEnd) << "no folder of the core's own tests ends contexts";
  logAllFolders();
  EXPECT_TRUE(core::hooks().anyContextEnd);
  __EndGlobal();
  calls.clear();
  ASSERT_TRUE(__BeginGlobal());
  EXPECT_EQ(calls, (std::vector<std::string>{"begin lib", "begin data", "begin sync", "begin ui"}));
  calls.clear();
  __begin_context();
  __end_context(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"contextEnd lib", "contextEnd data", "contextEnd sync", "contextEnd ui"}));
  calls.clear();
  // Under the test trap no folder is closed: the test looks at what is left.
  EXPECT_EQ(errorOf([] { __RuntimeError(BOUND_ERROR, -1); }), BOUND_ERROR);
  EXPECT_EQ(calls, std::vector<std::string>{});
  __EndGlobal();
  // The last sweep ends the outermost context after the folders have ended.
  EXPECT_EQ(calls, (std::vector<std::string>{"end ui", "end sync", "end data", "end lib", "contextEnd lib",
                                             "contextEnd data", "contextEnd sync", "contextEnd ui"}));
  ASSERT_TRUE(__BeginGlobal());
}

TEST_F(HooksTest, AFatalErrorClosesTheFoldersAfterTheExitHook) {
  auto [status, log] = inChild([](int fd) {
    childFd = fd;
    core::setFatalTrap(nullptr);
    core::registerFolder(core::kFolderData, {nullptr, nullptr, nullptr, [] { writeChild("fatal data;"); }});
    core::registerFolder(core::kFolderUi, {nullptr, nullptr, nullptr, [] { writeChild("fatal ui;"); }});
    core::hooks().dumpRegisteredArrays = [] { writeChild("dump;"); };
    core::hooks().fatalWindow = [](const char* text, const char*) { writeChild(std::string("window ") + text + ";"); };
    __RegisterExit([]() -> pObj_Node {
      writeChild("exit hook;");
      return nullptr;
    });
    __RuntimeError(DIVIDE_BY_ZERO, -1);
  });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(log, "dump;exit hook;fatal ui;fatal data;window DIVIDE BY ZERO!;");
}

TEST_F(HooksTest, ArraysAreReleasedThroughTheLibraryHook) {
  static int released;
  released = 0;
  core::hooks().releaseArray = [](pObj_Node array) -> pObj_Node {
    ++released;
    core::releaseArrayFallback(array);
    return nullptr;
  };
  __begin_context();
  pObj_Node a = nullptr, b = nullptr;
  a = __SET_OBJECT(a, __fcpObj_CT(vArray));
  b = __SET_OBJECT(b, __fcpObj_CT(vArray));
  __end_context(nullptr);
  EXPECT_EQ(released, 2);
}

TEST_F(HooksTest, UpCallsOfTheOtherFolders) {
  // Without the data folder a field reference cannot be evaluated.
  __begin_context();
  double r = 0;
  core::hooks().fieldByName = nullptr;
  EXPECT_EQ(errorOf([&] { __evalexpression("cli->total*2", nullptr, nullptr, 0, &r); }), ARGUMENT_ERROR);
  static std::string asked;
  core::hooks().fieldByName = [](pObj_Node alias, pObj_Node field) {
    asked = std::string(alias->objData.mbuff) + "." + field->objData.mbuff;
    return D(21);
  };
  EXPECT_EQ(__evalexpression("cli->total*2", nullptr, nullptr, 0, &r), 0);
  EXPECT_EQ(r, 42);
  __end_context(nullptr);
  EXPECT_EQ(asked, "CLI.TOTAL");

  static int answer, boxes, syncs;
  boxes = syncs = 0;
  core::hooks().messageBox = [](const char*, const char*, int yesNo) {
    ++boxes;
    return yesNo ? answer : 1;
  };
  core::hooks().startSync = [] { ++syncs; };
  const struct {
    int answer;
    int syncs;
  } cases[] = {{0, 0}, {1, 1}};
  for (const auto& c : cases) {
    answer = c.answer;
    syncs = 0;
    EXPECT_EQ(ErrSync(), c.answer);
    EXPECT_EQ(syncs, c.syncs) << "answer " << c.answer;
  }
  EXPECT_EQ(boxes, 2);
  answer = 0;
  EXPECT_FALSE(__GET_BOOL(__MsgYesNo(S("sure?"), nullptr)));
  EXPECT_TRUE(__GET_BOOL(__MsgAlert(S("note"), nullptr))) << "an alert is answered OK";
}

TEST_F(HooksTest, CleanUpRemovesTheDataFilesOnlyAfterAYes) {
  for (int yes : {0, 1}) {
    auto [status, log] = inChild([yes](int fd) {
      childFd = fd;
      static int answer;
      answer = yes;
      core::hooks().messageBox = [](const char* title, const char* text, int) {
        writeChild(std::string("[") + title + "] " + text + ";");
        return answer;
      };
      core::hooks().removeDataFiles = [] { writeChild("remove;"); };
      cleandbs();
    });
    EXPECT_EQ(status, 0);
    const std::string asked = "[Erro] Confirma exclusão dos dados?;";
    const std::string sync = "[Msg(139)-Nova conexão] Msg(138)-Deseja fazer um sincronismo ?;";
    EXPECT_EQ(log, yes ? asked + "remove;" + sync : asked + sync);
  }
}
