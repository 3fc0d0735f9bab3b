// The serial port against a pseudo-terminal pair: ZELTA_COM1 names the
// terminal side, the test plays the device on the other.
#include "sync_fixture.h"

#include <fcntl.h>
#include <pty.h>
#include <stdlib.h>
#include <string.h>

#include "zeltanet.h"

namespace {

class SerialTest : public SyncTest {
 protected:
  void SetUp() override {
    SyncTest::SetUp();
    char name[128];
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    close(slave);  // OPENCOM opens it by name
    setenv("ZELTA_COM1", name, 1);
  }
  void TearDown() override {
    close(master);
    unsetenv("ZELTA_COM1");
    SyncTest::TearDown();
  }
  pObj_Node open(double baud = 9600) {
    return OPENCOM(__INIT_DOUBLE(1), __INIT_DOUBLE(baud), __INIT_DOUBLE(8), __INIT_DOUBLE(0), __INIT_DOUBLE(1));
  }
  std::string readMaster(size_t n) {
    std::string got;
    for (int tries = 0; got.size() < n && tries < 200; ++tries) {
      char b[64];
      const ssize_t rc = read(master, b, sizeof b);
      if (rc > 0)
        got.append(b, static_cast<size_t>(rc));
      else
        usleep(5000);
    }
    return got;
  }
  // A string variable with a buffer of `size` bytes.
  pObj_Node buffer(int size) {
    pObj_Node v = __fcpObj_CT(vVariable);
    __SET_OBJECT(v, __INIT_CHARPTR(std::string(static_cast<size_t>(size - 1), '.').c_str()));
    return v;
  }
  int master = -1;
};

TEST_F(SerialTest, WritesAndReadsThroughThePort) {
  fcntl(master, F_SETFL, O_NONBLOCK);
  pObj_Node h = open();
  ASSERT_EQ(h->objType, static_cast<uint32_t>(T_HANDLE));
  ASSERT_NE(h->objData.pValue, nullptr);
  EXPECT_EQ(WRITECOM(h, __INIT_CHARPTR("PRINT\r\n"), __INIT_DOUBLE(7))->objData.dValue, 7);
  EXPECT_EQ(readMaster(7), "PRINT\r\n");
  EXPECT_EQ(WRITECOM(h, __INIT_CHARPTR("abc"), __INIT_DOUBLE(10))->objData.dValue, 3);  // no more than the text
  EXPECT_EQ(readMaster(3), "abc");

  ASSERT_EQ(write(master, "12345", 5), 5);
  pObj_Node b = buffer(10);
  EXPECT_EQ(READCOM(h, b, __INIT_DOUBLE(5))->objData.dValue, 5);
  EXPECT_STREQ(b->objData.mbuff, "12345");
  EXPECT_EQ(b->objLength, 6);
  __fcObj_DT(b);
  EXPECT_EQ(CLOSECOM(h)->objData.bValue, 1);
  EXPECT_EQ(CLOSECOM(h)->objData.bValue, 0);  // already closed
}

TEST_F(SerialTest, ReadStopsWhenTheLineFallsQuiet) {
  pObj_Node h = open();
  ASSERT_EQ(write(master, "ab", 2), 2);
  pObj_Node b = buffer(10);
  EXPECT_EQ(READCOM(h, b, __INIT_DOUBLE(8))->objData.dValue, 2);
  EXPECT_STREQ(b->objData.mbuff, "ab");
  __fcObj_DT(b);
  CLOSECOM(h);
}

TEST_F(SerialTest, ReadNeedsRoomInTheBuffer) {
  pObj_Node h = open();
  ASSERT_EQ(write(master, "123456789", 9), 9);
  pObj_Node small = buffer(4);
  EXPECT_EQ(READCOM(h, small, __INIT_DOUBLE(5))->objData.dValue, 0);  // buffer below n: nothing read
  EXPECT_STREQ(small->objData.mbuff, "...");
  // A buffer of exactly n bytes keeps its last byte for the zero.
  EXPECT_EQ(READCOM(h, small, __INIT_DOUBLE(4))->objData.dValue, 3);
  EXPECT_STREQ(small->objData.mbuff, "123");
  EXPECT_EQ(READCOM(h, __INIT_CHARCONST("constant"), __INIT_DOUBLE(2))->objData.dValue, 0);
  __fcObj_DT(small);
  CLOSECOM(h);
}

TEST_F(SerialTest, FailuresGiveAHandleOfZero) {
  EXPECT_EQ(open(12345)->objData.pValue, nullptr);  // a baud rate the host has not
  pObj_Node first = open();
  EXPECT_NE(first->objData.pValue, nullptr);
  EXPECT_EQ(open()->objData.pValue, nullptr);  // the port is not shared
  CLOSECOM(first);
  setenv("ZELTA_COM1", "/nonexistent/tty", 1);
  EXPECT_EQ(open()->objData.pValue, nullptr);
}

TEST_F(SerialTest, ArgumentsAreChecked) {
  EXPECT_EQ(errorOf([] {
              OPENCOM(__INIT_DOUBLE(1), __INIT_CHARPTR("9600"), __INIT_DOUBLE(8), __INIT_DOUBLE(0), __INIT_DOUBLE(1));
            }),
            ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { OPENCOM(__INIT_DOUBLE(1), __INIT_DOUBLE(9600)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { READCOM(__INIT_DOUBLE(1), __INIT_CHARPTR("x"), __INIT_DOUBLE(1)); }), ARGUMENT_ERROR);
  // A handle that was never opened is refused, not used.
  pObj_Node stale = __INIT_HANDLE(reinterpret_cast<void*>(99));
  EXPECT_EQ(WRITECOM(stale, __INIT_CHARPTR("x"), __INIT_DOUBLE(1))->objData.dValue, 0);
  EXPECT_EQ(CLOSECOM(__INIT_HANDLE(nullptr))->objData.bValue, 0);
}

}  // namespace
