// Ending processes by name: which names are the same, which process is the
// target, and real stand-in processes ended (or spared) by the service.
#include <gtest/gtest.h>

#include <memory>

#include "services/process.h"
#include "tests/support.h"

namespace {

constexpr DWORD EndsWithinMs = 5000;
constexpr DWORD StaysForMs = 500;

std::string Bytes(std::initializer_list<int> bytes) {
    std::string text;
    for (int b : bytes) text += static_cast<char>(b);
    return text;
}

bool StillRuns(ChildProcess& process) { return !process.WaitForExit(StaysForMs); }

TEST(SameFileName, ComparesWholeNamesAndFoldsOnlyAsciiLetters) {
    const struct {
        const char *first, *second;
        bool same;
    } cases[] = {
        {"QyPlayer.exe", "QyPlayer.exe", true},
        {"QyPlayer.exe", "qYpLAYER.EXE", true},
        {"QyPlay", "QyPlayer.exe", false},
        {"QyPlayer.exe", "QyPlay", false},
        {"QyPlayer.exe", "QyPlayer.exe.bak", false},
        {"C:\\x\\QyPlayer.exe", "QyPlayer.exe", false},
        {"QyPlayer.*", "QyPlayer.exe", false},
        {"@[\\]^", "`{|}~", false},  // a 0x20 apart, as letters are
        {"", "QyPlayer.exe", false},
        {"QyPlayer.exe", "", false},
        {"", "", true},
        {nullptr, "", true},
        {nullptr, "QyPlayer.exe", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameFileName(c.first, c.second), c.same)
            << (c.first ? c.first : "(missing)") << " vs " << c.second;
}

TEST(SameFileName, FoldsDoubleByteCharactersThroughTheSystemLocale) {
    if (GetACP() != 936) GTEST_SKIP() << "the cases are code page 936 bytes";
    const struct {
        const char* what;
        std::string first, second;
        bool same;
    } cases[] = {
        {"fullwidth P and p", Bytes({0xA3, 0xD0}), Bytes({0xA3, 0xF0}), true},
        {"Greek alpha, both cases", Bytes({0xA6, 0xA1, '.', 'e'}), Bytes({0xA6, 0xC1, '.', 'E'}), true},
        {"fullwidth P and fullwidth zero", Bytes({0xA3, 0xD0}), Bytes({0xA3, 0xB0}), false},
        {"trail bytes A and a are other ideographs", Bytes({0x81, 0x41}), Bytes({0x81, 0x61}), false},
        {"trail byte A kept, ASCII after it folded", Bytes({0x81, 0x41, 'x'}), Bytes({0x81, 0x41, 'X'}), true},
        {"a lead byte alone is a prefix", Bytes({0xA3}), Bytes({0xA3, 0xD0}), false},
    };
    for (const auto& c : cases) EXPECT_EQ(SameFileName(c.first.c_str(), c.second.c_str()), c.same) << c.what;
}

TEST(PickTarget, PrefersTheWindowOwnerOnlyWhenItBearsTheName) {
    const std::vector<RunningProcess> processes = {
        {4, "services.exe"}, {10, "editor.exe"}, {20, "QyPlayer.exe"}, {30, "qyplayer.exe"}};
    const struct {
        const char* what;
        const char* text;
        std::optional<DWORD> owner, target;
    } cases[] = {
        {"no window: the first of the name", "QyPlayer.exe", std::nullopt, 20},
        {"the owner bears the name", "QyPlayer.exe", 30, 30},
        {"the owner is another program", "QyPlayer.exe", 10, 20},
        {"the owner is not listed", "QyPlayer.exe", 99, 20},
        {"an owner is no target for a title that is not its name", "QyPlay", 20, std::nullopt},
        {"nothing of the name", "absent.exe", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(PickTarget(c.text, c.owner, processes), c.target) << c.what;
}

TEST(TerminateProcessByName, EndsAProcessWhoseFileNameIsInOtherCaseWithExitCodeZero) {
    StandIns standIns;
    ChildProcess& target = standIns.Start("kvcase.exe");
    ASSERT_TRUE(target.Started());
    EXPECT_TRUE(TerminateProcessByName("KvCase.EXE"));
    EXPECT_EQ(target.WaitForExit(EndsWithinMs), 0u);
}

TEST(TerminateProcessByName, EndsOneProcessPerCall) {
    StandIns standIns;
    ChildProcess& first = standIns.Start("KvTwin.exe");
    ChildProcess& second = standIns.Start("KvTwin.exe");
    ASSERT_TRUE(first.Started() && second.Started());

    EXPECT_TRUE(TerminateProcessByName("KvTwin.exe"));
    const HANDLE both[] = {first.Handle(), second.Handle()};
    const DWORD ended = WaitForMultipleObjects(2, both, FALSE, EndsWithinMs);
    ASSERT_TRUE(ended == WAIT_OBJECT_0 || ended == WAIT_OBJECT_0 + 1);
    ChildProcess& survivor = ended == WAIT_OBJECT_0 ? second : first;
    EXPECT_TRUE(StillRuns(survivor));

    EXPECT_TRUE(TerminateProcessByName("KvTwin.exe"));
    EXPECT_EQ(survivor.WaitForExit(EndsWithinMs), 0u);
    EXPECT_FALSE(TerminateProcessByName("KvTwin.exe")) << "none is left";
}

TEST(TerminateProcessByName, SparesProcessesWhoseNameIsNotTheWholeText) {
    StandIns standIns;
    ChildProcess& process = standIns.Start("KvWhole.exe");
    ASSERT_TRUE(process.Started());
    const std::string path = BuildFolder() + "\\KvWhole.exe";
    for (const char* text : {"KvWhole", "vWhole.exe", "KvWhole.exe.bak", "C:\\x\\KvWhole.exe",
                             path.c_str(), "KvWhole.*", "", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(TerminateProcessByName(text)) << (text ? text : "(missing)");
    EXPECT_TRUE(StillRuns(process));
    EXPECT_TRUE(TerminateProcessByName("KvWhole.exe")) << "the process could be found all along";
}

TEST(TerminateProcessByName, AWindowTitledWithTheNameSparesAnOwnerOfAnotherName) {
    StandIns standIns;
    ChildProcess& editor = standIns.StartWithWindow("KvEditor.exe", "KvTarget.exe");
    ChildProcess& target = standIns.Start("KvTarget.exe");
    ASSERT_TRUE(editor.Started() && target.Started());

    EXPECT_TRUE(TerminateProcessByName("KvTarget.exe"));
    EXPECT_EQ(target.WaitForExit(EndsWithinMs), 0u);
    EXPECT_FALSE(TerminateProcessByName("KvTarget.exe")) << "the window alone is no target";
    EXPECT_TRUE(StillRuns(editor));
}

TEST(TerminateProcessByName, AWindowWhoseOwnerBearsTheNameMakesThatOwnerTheTarget) {
    StandIns standIns;
    // Plain namesakes before and after it, so the first of the process list
    // is never the windowed one, in whichever order the list runs.
    ChildProcess& before = standIns.Start("KvOwn.exe");
    ChildProcess& windowed = standIns.StartWithWindow("KvOwn.exe", "KvOwn.exe");
    ChildProcess& after = standIns.Start("KvOwn.exe");
    ASSERT_TRUE(before.Started() && windowed.Started() && after.Started());

    EXPECT_TRUE(TerminateProcessByName("KvOwn.exe"));
    EXPECT_EQ(windowed.WaitForExit(EndsWithinMs), 0u);
    EXPECT_TRUE(StillRuns(before));
    EXPECT_TRUE(StillRuns(after));
}

TEST(StandIn, StaysAliveAndOwnsAHiddenWindowWithTheGivenTitle) {
    StandIns standIns;
    ChildProcess& plain = standIns.Start("KvPlain.exe");
    ChildProcess& windowed = standIns.StartWithWindow("KvWindowed.exe", "KvWindowed title");
    HWND window = nullptr;
    for (HWND w : WindowsOfProcess(windowed.Id()))  // the system may add windows of its own
        if (ClassNameOf(w) == "KelvaneStandIn") window = w;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TextOf(window), "KvWindowed title");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(StillRuns(plain));
    EXPECT_TRUE(StillRuns(windowed));
}

}  // namespace
