// Whether a process runs, and when a tick decides the client is gone.
#include <gtest/gtest.h>

#include <memory>

#include "app/watchdog.h"
#include "tests/support.h"

namespace {

TEST(ProcessExists, MatchesWholeFileNamesInEitherCaseMode) {
    StandIns standIns;
    standIns.Start("KVWATCHED.EXE");
    standIns.Start("KvWatched.exe.exe");
    standIns.Start("xKvWatched.exe");
    ASSERT_TRUE(PumpUntil([] { Text n = "KVWATCHED.EXE"; return ProcessExists(n, true); }, 5000));

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
        Text name = c.name;
        EXPECT_EQ(ProcessExists(name, c.caseSensitive), c.exists) << c.name;
        EXPECT_EQ(name, c.nameAfter) << c.name;
    }
}

TEST(WatchdogDecision, ShutsDownOnlyWhenASearchLookedAndFoundNothing) {
    EXPECT_TRUE(ClientIsGone(false));
    EXPECT_FALSE(ClientIsGone(true));
    EXPECT_FALSE(ClientIsGone(std::nullopt)) << "a failed snapshot decides nothing";
}

}  // namespace
