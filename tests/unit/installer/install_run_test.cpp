// The install run in one process: lists written through the store, the
// application's lock, the clock, renames and the restart replaced by
// fakes, and the files and "inst.txt" checked afterwards.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "core.h"
#include "install_run.h"
#include "store.h"
#include "temp_db.h"
#include "zeltaobjs.h"
#include "zeltardd.h"

namespace {

struct Fakes {
    int sleptMs = 0;
    int checksWhileRunning = 0;  // the application ends after this many checks
    int renames = 0;
    int failRename = 0;  // the n-th rename fails (1-based), 0 none
    std::vector<std::string> started;
    bool startFails = false;
};
Fakes fakes;

void fakeSleep(int ms) { fakes.sleptMs += ms; }
bool fakeRunning(const std::string&)
{
    if (fakes.checksWhileRunning <= 0)
        return false;
    --fakes.checksWhileRunning;
    return true;
}
bool fakeRename(const std::string& from, const std::string& to)
{
    if (++fakes.renames == fakes.failRename)
        return false;
    return rename(from.c_str(), to.c_str()) == 0;
}
bool fakeStart(const std::string& program, long* pid)
{
    fakes.started.push_back(program);
    *pid = 4242;
    return !fakes.startFails;
}

class InstallRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zelta-inst-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        char resolved[4096];
        ASSERT_NE(realpath(pattern, resolved), nullptr);
        dir_ = resolved;
        ASSERT_EQ(mkdir((dir_ + "/bin").c_str(), 0755), 0);
        setenv("ZELTA_APPDIR", dir_.c_str(), 1);
        fakes = Fakes();
        options_.appDir = dir_;
        options_.sleep = fakeSleep;
        options_.applicationRunning = fakeRunning;
        options_.rename = fakeRename;
        options_.start = fakeStart;
    }
    void TearDown() override
    {
        EXPECT_EQ(glob, nullptr);
        EXPECT_EQ(system(("rm -rf '" + dir_ + "'").c_str()), 0);
    }

    // Records as a session stores them; raw ones keep their bytes exactly.
    void writeList(const char* base, const std::vector<std::string>& records)
    {
        ASSERT_TRUE(__BeginGlobal());
        void* list = __OpenTmpDb(0, base, 1, 'L');
        ASSERT_NE(list, nullptr);
        for (const std::string& r : records)
            ASSERT_TRUE(
                data::appendTmpRecord(static_cast<data::DmOpenRef>(list), r.data(), static_cast<uint32_t>(r.size())));
        data::DmCloseDatabase(static_cast<data::DmOpenRef>(list));
        __EndGlobal();
    }
    static std::string z(const std::string& s) { return s + std::string(1, '\0'); }
    std::vector<std::string> listRecords(const char* name = "ZELTAINST.tLog")
    {
        std::vector<std::string> out;
        EXPECT_TRUE(__BeginGlobal());
        const data::LocalID id = data::DmFindDatabase(0, name);
        if (data::DmOpenRef db = id ? data::DmOpenDatabase(0, id, data::dmModeReadWrite) : nullptr) {
            for (uint32_t i = 0; i < data::DmNumRecords(db); ++i) {
                uint32_t size = 0;
                const char* p = data::recordBytes(db, i, &size);
                out.push_back(std::string(p, size));
            }
            data::DmCloseDatabase(db);
        }
        __EndGlobal();
        return out;
    }

    installer::Result install(const std::string& list = "ZELTAINST.tLog", const std::string& program = "")
    {
        return installer::run(installer::Arguments{list, program.empty() ? dir_ + "/bin/app.exe" : program}, options_);
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    bool exists(const std::string& name) const { return access(path(name).c_str(), F_OK) == 0; }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string log() const { return read("inst.txt"); }
    // The texts appear in the log in this order.
    void expectInOrder(const std::vector<std::string>& texts) const
    {
        const std::string l = log();
        size_t at = 0;
        for (const std::string& t : texts) {
            const size_t found = l.find(t, at);
            ASSERT_NE(found, std::string::npos) << "missing (in order): " << t << "\n--- log:\n" << l;
            at = found + t.size();
        }
    }

    std::string dir_;
    installer::Options options_;
};

TEST_F(InstallRunTest, ReplacesTheProgramKeepingABackupAndRestartsIt)
{
    write("bin/app.exe", "old");
    write("bin/app.exe_", "new");
    writeList("ZELTAINST", {z(path("bin/app.exe_"))});
    const installer::Result r = install();
    EXPECT_EQ(r.outcome, installer::Outcome::done);
    EXPECT_EQ(r.installed, 1);
    EXPECT_TRUE(r.restarted);
    EXPECT_EQ(read("bin/app.exe"), "new");
    EXPECT_EQ(read("bin/app.exe.bak"), "old");
    EXPECT_FALSE(exists("bin/app.exe_"));
    EXPECT_FALSE(exists("ZELTAINST.tLog")) << "a list worked through is deleted";
    ASSERT_EQ(fakes.started.size(), 1u);
    EXPECT_EQ(fakes.started[0], path("bin/app.exe"));
    EXPECT_EQ(fakes.sleptMs, 2000 + 500 + 500);
    const std::string target = path("bin/app.exe");
    expectInOrder({"Install BEGIN\n", "PARAM1=ZELTAINST.tLog\nPARAM2=" + target + "\n", "Memória liberada\n!",
                   "Procurando ZELTAINST.tLog!\n", "ENCONTROU ZELTAINST.tLog\n", "INSTALANDO " + target + "_\n",
                   "RENOMEANDO " + target + " para " + target + ".bak\n", "Criado backup do arquivo " + target + "\n",
                   "COPIANDO " + target + "_ para " + target + "\n", "Instalado o arquivo " + target + " versão \n",
                   "Excluída a lista ZELTAINST.tLog\n",
                   "\n CreateProcess " + target + " OK. hProcess=0, hThread=0, dwProcessId=4242,dwThreadId =4242",
                   "\nInstall END\n"});
}

TEST_F(InstallRunTest, RecordsOneByOne)
{
    struct Case {
        const char* name;
        // "@" stands for the application directory; each record gets its zero
        // unless it has one already or begins with "raw:".
        std::vector<std::string> records;
        std::vector<const char*> present;  // files made before the run (content "n:" + name)
        installer::Result expected;        // outcome is always done
        std::vector<const char*> after;    // files that exist afterwards
        std::vector<const char*> gone;     // and those that do not
        const char* logText;
    };
    const Case cases[] = {
        {"new file, nothing to back up",
         {"@/data.txt_"},
         {"data.txt_"},
         {installer::Outcome::done, 1, 0, 0, true},
         {"data.txt"},
         {"data.txt_", "data.txt.bak"},
         "Instalado o arquivo @/data.txt versão \n"},
        {"relative path: the application directory",
         {std::string("data.txt_\0", 10)},
         {"data.txt_"},
         {installer::Outcome::done, 1, 0, 0, true},
         {"data.txt"},
         {"data.txt_"},
         "COPIANDO @/data.txt_ para @/data.txt"},
        {"version after the path",
         {std::string("@/bin/app.exe_\0"
                      "7\0",
                      17)},
         {"bin/app.exe_"},
         {installer::Outcome::done, 1, 0, 0, true},
         {"bin/app.exe"},
         {},
         "versão 7\n"},
        {"no terminating zero",
         {"raw:@/bin/app.exe_"},
         {"bin/app.exe_"},
         {installer::Outcome::done, 1, 0, 0, true},
         {"bin/app.exe"},
         {"bin/app.exe_"},
         "INSTALANDO @/bin/app.exe_\n"},
        {"download missing: the program stays",
         {"@/bin/app.exe_"},
         {"bin/app.exe"},
         {installer::Outcome::done, 0, 0, 1, true},
         {"bin/app.exe"},
         {"bin/app.exe.bak"},
         "Não encontrou @/bin/app.exe_!\n"},
        {"no trailing _",
         {"@/bin/app.exe"},
         {"bin/app.exe"},
         {installer::Outcome::done, 0, 0, 1, true},
         {"bin/app.exe"},
         {"bin/app.ex", "bin/app.exe.bak"},
         "Registro 0 inválido: @/bin/app.exe\n"},
        {"only _",
         {"@/bin/_"},
         {"bin/_"},
         {installer::Outcome::done, 0, 0, 1, true},
         {"bin/_"},
         {},
         "Registro 0 inválido"},
        {"empty record", {""}, {}, {installer::Outcome::done, 0, 0, 1, true}, {}, {}, "Registro 0 inválido: \n"},
        {"climbs out with ..",
         {"@/bin/../../x_"},
         {},
         {installer::Outcome::done, 0, 0, 1, true},
         {},
         {},
         "Registro 0 inválido"},
        {"outside the application",
         {"/tmp_"},
         {},
         {installer::Outcome::done, 0, 0, 1, true},
         {},
         {},
         "Registro 0 inválido: /tmp_\n"},
        {"two files, one missing",
         {"@/a_", "@/b_"},
         {"a_", "b"},
         {installer::Outcome::done, 1, 0, 1, true},
         {"a", "b"},
         {"a_", "b.bak"},
         "Não encontrou @/b_!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto withDir = [this](std::string s) {
            for (size_t at; (at = s.find('@')) != std::string::npos;)
                s.replace(at, 1, dir_);
            return s;
        };
        std::vector<std::string> records;
        for (const std::string& r : c.records) {
            const bool raw = r.compare(0, 4, "raw:") == 0;
            std::string text = withDir(raw ? r.substr(4) : r);
            if (!raw && text.find('\0') == std::string::npos)
                text += '\0';
            records.push_back(text);
        }
        for (const char* f : c.present)
            write(f, std::string("n:") + f);
        writeList("ZELTAINST", records);
        fakes = Fakes();
        const installer::Result r = install();
        EXPECT_EQ(r.outcome, c.expected.outcome);
        EXPECT_EQ(r.installed, c.expected.installed);
        EXPECT_EQ(r.failed, c.expected.failed);
        EXPECT_EQ(r.dropped, c.expected.dropped);
        EXPECT_EQ(r.restarted, c.expected.restarted);
        for (const char* f : c.after)
            EXPECT_TRUE(exists(f)) << f;
        for (const char* f : c.gone)
            EXPECT_FALSE(exists(f)) << f;
        EXPECT_NE(log().find(withDir(c.logText)), std::string::npos) << c.logText << "\n--- log:\n" << log();
        EXPECT_FALSE(exists("ZELTAINST.tLog"));
        EXPECT_EQ(system(("rm -rf '" + dir_ + "'/* && mkdir '" + dir_ + "/bin'").c_str()), 0);
    }
}

TEST_F(InstallRunTest, AFailedMovePutsTheOldFileBackAndKeepsTheRecord)
{
    write("bin/app.exe", "old");
    write("bin/app.exe_", "new");
    write("other_", "other");
    writeList("ZELTAINST", {z(path("bin/app.exe_")), z(path("other_"))});
    fakes.failRename = 2;  // the backup works, the download's move does not
    const installer::Result r = install();
    EXPECT_EQ(r.installed, 1);
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(read("bin/app.exe"), "old");
    EXPECT_EQ(read("bin/app.exe_"), "new") << "left under its _ name for the next run";
    EXPECT_EQ(read("other"), "other");
    EXPECT_TRUE(r.restarted) << "the program that is in place starts again";
    expectInOrder({"Falhou Instalação do arquivo " + path("bin/app.exe") + " versão \n",
                   "Restaurado o arquivo " + path("bin/app.exe") + "\n",
                   "Mantidos 1 registros na lista ZELTAINST.tLog\n"});
    EXPECT_EQ(listRecords(), std::vector<std::string>{z(path("bin/app.exe_"))});
}

TEST_F(InstallRunTest, AFailedBackupLeavesTheTargetAlone)
{
    write("bin/app.exe", "old");
    write("bin/app.exe_", "new");
    writeList("ZELTAINST", {z(path("bin/app.exe_"))});
    fakes.failRename = 1;
    const installer::Result r = install();
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(read("bin/app.exe"), "old");
    EXPECT_EQ(read("bin/app.exe_"), "new");
    expectInOrder({"Falhou exclusão do arquivo " + path("bin/app.exe") + "\n"});
    EXPECT_EQ(log().find("COPIANDO"), std::string::npos);
    EXPECT_EQ(listRecords().size(), 1u) << "an unchanged list is left as it was";
}

TEST_F(InstallRunTest, WaitsForTheApplication)
{
    write("a_", "new");
    writeList("ZELTAINST", {z(path("a_"))});
    fakes.checksWhileRunning = 3;
    EXPECT_EQ(install().outcome, installer::Outcome::done);
    EXPECT_EQ(read("a"), "new");
    const std::string l = log();
    size_t waits = 0;
    for (size_t at = 0; (at = l.find("Aguardando liberação de memória!\n", at)) != std::string::npos; ++at)
        ++waits;
    EXPECT_EQ(waits, 3u);
    EXPECT_EQ(fakes.sleptMs, 3 * 200 + 2000 + 500 + 500);
}

TEST_F(InstallRunTest, GivesUpWhenTheApplicationDoesNotEnd)
{
    write("a_", "new");
    writeList("ZELTAINST", {z(path("a_"))});
    fakes.checksWhileRunning = 1000;
    const installer::Result r = install();
    EXPECT_EQ(r.outcome, installer::Outcome::stillRunning);
    EXPECT_EQ(fakes.checksWhileRunning, 1000 - 40);
    EXPECT_EQ(fakes.sleptMs, 40 * 200);
    EXPECT_TRUE(exists("a_"));
    EXPECT_FALSE(exists("a"));
    EXPECT_TRUE(fakes.started.empty());
    const std::string l = log();
    const std::string last = "Aguardando liberação de memória!\nFalhou liberação de memória!\n";
    ASSERT_GE(l.size(), last.size());
    EXPECT_EQ(l.substr(l.size() - last.size()), last) << "the log ends with the memory message";
    EXPECT_EQ(listRecords().size(), 1u);
}

TEST_F(InstallRunTest, ListsThatCannotBeWorkedThrough)
{
    // A missing list, a named one that is missing, a file that is no database.
    struct Case {
        const char* list;
        const char* fileBytes;  // written as the list's file when not null
        const char* logText;
    } cases[] = {
        {"ZELTAINST.tLog", nullptr, "Não encontrou ZELTAINST.tLog!\n"},
        {"OTHER.tLog", nullptr, "Procurando OTHER.tLog!\nNão encontrou OTHER.tLog!\n"},
        {"ZELTAINST.tLog", "not a database at all, just bytes", "ZELTAINST.tLog!\n"},
        {"../ZELTAINST.tLog", nullptr, "Não encontrou ../ZELTAINST.tLog!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        write("bin/app.exe", "old");
        if (c.fileBytes)
            write(c.list, c.fileBytes);
        fakes = Fakes();
        const installer::Result r = install(c.list);
        EXPECT_NE(r.outcome, installer::Outcome::done);
        EXPECT_FALSE(r.restarted);
        EXPECT_EQ(read("bin/app.exe"), "old");
        if (c.fileBytes) {
            EXPECT_EQ(read(c.list), c.fileBytes) << "someone else's file is left alone";
        }
        EXPECT_NE(log().find(c.logText), std::string::npos) << log();
        EXPECT_NE(log().find("\nInstall END\n"), std::string::npos);
        EXPECT_EQ(system(("rm -rf '" + dir_ + "'/* && mkdir -p '" + dir_ + "/bin'").c_str()), 0);
    }
}

TEST_F(InstallRunTest, AnotherListAndARestartThatFails)
{
    write("a_", "new");
    writeList("OTHER", {z(path("a_"))});
    fakes.startFails = true;
    const installer::Result r = install("OTHER.tLog");
    EXPECT_EQ(r.installed, 1);
    EXPECT_FALSE(r.restarted);
    expectInOrder({"ENCONTROU OTHER.tLog\n", "\nCreateProcess NOK " + path("bin/app.exe") + "\n", "\nInstall END\n"});
}

TEST_F(InstallRunTest, NoProgramNoRestart)
{
    writeList("ZELTAINST", {});
    installer::Result r = installer::run(installer::Arguments{"ZELTAINST.tLog", ""}, options_);
    EXPECT_EQ(r.outcome, installer::Outcome::done);
    EXPECT_TRUE(fakes.started.empty());
    EXPECT_NE(log().find("PARAM2=\n"), std::string::npos);
}

TEST_F(InstallRunTest, NoLogNoRun)
{
    options_.appDir = dir_ + "/missing";
    write("a_", "new");
    writeList("ZELTAINST", {z(path("a_"))});
    EXPECT_EQ(install().outcome, installer::Outcome::noLog);
    EXPECT_TRUE(exists("a_"));
    EXPECT_EQ(fakes.sleptMs, 0);
}

TEST(InstallArguments, Split)
{
    struct Case {
        std::vector<std::string> words;
        const char* list;
        const char* program;
    } cases[] = {
        {{}, "ZELTAINST.tLog", ""},
        {{""}, "ZELTAINST.tLog", ""},
        {{"", "/app/x.exe"}, "ZELTAINST.tLog", "/app/x.exe"},
        {{"L.tLog"}, "L.tLog", ""},
        {{"L.tLog", "/my apps/x.exe"}, "L.tLog", "/my apps/x.exe"},
        {{"L.tLog", "/my", "apps/x.exe"}, "L.tLog", "/my apps/x.exe"},
    };
    for (const Case& c : cases) {
        const installer::Arguments a = installer::splitArguments(c.words);
        EXPECT_EQ(a.list, c.list);
        EXPECT_EQ(a.program, c.program);
    }
}

TEST(InstallArguments, ApplicationDirectory)
{
    EXPECT_EQ(installer::applicationDirectory("/", "/p/x.exe", "/i/Rovane"), "/");
    EXPECT_EQ(installer::applicationDirectory(nullptr, "/nowhere/x.exe", "/i/Rovane"), "/nowhere");
    EXPECT_EQ(installer::applicationDirectory("", "", "/nowhere/Rovane"), "/nowhere");
    char here[4096];
    ASSERT_NE(realpath(".", here), nullptr);
    EXPECT_EQ(installer::applicationDirectory(nullptr, "x.exe", "Rovane"), here);
}

TEST(InstallerHandOff, Candidates)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(core::installerCandidates("/app", "/bin/p.exe", "/dist/lib/libzeltace.so"),
              (V{"/app/Rovane", "/bin/Rovane", "/dist/lib/Rovane"}));
    EXPECT_EQ(core::installerCandidates("/app", "/app/p.exe", "/app/libzeltace.so"), (V{"/app/Rovane"}));
    EXPECT_EQ(core::installerCandidates("/app", "", ""), (V{"/app/Rovane"}));
}

}  // namespace
