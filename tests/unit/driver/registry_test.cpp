// The registry file and the tool mounts set and restored through it.
#include "mounts.h"
#include "registry.h"

#include "test_support.h"

#include <cstdlib>

namespace {

const std::string kMount = std::string(kMountKeyPrefix);

TEST(Registry, RoundTripThroughTheFile)
{
    tScratchDir dir;
    tRegistry reg("reg.txt");
    ASSERT_TRUE(reg.load());  // no file yet: empty
    EXPECT_FALSE(readInstallDir(reg));
    ASSERT_TRUE(reg.writeString(kInstallKey, "InstallDir", "/opt/zelta tools"));
    reg.writeNumber("K", "flags", 10);
    EXPECT_FALSE(reg.writeString("K", "bad", "two\nlines"));
    ASSERT_TRUE(reg.save());

    tRegistry again("reg.txt");
    ASSERT_TRUE(again.load());
    EXPECT_EQ(readInstallDir(again), "/opt/zelta tools");
    EXPECT_EQ(again.readNumber("K", "flags"), 10u);
    EXPECT_FALSE(again.readString("K", "flags"));  // a number is not a string
    EXPECT_FALSE(again.readString("K", "bad"));
    EXPECT_FALSE(exists("reg.txt.tmp"));
}

TEST(Registry, ReadsAHandWrittenFile)
{
    tScratchDir dir;
    writeFile("reg.txt",
              "junk before any key\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Sardel\\ezelta]\r\n"
              "InstallDir=sz:C:\\zelta\r\nnoequals\r\n");
    tRegistry reg("reg.txt");
    ASSERT_TRUE(reg.load());
    EXPECT_EQ(readInstallDir(reg), "C:\\zelta");
}

TEST(Registry, DefaultPathFollowsTheEnvironment)
{
    setenv("EZELTA_REGISTRY", "/tmp/some-registry", 1);
    EXPECT_EQ(tRegistry::defaultPath(), "/tmp/some-registry");
    unsetenv("EZELTA_REGISTRY");
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(tRegistry::defaultPath(), "/home/u/.ezelta-registry");
}

TEST(Mounts, SetThenRestore)
{
    tScratchDir dir;
    tRegistry reg("reg.txt");
    reg.writeString(kMount + "/", "native", "C:\\cygwin");
    reg.writeString(kMount + "/usr/bin", "native", "C:\\cygwin\\bin");
    reg.writeNumber(kMount + "/usr/bin", "flags", 2);

    tToolMounts mounts;
    ASSERT_TRUE(mounts.set(reg, "D:\\ez"));
    struct {
        const char* key;
        const char* native;
        unsigned flags;
        // clang-format off
    } set[] = {
        {"/", "D:\\ez", 8}, {"/PalmDev", "D:\\ez", 0}, {"/usr/bin", "D:\\ez\\bin", 10},
        {"/usr/lib", "D:\\ez\\lib", 10}, {"/prc-tools", "D:\\ez", 0},
    };
    // clang-format on
    tRegistry saved("reg.txt");  // set() writes the file
    ASSERT_TRUE(saved.load());
    for (const auto& m : set) {
        EXPECT_EQ(saved.readString(kMount + m.key, "native"), m.native) << m.key;
        EXPECT_EQ(saved.readNumber(kMount + m.key, "flags"), m.flags) << m.key;
    }

    ASSERT_TRUE(mounts.restore(reg));
    tRegistry restored("reg.txt");
    ASSERT_TRUE(restored.load());
    EXPECT_EQ(restored.readString(kMount + "/", "native"), "C:\\cygwin");
    EXPECT_EQ(restored.readString(kMount + "/usr/bin", "native"), "C:\\cygwin\\bin");
    EXPECT_EQ(restored.readNumber(kMount + "/usr/bin", "flags"), 10u);
    // Nothing was saved for these, so they keep the install directory.
    EXPECT_EQ(restored.readString(kMount + "/PalmDev", "native"), "D:\\ez");
    EXPECT_EQ(restored.readString(kMount + "/usr/lib", "native"), "D:\\ez\\lib");
}

TEST(Mounts, RestoreWithoutSetChangesNothing)
{
    tScratchDir dir;
    tRegistry reg("reg.txt");
    tToolMounts mounts;
    EXPECT_TRUE(mounts.restore(reg));
    EXPECT_FALSE(exists("reg.txt"));
}

TEST(Mounts, UnwritableRegistryFails)
{
    tRegistry reg("/nonexistent-dir/reg.txt");
    tToolMounts mounts;
    EXPECT_FALSE(mounts.set(reg, "/opt"));
}

}  // namespace
