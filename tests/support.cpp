#include "tests/support.h"

#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>

#include "services/window.h"

std::string BuildFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (PreTranslateMessage(message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                                  QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments,
                           const std::string& workingFolder) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_.reset(info.hProcess);
        id_ = info.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    for (;;) {
        path_ = std::string(temp) + "kelvane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

ScratchFolder::~ScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") DeleteFileA(File(name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

void ScratchFolder::CopyFromBuild(const std::string& buildName, const std::string& name) const {
    CopyFileA((BuildFolder() + "\\" + buildName).c_str(), File(name).c_str(), FALSE);
}

ChildProcess& StandIns::Start(const std::string& name, const std::string& arguments) {
    const std::string file = folder_.File(name);
    // A running copy cannot be overwritten.
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        folder_.CopyFromBuild("stand_in.exe", name);
    running_.push_back(std::make_unique<ChildProcess>(file, arguments));
    return *running_.back();
}

ChildProcess& StandIns::StartWithWindow(const std::string& name, const std::string& title) {
    ChildProcess& process = Start(name, "--title \"" + title + "\"");
    PumpUntil(
        [&] {
            DWORD owner = 0;
            const HWND window = FindWindowA(nullptr, title.c_str());
            return window && GetWindowThreadProcessId(window, &owner) && owner == process.Id();
        },
        10000);
    return process;
}

std::string ReadFileText(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string text(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    text.resize(read);
    return text;
}

std::vector<HWND> WindowsOfProcess(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.processId) s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindowOf(DWORD processId) {
    for (HWND window : WindowsOfProcess(processId))
        if (ClassNameOf(window) == "KelvaneMainWindow") return window;
    return nullptr;
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {0, 0};
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {colour.bmWidth, colour.bmHeight};
}

bool TrayIconExists(HWND window) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = 100;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

std::vector<DWORD> ProcessesNamed(const std::string& fileName) {
    std::vector<DWORD> ids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        if (lstrcmpiA(entry.szExeFile, fileName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    return ids;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const uint8_t*>(bits);
    dc_.reset(CreateCompatibleDC(nullptr));
    SelectObject(dc_.get(), bitmap_.get());
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    const size_t stride = (static_cast<size_t>(width_) * 3 + 3) & ~size_t{3};
    const uint8_t* p = bits_ + stride * y + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

bool Canvas::RowIs(int y, COLORREF colour) const {
    for (int x = 0; x < width_; ++x)
        if (Pixel(x, y) != colour) return false;
    return true;
}

size_t CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}
