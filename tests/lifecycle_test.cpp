// How a run of the program begins and ends, seen from outside its process.
#include <gtest/gtest.h>

#include "tests/support.h"

namespace {

struct HostRun {
    ScratchFolder folder;
    std::string log = folder.File("events.log");
};

std::string Host() { return BuildFolder() + "\\companion_host.exe"; }

TEST(Lifecycle, DestroyFromTheCreatedEventEndsTheProcessWithCodeZeroBeforeAnyTick) {
    HostRun run;
    ChildProcess host(Host(), "destroy-on-created \"" + run.log + "\"");
    ASSERT_TRUE(host.Started());
    EXPECT_EQ(host.WaitForExit(10000), 0u);
    EXPECT_EQ(ReadFileText(run.log), "created-returns-with-window\ndestroying\n");
}

TEST(Lifecycle, ExitProgramEndsWithItsCodeAndRunsNoFurtherHandler) {
    HostRun run;
    ChildProcess host(Host(), "exit-on-created \"" + run.log + "\"");
    ASSERT_TRUE(host.Started());
    EXPECT_EQ(host.WaitForExit(10000), 7u);
    EXPECT_EQ(ReadFileText(run.log), "") << "the windows go with events suppressed";
}

TEST(Lifecycle, StartsInItsOwnFolderWhateverTheWorkingDirectory) {
    HostRun run;
    ScratchFolder elsewhere;
    ChildProcess host(Host(), "report-folder \"" + run.log + "\"", elsewhere.Path());
    ASSERT_TRUE(host.Started());
    EXPECT_EQ(host.WaitForExit(10000), 0u);
    const std::string log = ReadFileText(run.log);
    EXPECT_EQ(log.substr(0, log.find('\n')), BuildFolder());
}

TEST(Lifecycle, AMainWindowThatCannotBeBuiltShowsAnErrorAndEndsWithMinusOne) {
    HostRun run;
    ChildProcess host(Host(), "refuse-main-window \"" + run.log + "\"");
    ASSERT_TRUE(host.Started());
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (HWND w : WindowsOfProcess(host.Id()))
                if (ClassNameOf(w) == "#32770" && IsWindowVisible(w)) box = w;
            return box != nullptr;
        },
        10000));
    EXPECT_EQ(TextOf(box), "Kelvane");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(host.WaitForExit(10000), static_cast<DWORD>(-1));
    EXPECT_EQ(ReadFileText(run.log), "") << "no handler may run";
}

}  // namespace
