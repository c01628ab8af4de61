// The real program, as its users meet it, beside stand-ins under the client's
// own names. These tests share the event and the registry value that mark a
// resident instance, and the client's process names: CTest runs the
// Companion suites one at a time.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support.h"

namespace {

constexpr char Client[] = "QyClient.exe";
const char* const Services[] = {"QyFragment.exe", "QyKernel.exe", "QyPlayer.exe", "QiyiService.exe"};
constexpr UINT CloseServicesCommand = 20001, ExitCommand = 20003;

// A tick comes 10 s after the program starts, give or take wine's start-up.
constexpr DWORD BeforeFirstTickMs = 8000;
constexpr DWORD PastATickMs = 14000;
constexpr DWORD SettleMs = 1000;

// The value "aqy" directly under HKEY_CURRENT_CONFIG, as the raw API sees it.
std::optional<DWORD> PublishedWindow() {
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExA(HKEY_CURRENT_CONFIG, "aqy", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) ||
        type != REG_DWORD)
        return std::nullopt;
    return data;
}

// Windows lets only administrators write there; wine lets everyone.
bool CurrentConfigWritable() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_CONFIG, nullptr, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

DWORD Handle32(HWND window) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(window)); }

bool IsTopmost(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST; }

std::string ImageFolderOf(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (!process || !QueryFullProcessImageNameA(process.get(), 0, path, &size)) return {};
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

// The program in a folder of its own (with the client stand-in beside it,
// when installed), started from another working directory, as a shortcut
// would; stand-ins for the services run from that other folder.
class Companion : public testing::Test {
protected:
    void SetUp() override {
        programFolder.CopyFromBuild("kelvane.exe", "kelvane.exe");
        programFolder.CopyFromBuild("stand_in.exe", Client);
    }
    void TearDown() override {
        // The client the program launched is no child of the test's.
        for (DWORD id : ProcessesNamed(Client)) {
            UniqueHandle client(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            if (client && TerminateProcess(client.get(), 1)) WaitForSingleObject(client.get(), 5000);
        }
    }

    ChildProcess& StartProgram() {
        programs.push_back(std::make_unique<ChildProcess>(programFolder.File("kelvane.exe"), "",
                                                          elsewhere.Folder().Path()));
        return *programs.back();
    }

    // Starts the program and waits until it is resident: its window exists
    // and the client it launched runs.
    HWND StartResident(ChildProcess*& program) {
        program = &StartProgram();
        HWND window = nullptr;
        const bool resident = PumpUntil(
            [&] { return (window = MainWindowOf(program->Id())) && !ProcessesNamed(Client).empty(); },
            10000);
        return resident ? window : nullptr;
    }

    // Stand-ins for the client's four services, started from elsewhere.
    std::vector<ChildProcess*> StartServices(std::initializer_list<const char*> names) {
        std::vector<ChildProcess*> services;
        for (const char* name : names) services.push_back(&elsewhere.Start(name));
        return services;
    }
    std::vector<ChildProcess*> StartServices() {
        return StartServices({Services[0], Services[1], Services[2], Services[3]});
    }

    ScratchFolder programFolder;
    StandIns elsewhere;
    std::vector<std::unique_ptr<ChildProcess>> programs;
};

TEST_F(Companion, FirstStartIsResidentHiddenAndLaunchesTheClientFromItsOwnFolder) {
    ChildProcess* program = nullptr;
    HWND window = StartResident(program);
    ASSERT_TRUE(window);
    // All of this came before the launch.
    if (CurrentConfigWritable()) {
        EXPECT_EQ(PublishedWindow(), Handle32(window));
    }
    EXPECT_TRUE(UniqueHandle(OpenEventA(SYNCHRONIZE, FALSE, "aqy")));
    EXPECT_TRUE(TrayIconExists(window));
    for (HWND w : WindowsOfProcess(program->Id())) EXPECT_FALSE(IsWindowVisible(w)) << ClassNameOf(w);

    const std::vector<DWORD> clients = ProcessesNamed(Client);
    ASSERT_EQ(clients.size(), 1u);
    EXPECT_EQ(ImageFolderOf(clients[0]), programFolder.Path());

    EXPECT_EQ(TextOf(window), "Moravik  ----  example.org       by:Tollbrin");
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 450);
    EXPECT_EQ(outer.bottom - outer.top, 290);
    EXPECT_FALSE(program->WaitForExit(SettleMs)) << "the program should stay in its message loop";
}

// What the screen shows of the client area: picture, not one flat colour.
struct ClientAreaColours {
    size_t distinct = 0;
    double buttonFaceShare = 0;
};
ClientAreaColours CaptureClientArea(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int width = client.right - client.left, height = client.bottom - client.top;
    Canvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, width, height, screen, client.left, client.top, SRCCOPY);
    ReleaseDC(nullptr, screen);

    std::vector<COLORREF> seen;
    size_t buttonFace = 0;
    for (int y = 0; y < height; y += 3)
        for (int x = 0; x < width; x += 3) {
            const COLORREF c = canvas.Pixel(x, y);
            if (c == GetSysColor(COLOR_BTNFACE)) ++buttonFace;
            if (seen.size() < 1000 && std::find(seen.begin(), seen.end(), c) == seen.end())
                seen.push_back(c);
        }
    const size_t sampled = static_cast<size_t>((width + 2) / 3) * ((height + 2) / 3);
    return {seen.size(), sampled ? static_cast<double>(buttonFace) / sampled : 1.0};
}

TEST_F(Companion, AClickShowsTheAboutWindowWithItsPictureAndClosingItOnlyHides) {
    ChildProcess* program = nullptr;
    HWND window = StartResident(program);
    ASSERT_TRUE(window);

    PostMessageA(window, WM_APP + 100, 100, WM_LBUTTONUP);  // as the shell sends a click
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
    PumpFor(SettleMs);  // let it paint
    const ClientAreaColours colours = CaptureClientArea(window);
    EXPECT_GT(colours.distinct, 50u) << "the picture is not drawn";
    EXPECT_LT(colours.buttonFaceShare, 0.05) << "the background shows through";

    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    EXPECT_FALSE(IsWindowVisible(window));
    PostMessageA(window, WM_APP + 100, 100, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }, 5000));
    EXPECT_FALSE(program->WaitForExit(SettleMs)) << "closing the window must not end the program";
    EXPECT_TRUE(TrayIconExists(window));
}

TEST_F(Companion, ASecondStartRestoresAndRaisesTheResidentAndEnds) {
    ChildProcess* resident = nullptr;
    HWND window = StartResident(resident);
    ASSERT_TRUE(window);
    ASSERT_FALSE(IsWindowVisible(window));

    ChildProcess& second = StartProgram();
    EXPECT_EQ(second.WaitForExit(10000), 0u);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsTopmost(window)) << "raised, then back among the ordinary windows";
    if (CurrentConfigWritable()) {
        EXPECT_EQ(PublishedWindow(), Handle32(window)) << "the second start writes nothing";
    }
    PumpFor(SettleMs);
    EXPECT_EQ(ProcessesNamed(Client).size(), 1u) << "the second start launches nothing";
    EXPECT_FALSE(resident->WaitForExit(0));
}

TEST_F(Companion, AStaleOrUnreadablePublishedHandleStillReachesTheResidentOnly) {
    ChildProcess* resident = nullptr;
    HWND window = StartResident(resident);
    ASSERT_TRUE(window);
    elsewhere.StartWithWindow("KvForeign.exe", "KvForeign");
    HWND foreign = FindWindowA(nullptr, "KvForeign");
    ASSERT_TRUE(foreign);

    DWORD stale = Handle32(foreign);
    RegSetValueExA(HKEY_CURRENT_CONFIG, "aqy", 0, REG_DWORD, reinterpret_cast<BYTE*>(&stale), 4);
    EXPECT_EQ(StartProgram().WaitForExit(10000), 0u);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowVisible(foreign)) << "a foreign window was restored";

    SendMessageA(window, WM_CLOSE, 0, 0);  // hides it
    ASSERT_FALSE(IsWindowVisible(window));
    RegSetValueExA(HKEY_CURRENT_CONFIG, "aqy", 0, REG_SZ, reinterpret_cast<const BYTE*>("123"), 4);
    EXPECT_EQ(StartProgram().WaitForExit(10000), 0u);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Companion, TwoStartsAtOnceLeaveOneResident) {
    ChildProcess& first = StartProgram();
    ChildProcess& second = StartProgram();
    std::optional<DWORD> firstEnd, secondEnd;
    PumpUntil([&] { return (firstEnd = first.WaitForExit(0)) || (secondEnd = second.WaitForExit(0)); },
              10000);
    PumpFor(SettleMs);
    firstEnd = first.WaitForExit(0);
    secondEnd = second.WaitForExit(0);
    ASSERT_NE(firstEnd.has_value(), secondEnd.has_value()) << "exactly one of them ends";
    EXPECT_EQ(firstEnd ? *firstEnd : *secondEnd, 0u);
    EXPECT_EQ(ProcessesNamed(Client).size(), 1u);
}

TEST_F(Companion, ExitEndsOnlyTheCompanionAndALogOffQueryIsRefused) {
    const std::vector<ChildProcess*> services = StartServices();
    ChildProcess* program = nullptr;
    HWND window = StartResident(program);
    ASSERT_TRUE(window);

    SendMessageA(window, WM_COMMAND, 20002, 0);  // "关于"
    ASSERT_TRUE(IsWindowVisible(window));
    DWORD_PTR answer = TRUE;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                    5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(FALSE));
    EXPECT_FALSE(IsWindowVisible(window));

    PostMessageA(window, WM_COMMAND, ExitCommand, 0);
    EXPECT_EQ(program->WaitForExit(5000), 0u);
    EXPECT_FALSE(TrayIconExists(window));
    PumpFor(SettleMs);
    EXPECT_EQ(ProcessesNamed(Client).size(), 1u);
    for (ChildProcess* service : services) EXPECT_FALSE(service->WaitForExit(0));
}

TEST_F(Companion, CloseServicesEndsTheFourServicesButNeverTheClient) {
    const std::vector<ChildProcess*> services = StartServices();
    ChildProcess* program = nullptr;
    HWND window = StartResident(program);
    ASSERT_TRUE(window);

    PostMessageA(window, WM_COMMAND, CloseServicesCommand, 0);
    EXPECT_EQ(program->WaitForExit(5000), 0u);
    EXPECT_FALSE(TrayIconExists(window));
    for (size_t i = 0; i < services.size(); ++i) EXPECT_EQ(services[i]->WaitForExit(5000), 0u) << Services[i];
    EXPECT_EQ(ProcessesNamed(Client).size(), 1u);
}

TEST_F(Companion, ARunningClientKeepsItAndItsEndEndsTheServicesAndTheProgram) {
    const std::vector<ChildProcess*> services =
        StartServices({"QyFragment.exe", "QyKernel.exe", "qyplayer.exe", "QiyiService.exe"});
    ChildProcess* program = nullptr;
    ASSERT_TRUE(StartResident(program));

    EXPECT_FALSE(program->WaitForExit(BeforeFirstTickMs + 4000)) << "a tick must leave it running";
    for (ChildProcess* service : services) EXPECT_FALSE(service->WaitForExit(0));

    TearDown();  // ends the client
    EXPECT_EQ(program->WaitForExit(PastATickMs), 0u);
    for (ChildProcess* service : services) EXPECT_EQ(service->WaitForExit(5000), 0u);
}

TEST_F(Companion, WithoutAClientItEndsAtTheFirstTick) {
    DeleteFileA(programFolder.File(Client).c_str());
    elsewhere.Start("QyClient.exe.exe");
    elsewhere.Start("MyQyClient.exe");
    ChildProcess& program = StartProgram();
    EXPECT_FALSE(program.WaitForExit(BeforeFirstTickMs)) << "no tick before 10 s";
    EXPECT_EQ(program.WaitForExit(PastATickMs - BeforeFirstTickMs), 0u);
}

TEST_F(Companion, TheClientRunningInCapitalsCountsAsRunning) {
    DeleteFileA(programFolder.File(Client).c_str());
    ChildProcess& client = elsewhere.Start("QYCLIENT.EXE");
    ChildProcess& program = StartProgram();
    EXPECT_FALSE(program.WaitForExit(BeforeFirstTickMs + 4000));
    TerminateProcess(client.Handle(), 1);
    EXPECT_EQ(program.WaitForExit(PastATickMs), 0u);
}

}  // namespace
