// Measures a tray program and the watchdog's tick work, for bench/run.sh.
//   measure start RUNS PROGRAM WINDOW_CLASS [PROGRAM WINDOW_CLASS]...
//       Starts each PROGRAM (with QyClient.exe beside it) RUNS times. Each
//       run times CreateProcess to the client's creation, waits until the
//       program's window exists too, and reads its memory counters.
//   measure tick CALLS ROUNDS
//       Times CALLS bare snapshot walks and CALLS of the program's search,
//       interleaved ROUNDS times.
// Prints "name value" lines ("program name value" for start): medians over
// the runs or rounds.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/watchdog.h"
#include "bench/bare_walk.h"
#include "services/owners.h"

namespace {

constexpr DWORD ResidentTimeoutMs = 10000;
constexpr DWORD SettleMs = 500;
constexpr DWORD ExitTimeoutMs = 5000;

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// User plus kernel time of this process, in microseconds.
double CpuUs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto us = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) / 10.0;
    };
    return us(kernel) + us(user);
}

HWND WindowOfClass(DWORD processId, const char* className) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

void End(HANDLE process) {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, ExitTimeoutMs);
}

// A program killed while its tray icon shows stalls the next program's
// start under wine by about 2 s, so each run ends its program the way a
// user would: Kelvane through its tray menu's exit item (the last of
// MenuList), the baseline by closing its window. Killed only when that fails.
void EndProgram(HANDLE process, DWORD processId, const char* windowClass) {
    if (HWND window = WindowOfClass(processId, windowClass)) {
        if (std::string(windowClass) == MainWindowClassName)
            PostMessageA(window, WM_COMMAND, MenuCommandBase + MenuEntryCount - 1, 0);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process, ExitTimeoutMs) != WAIT_OBJECT_0)
        std::fprintf(stderr, "the program did not exit when asked; killed\n");
    End(process);
}

struct StartRun {
    bool ok = false;
    double clientLaunchMs = 0;
    double peakWorkingSetKiB = 0;
    double committedKiB = 0;
};

// Whether the process is a QyClient.exe.
bool IsClient(DWORD processId) {
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    char path[MAX_PATH] = {};
    DWORD length = sizeof path;
    if (!process || !QueryFullProcessImageNameA(process.get(), 0, path, &length)) return false;
    const char* name = std::strrchr(path, '\\');
    return _stricmp(name ? name + 1 : path, ClientImageName) == 0;
}

StartRun MeasureStart(const std::string& program, const char* windowClass) {
    StartRun run;
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};

    // The program runs in a job whose port reports each process created in
    // it, the client included, as it is created: nothing is polled. Closing
    // the job ends whatever of it still runs.
    const UniqueHandle job(CreateJobObjectA(nullptr, nullptr));
    const UniqueHandle port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job.get(), port.get()};
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !port ||
        !SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation,
                                 &association, sizeof association) ||
        !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
        std::fprintf(stderr, "cannot set up a job (error %lu)\n", GetLastError());
        return run;
    }

    const double start = NowMs();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, nullptr, folder.c_str(), &startup, &info)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return run;
    }
    const UniqueHandle process(info.hProcess);
    AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);

    // A new process's image name can be read only once it has started, a
    // moment after the port reports it: each is kept with the time it was
    // reported until its name is known.
    struct Child {
        DWORD id;
        double at;
    };
    std::vector<Child> children;
    DWORD client = 0;
    bool windowSeen = false;
    while (NowMs() - start < ResidentTimeoutMs && !(client && windowSeen)) {
        DWORD message = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* detail = nullptr;
        if (GetQueuedCompletionStatus(port.get(), &message, &key, &detail, 1) &&
            message == JOB_OBJECT_MSG_NEW_PROCESS) {
            const auto id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail));
            if (id != info.dwProcessId) children.push_back({id, NowMs() - start});
        }
        for (const Child& child : children)
            if (!client && IsClient(child.id)) client = child.id, run.clientLaunchMs = child.at;
        if (!windowSeen) windowSeen = WindowOfClass(info.dwProcessId, windowClass) != nullptr;
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) break;  // ended early
    }
    run.ok = client && windowSeen;
    if (run.ok) {
        Sleep(SettleMs);
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        run.ok = GetProcessMemoryInfo(process.get(), &memory, sizeof memory) &&
                 WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
        run.peakWorkingSetKiB = memory.PeakWorkingSetSize / 1024.0;
        run.committedKiB = memory.PagefileUsage / 1024.0;
    } else {
        std::fprintf(stderr, "%s: %s\n", program.c_str(),
                     client ? "no window of its class" : "no client launched");
    }
    if (const UniqueHandle clientProcess{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, client)})
        End(clientProcess.get());
    EndProgram(process.get(), info.dwProcessId, windowClass);
    return run;
}

// The programs' runs alternate, so that whatever else loads the machine
// weighs on each alike; a first round, not counted, warms the file cache.
int MeasureStarts(int runs, const std::vector<std::pair<std::string, std::string>>& programs) {
    struct Figures {
        std::vector<double> launch, peak, committed;
    };
    std::vector<Figures> figures(programs.size());
    for (int i = 0; i <= runs; ++i) {
        for (size_t p = 0; p < programs.size(); ++p) {
            const auto& [program, windowClass] = programs[p];
            const StartRun run = MeasureStart(program, windowClass.c_str());
            if (!run.ok) return 1;
            std::fprintf(stderr, "  %s %s: client after %.1f ms, peak working set %.0f KiB\n",
                         program.c_str(), i ? ("run " + std::to_string(i)).c_str() : "warm-up",
                         run.clientLaunchMs, run.peakWorkingSetKiB);
            if (i == 0) continue;
            figures[p].launch.push_back(run.clientLaunchMs);
            figures[p].peak.push_back(run.peakWorkingSetKiB);
            figures[p].committed.push_back(run.committedKiB);
        }
    }
    for (size_t p = 0; p < programs.size(); ++p) {
        const char* name = programs[p].first.c_str() + programs[p].first.find_last_of('\\') + 1;
        const Figures& f = figures[p];
        std::printf("%s client_launch_ms %.1f\n", name, Median(f.launch));
        std::printf("%s client_launch_min_ms %.1f\n", name,
                    *std::min_element(f.launch.begin(), f.launch.end()));
        std::printf("%s peak_working_set_kib %.0f\n", name, Median(f.peak));
        std::printf("%s committed_kib %.0f\n", name, Median(f.committed));
    }
    return 0;
}

// The text type SearchProcesses takes the name in (it lowers it in place).
template <typename Answer, typename Name, typename... Rest>
Name NameTypeOf(Answer (*)(Name&, Rest...));
using ProcessName = decltype(NameTypeOf(&SearchProcesses));

// The program's tick without its consequence: the same name, made anew as
// each tick makes it, searched the same way.
bool ProgramTickSearch() {
    ProcessName client = ClientImageName;
    return SearchProcesses(client, false).value_or(false);
}

bool BareTickSearch() { return BareProcessRuns(ClientImageName); }

int ProcessCount() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry))
        ++count;
    CloseHandle(snapshot);
    return count;
}

struct Cost {
    double cpuUs, wallUs;
};

Cost TimeCalls(bool (*search)(), int calls) {
    const double cpu = CpuUs(), wall = NowMs();
    int found = 0;
    for (int i = 0; i < calls; ++i) found += search();
    if (found) std::fprintf(stderr, "note: %s runs; the walks stopped at it\n", ClientImageName);
    return {(CpuUs() - cpu) / calls, (NowMs() - wall) * 1000.0 / calls};
}

int MeasureTicks(int calls, int rounds) {
    std::vector<double> bareCpu, bareWall, programCpu, programWall;
    TimeCalls(BareTickSearch, calls / 10 + 1);  // warm-up
    TimeCalls(ProgramTickSearch, calls / 10 + 1);
    for (int i = 0; i < rounds; ++i) {
        const Cost bare = TimeCalls(BareTickSearch, calls);
        const Cost program = TimeCalls(ProgramTickSearch, calls);
        bareCpu.push_back(bare.cpuUs);
        bareWall.push_back(bare.wallUs);
        programCpu.push_back(program.cpuUs);
        programWall.push_back(program.wallUs);
    }
    std::printf("tick_processes %d\n", ProcessCount());
    std::printf("tick_bare_cpu_us %.1f\n", Median(bareCpu));
    std::printf("tick_program_cpu_us %.1f\n", Median(programCpu));
    std::printf("tick_bare_wall_us %.1f\n", Median(bareWall));
    std::printf("tick_program_wall_us %.1f\n", Median(programWall));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "start" && argc >= 5 && argc % 2 == 1) {
        std::vector<std::pair<std::string, std::string>> programs;
        for (int i = 3; i + 1 < argc; i += 2) programs.emplace_back(argv[i], argv[i + 1]);
        return MeasureStarts(std::max(1, std::atoi(argv[2])), programs);
    }
    if (mode == "tick" && argc == 4)
        return MeasureTicks(std::max(1, std::atoi(argv[2])), std::max(1, std::atoi(argv[3])));
    std::fprintf(stderr,
                 "usage: measure start RUNS PROGRAM WINDOW_CLASS [PROGRAM WINDOW_CLASS]...\n"
                 "       measure tick CALLS ROUNDS\n");
    return 2;
}
