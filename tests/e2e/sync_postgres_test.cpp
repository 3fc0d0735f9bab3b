// Two compiled device programs, each syncing with its own zeltasyncd, the
// two servers sharing one throw-away PostgreSQL database: what each device
// changes reaches the other, and both end with the same rows, none dirty.
// Skipped, with the reason, when PostgreSQL cannot be started here.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../unit/server/postgres_process.h"
#include "../unit/server/server_process.h"

namespace {

// A session; the first time (its new record not there yet) a record renamed
// and one added, then a second session; the table listed.
const char* const kDevice = R"(// A device on one of two servers that share their database.
FUNCTION Main()
   LOCAL n, lFound := .F.
   n := DoSync( "", "127.0.0.1", @PORT@, 20, "@USER@", "@DEVICE@" )
   ? "sync", n
   dbUseArea( .T., NIL, "CLIENTS", "CLI", .F., .F. )
   dbGoTop()
   DO WHILE !EOF()
      IF Trim( CLI->CODE ) == "@NEW@"
         lFound := .T.
      ENDIF
      dbSkip()
   ENDDO
   IF !lFound
      dbGoTop()
      DO WHILE !EOF()
         IF Trim( CLI->CODE ) == "@CODE@"
            CLI->NAME := "renamed on @DEVICE@"
         ENDIF
         dbSkip()
      ENDDO
      dbCommit()
      dbAppend()
      CLI->CODE := "@NEW@"
      CLI->NAME := "added on @DEVICE@"
      CLI->BALANCE := 2.5
      CLI->ACTIVE := .T.
      dbCommit()
      dbCloseAll()
      n := DoSync( "", "127.0.0.1", @PORT@, 20, "@USER@", "@DEVICE@" )
      ? "sync", n
      dbUseArea( .T., NIL, "CLIENTS", "CLI", .F., .F. )
   ENDIF
   dbGoTop()
   DO WHILE !EOF()
      ? "row", Trim( CLI->CODE ), Trim( CLI->NAME ), CLI->BALANCE, IsDirty()
      dbSkip()
   ENDDO
   dbCloseAll()
RETURN NIL
)";

std::string shell(const std::string& command, int* status = nullptr)
{
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    std::string out;
    char chunk[512];
    size_t n;
    while (p && (n = fread(chunk, 1, sizeof chunk, p)) > 0)
        out.append(chunk, n);
    const int rc = p ? pclose(p) : -1;
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

std::string replaced(std::string text, const std::vector<std::pair<std::string, std::string>>& words)
{
    for (const auto& [from, to] : words)
        for (size_t at; (at = text.find(from)) != std::string::npos;)
            text.replace(at, from.size(), to);
    return text;
}

struct Device {
    std::string dir, program;

    // Builds the device's program for `port`.
    bool build(const std::string& root, const std::string& name, int port, const std::string& user,
               const std::string& code, const std::string& fresh, std::string& log)
    {
        dir = root + "/" + name;
        program = dir + "/" + name;
        shell("mkdir -p '" + dir + "/app'");
        std::ofstream(program + ".prg") << replaced(kDevice, {{"@PORT@", std::to_string(port)},
                                                              {"@USER@", user},
                                                              {"@DEVICE@", name},
                                                              {"@CODE@", code},
                                                              {"@NEW@", fresh}});
        int status = 0;
        log = shell("cd '" + dir + "' && '" + std::string(ZELTA_DIST) + "/ezelta' " + name + ".prg -gFULL", &status);
        return status == 0;
    }
    // Runs it; its output.
    std::string run() const
    {
        return shell("cd '" + dir + "' && ZELTA_APPDIR='" + dir + "/app' ZELTA_UI=headless '" + program + ".exe'");
    }
};

// The "row" lines of an output, sorted: the two devices hold their records
// in different orders.
std::vector<std::string> rows(const std::string& output)
{
    std::vector<std::string> out;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, 4, "row ") == 0)
            out.push_back(line);
    std::sort(out.begin(), out.end());
    return out;
}

bool has(const std::vector<std::string>& lines, const std::string& start)
{
    for (const std::string& l : lines)
        if (l.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

TEST(SyncPostgresTest, TwoDevicesOnTwoServersOfOneDatabaseConverge)
{
    PostgresProcess postgres;
    std::string why;
    if (!postgres.start(why))
        GTEST_SKIP() << "PostgreSQL could not be started: " << why;
    const std::string address = postgres.newDatabase("devices");
    ServerProcess first, second;
    first.usePostgres(address);
    second.usePostgres(address);
    const std::string source = std::string(SYNC_SESSION_DIR);
    ASSERT_EQ(first.admin({"add-user", "joe", "dev1"}), 0);
    ASSERT_EQ(first.admin({"add-user", "ann", "dev2"}), 0);
    ASSERT_EQ(first.admin({"load-table", source + "/clients.str", source + "/clients.csv"}), 0);
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(second.start({"--workers", "2"}));

    Device one, two;
    std::string log;
    ASSERT_TRUE(one.build(first.dir(), "dev1", first.port(), "joe", "A1", "D9", log)) << log;
    ASSERT_TRUE(two.build(second.dir(), "dev2", second.port(), "ann", "B2", "E5", log)) << log;

    // dev1 renames A1 and adds D9 through the first server; dev2 receives
    // them through the second, renames B2 and adds E5.
    const std::string a = one.run();
    EXPECT_NE(a.find("sync 0\nsync 0\n"), std::string::npos) << a;
    const std::string b = two.run();
    EXPECT_NE(b.find("sync 0\nsync 0\n"), std::string::npos) << b;
    EXPECT_TRUE(has(rows(b), "row A1 renamed on dev1")) << b;
    EXPECT_TRUE(has(rows(b), "row D9 added on dev1")) << b;

    // One more session each: dev1 receives dev2's changes, dev2 nothing new.
    const std::vector<std::string> last1 = rows(one.run()), last2 = rows(two.run());
    EXPECT_EQ(last1, last2);
    ASSERT_EQ(last1.size(), 5u);
    for (const char* start : {"row A1 renamed on dev1 10.5 .F.", "row B2 renamed on dev2 -3.25 .F.",
                              "row C3 Carla 0 .F.", "row D9 added on dev1 2.5 .F.", "row E5 added on dev2 2.5 .F."})
        EXPECT_TRUE(has(last1, start)) << start;

    std::string exported;
    ASSERT_EQ(second.admin({"export-table", "CLIENTS"}, &exported), 0);
    for (const char* line : {"A1,renamed on dev1,10.50,20240105,T", "B2,renamed on dev2,-3.25,,F",
                             "D9,added on dev1,2.50,,T", "E5,added on dev2,2.50,,T"})
        EXPECT_NE(exported.find(line), std::string::npos) << exported;
    EXPECT_NE(first.waitForSessions(2).find("result=ok"), std::string::npos) << first.log();
}

}  // namespace
