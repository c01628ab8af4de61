// What the tests share: child processes, scratch folders, message pumping and
// bounded waits.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "services/owners.h"
#include "services/text.h"

// How a Text shows in a failed expectation.
inline void PrintTo(const Text& text, std::ostream* out) { *out << '"' << text.view() << '"'; }

// The folder of the running test program; the programs the tests start are
// built beside it.
std::string BuildFolder();

// Polls until done() holds or timeoutMs passes; pumps this thread's messages
// meanwhile, through the program's own pre-translation. Answers done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);

// A process started by a test, ended when the test ends.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::string& arguments,
                 const std::string& workingFolder = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    // The exit code, or nothing when it still runs after timeoutMs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);

private:
    UniqueHandle process_;
    DWORD id_ = 0;
};

// A new empty folder under the temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // Copies a file of the build folder in under the given name.
    void CopyFromBuild(const std::string& buildName, const std::string& name) const;

private:
    std::string path_;
};

// Copies of stand_in.exe, started under the names a test needs, in a folder
// of their own; ended, like the folder, with the test. With a title the
// stand-in also owns a hidden top-level window of that title.
class StandIns {
public:
    ChildProcess& Start(const std::string& name, const std::string& arguments = "");
    ChildProcess& StartWithWindow(const std::string& name, const std::string& title);
    const ScratchFolder& Folder() const { return folder_; }

private:
    ScratchFolder folder_;
    std::vector<std::unique_ptr<ChildProcess>> running_;  // ended before the folder goes
};

std::string ReadFileText(const std::string& path);

// The top-level windows of a process, and its MainWindow among them.
std::vector<HWND> WindowsOfProcess(DWORD processId);
HWND MainWindowOf(DWORD processId);

// An icon's size in pixels, 0 x 0 for a handle that is no icon.
SIZE IconSize(HICON icon);

// Whether the shell shows the icon of that window: a modify with no flags
// succeeds only for an icon that exists.
bool TrayIconExists(HWND window);

// The ids of the running processes of that executable file name.
std::vector<DWORD> ProcessesNamed(const std::string& fileName);
std::string ClassNameOf(HWND window);
std::string TextOf(HWND window);

// A 24-bit top-down bitmap selected into a memory DC, to draw into and read.
class Canvas {
public:
    Canvas(int width, int height);
    HDC dc() const { return dc_.get(); }
    COLORREF Pixel(int x, int y) const;
    // True when every pixel of row y has the given colour.
    bool RowIs(int y, COLORREF colour) const;

private:
    int width_, height_;
    UniqueBitmap bitmap_;
    UniqueMemoryDC dc_;  // deleted first, which lets go of the bitmap
    const uint8_t* bits_ = nullptr;
};

// The private memory this process has committed. Wine reports it as
// PagefileUsage and leaves PrivateUsage at 0; Windows reports both alike.
size_t CommittedBytes();
