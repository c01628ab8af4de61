// The client watchdog: whether a process runs, and the program ending with
// the client. The ClientWatchdog tests run the real program beside stand-ins
// under the client's own names, so CTest runs them one at a time.
#include <gtest/gtest.h>

#include <memory>

#include "app/watchdog.h"
#include "tests/support.h"

namespace {

// Stand-in processes under the names a test needs, in a folder of their own.
class StandIns {
public:
    ChildProcess& Start(const std::string& name) {
        folder.CopyFromBuild("stand_in.exe", name);
        running.push_back(std::make_unique<ChildProcess>(folder.File(name), ""));
        return *running.back();
    }
    ScratchFolder folder;

private:
    std::vector<std::unique_ptr<ChildProcess>> running;
};

TEST(ProcessExists, MatchesWholeFileNamesInEitherCaseMode) {
    StandIns standIns;
    standIns.Start("KVWATCHED.EXE");
    standIns.Start("KvWatched.exe.exe");
    standIns.Start("xKvWatched.exe");
    ASSERT_TRUE(PumpUntil([] { std::string n = "KVWATCHED.EXE"; return ProcessExists(n, true); }, 5000));

    const struct {
        const char* name;
        bool caseSensitive, exists;
        const char* nameAfter;
    } cases[] = {
        {"KvWatched.exe", false, true, "kvwatched.exe"},
        {"kvwatched.exe", false, true, "kvwatched.exe"},
        {"KvWatched.exe", true, false, "KvWatched.exe"},
        {"KVWATCHED.EXE", true, true, "KVWATCHED.EXE"},
        {"KvWatched", false, false, "kvwatched"},
        {"Watched.exe", false, false, "watched.exe"},
        {"KvNowhere.exe", false, false, "kvnowhere.exe"},
    };
    for (const auto& c : cases) {
        std::string name = c.name;
        EXPECT_EQ(ProcessExists(name, c.caseSensitive), c.exists) << c.name;
        EXPECT_EQ(name, c.nameAfter) << c.name;
    }
}

TEST(WatchdogDecision, ShutsDownOnlyWhenASearchLookedAndFoundNothing) {
    EXPECT_TRUE(ClientIsGone(false));
    EXPECT_FALSE(ClientIsGone(true));
    EXPECT_FALSE(ClientIsGone(std::nullopt)) << "a failed snapshot decides nothing";
}

// Under the real program a tick comes 10 s after start, give or take wine's
// start-up: these bounds leave room on either side.
constexpr DWORD BeforeFirstTickMs = 8000;
constexpr DWORD PastATickMs = 14000;

struct Companion {
    StandIns standIns;
    std::unique_ptr<ChildProcess> program;

    void Start() {
        standIns.folder.CopyFromBuild("kelvane.exe", "kelvane.exe");
        program = std::make_unique<ChildProcess>(standIns.folder.File("kelvane.exe"), "");
        ASSERT_TRUE(program->Started());
    }
};

TEST(ClientWatchdog, ARunningClientKeepsItAndItsEndEndsTheServicesAndTheProgram) {
    Companion companion;
    ChildProcess& client = companion.standIns.Start("QYCLIENT.EXE");
    const std::vector<std::string> services = {"QyFragment.exe", "QyKernel.exe", "qyplayer.exe",
                                               "QiyiService.exe"};
    std::vector<ChildProcess*> running;
    for (const std::string& name : services) running.push_back(&companion.standIns.Start(name));
    companion.Start();

    EXPECT_FALSE(companion.program->WaitForExit(BeforeFirstTickMs + 4000))
        << "the client runs, in capitals: a tick must leave the program alone";
    for (ChildProcess* service : running) EXPECT_FALSE(service->WaitForExit(0));

    TerminateProcess(client.Handle(), 1);
    EXPECT_EQ(companion.program->WaitForExit(PastATickMs), 0u);
    for (size_t i = 0; i < services.size(); ++i)
        EXPECT_EQ(running[i]->WaitForExit(5000), 0u) << services[i] << " ended with code 0";
}

TEST(ClientWatchdog, OnlyLongerNamesCountAsNoClientAndNoServicesIsFine) {
    Companion companion;
    companion.standIns.Start("QyClient.exe.exe");
    companion.standIns.Start("MyQyClient.exe");
    companion.Start();
    EXPECT_FALSE(companion.program->WaitForExit(BeforeFirstTickMs)) << "no tick before 10 s";
    EXPECT_EQ(companion.program->WaitForExit(PastATickMs - BeforeFirstTickMs), 0u);
}

}  // namespace
