// Shell launches: the arguments a launch is built from, a stand-in started by
// name from the current directory, and a file that exists nowhere.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "services/shell.h"
#include "tests/support.h"

namespace {

constexpr DWORD StartsWithinMs = 10000;
constexpr DWORD EndsWithinMs = 5000;
constexpr DWORD ReturnsWithinMs = 10000;

TEST(ShellLaunch, OperationsNameTheirVerbsAndEveryOtherNumberNone) {
    const struct {
        int32_t operation;
        const char* verb;
    } cases[] = {
        {1, "edit"}, {2, "explore"}, {3, "find"},  {4, "open"},         {5, "print"},
        {0, nullptr}, {6, nullptr},  {-1, nullptr}, {INT32_MIN, nullptr}, {INT32_MAX, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(BuildShellLaunch(c.operation, "a.txt", nullptr, nullptr, 0).verb, c.verb) << c.operation;
}

TEST(ShellLaunch, ShowModesNameTheirShowCommandsAndEveryOtherNumberNormal) {
    const struct {
        int32_t showMode;
        int showCommand;
    } cases[] = {
        {1, SW_HIDE},          {2, SW_SHOWNORMAL}, {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED},
        {5, SW_SHOWNA},        {6, SW_MINIMIZE},   {0, SW_SHOWNORMAL},    {7, SW_SHOWNORMAL},
        {-1, SW_SHOWNORMAL},   {INT32_MIN, SW_SHOWNORMAL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildShellLaunch(4, "a.txt", nullptr, nullptr, c.showMode).showCommand, c.showCommand)
            << c.showMode;
}

TEST(ShellLaunch, PassesTheTextsAsGivenAndAnOmittedDirectoryAsEmpty) {
    const char* file = "a b.txt";
    const char* parameters = "-x \"y z\"";
    const char* directory = "C:\\Kv";
    const ShellLaunch given = BuildShellLaunch(5, file, parameters, directory, 2);
    EXPECT_EQ(given.file, file);
    EXPECT_EQ(given.parameters, parameters);
    EXPECT_EQ(given.directory, directory);

    const ShellLaunch omitted = BuildShellLaunch(5, file, nullptr, nullptr, 2);
    EXPECT_EQ(omitted.file, file);
    EXPECT_EQ(omitted.parameters, nullptr);
    EXPECT_STREQ(omitted.directory, "");
}

std::string OwnName(const char* stem) {
    return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + ".exe";
}

// A scratch folder made the current directory, with a stand-in copied in
// under a name; every process of that name is ended before the folder goes.
class LaunchFolder {
public:
    explicit LaunchFolder(const std::string& name) : name_(name) {
        GetCurrentDirectoryA(sizeof previous_, previous_);
        folder_.CopyFromBuild("stand_in.exe", name);
        entered_ = SetCurrentDirectoryA(folder_.Path().c_str());
    }
    ~LaunchFolder() {
        for (DWORD id : ProcessesNamed(name_)) {
            const UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            if (process && TerminateProcess(process.get(), 1)) WaitForSingleObject(process.get(), EndsWithinMs);
        }
        SetCurrentDirectoryA(previous_);
    }
    LaunchFolder(const LaunchFolder&) = delete;
    LaunchFolder& operator=(const LaunchFolder&) = delete;

    bool Entered() const { return entered_; }

private:
    ScratchFolder folder_;
    std::string name_;
    char previous_[MAX_PATH] = {};
    bool entered_ = false;
};

TEST(ShellExecuteFile, OpensAProgramNamedInTheCurrentDirectory) {
    const std::string name = OwnName("KvLaunched");
    LaunchFolder folder(name);
    ASSERT_TRUE(folder.Entered());
    ASSERT_TRUE(ProcessesNamed(name).empty());

    ShellExecuteFile(4, name.c_str());
    EXPECT_TRUE(PumpUntil([&] { return !ProcessesNamed(name).empty(); }, StartsWithinMs));
}

TEST(ShellExecuteFile, HandsTheParametersToTheProgram) {
    const std::string name = OwnName("KvTitled");
    const std::string title = "KvShellTitle-" + std::to_string(GetCurrentProcessId());
    LaunchFolder folder(name);
    ASSERT_TRUE(folder.Entered());

    ShellExecuteFile(4, name.c_str(), ("--title \"" + title + "\"").c_str());
    EXPECT_TRUE(PumpUntil([&] { return FindWindowA(nullptr, title.c_str()) != nullptr; }, StartsWithinMs));
}

DWORD WINAPI LaunchNowhere(void* name) {
    ShellExecuteFile(4, static_cast<const char*>(name));
    return 0;
}

bool ShowsAWindow(DWORD processId) {
    for (HWND window : WindowsOfProcess(processId))
        if (IsWindowVisible(window)) return true;
    return false;
}

TEST(ShellExecuteFile, AFileThatExistsNowhereReturnsWithoutShowingAnything) {
    const std::string name = OwnName("KvNowhere");
    LaunchFolder folder(OwnName("KvUnused"));  // an empty current directory but for it
    ASSERT_TRUE(folder.Entered());
    ASSERT_FALSE(ShowsAWindow(GetCurrentProcessId()));

    // On a thread of its own, so that a message box waiting for an answer
    // fails the test instead of hanging it.
    const UniqueHandle thread(CreateThread(nullptr, 0, LaunchNowhere, const_cast<char*>(name.c_str()), 0, nullptr));
    ASSERT_TRUE(thread);
    EXPECT_EQ(WaitForSingleObject(thread.get(), ReturnsWithinMs), WAIT_OBJECT_0);
    EXPECT_FALSE(ShowsAWindow(GetCurrentProcessId()));
}

}  // namespace
