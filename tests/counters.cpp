#include "tests/counters.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace {

constexpr ULONG SystemHandleInformationClass = 16;

struct SystemHandle {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleList {
    ULONG count;
    SystemHandle handles[1];
};

template <typename Function>
Function FromNtdll(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

size_t HandlesInSystemList() {
    using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = FromNtdll<Query>("NtQuerySystemInformation");
    if (!query) return 0;
    std::vector<BYTE> buffer(1 << 20);
    for (ULONG needed = 0; query(SystemHandleInformationClass, buffer.data(),
                                 static_cast<ULONG>(buffer.size()), &needed) != 0;)
        if (buffer.size() >= (64u << 20)) return 0;
        else buffer.resize(buffer.size() * 2);
    const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
    size_t mine = 0;
    for (ULONG i = 0; i < list->count; ++i)
        if (list->handles[i].processId == GetCurrentProcessId()) ++mine;
    return mine;
}

// An entry of the GDI handle table that the process environment block
// points at (GdiSharedHandleTable).
struct GdiTableEntry {
    UINT64 kernelObject;
    USHORT processId;  // 0 under wine, whose table holds this process's objects only
    USHORT count;
    USHORT unique;
    BYTE type;
    BYTE flags;
    UINT64 userObject;
};
constexpr size_t GdiTableEntries = 0x10000;

size_t ObjectsInGdiTable() {
    static_assert(sizeof(void*) == 8, "the 64-bit table layout");
    using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = FromNtdll<Query>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr))
        return 0;
    const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiTableEntry* const*>(peb + 0xF8);
    if (!table) return 0;
    const auto me = static_cast<USHORT>(GetCurrentProcessId());
    size_t mine = 0;
    for (size_t i = 0; i < GdiTableEntries; ++i)
        if (table[i].type && (table[i].processId == me || table[i].processId == 0)) ++mine;
    return mine;
}

}  // namespace

size_t KernelHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count) return count;
    return HandlesInSystemList();
}

size_t GdiObjectCount() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    return ObjectsInGdiTable();
}

// Menus are the USER objects the program makes over and over. A handle
// whose high word is 0 stands for any generation of its slot, on Windows as
// under wine, so every slot can be asked.
size_t MenusAlive() {
    size_t alive = 0;
    for (UINT_PTR slot = 0; slot <= 0xFFFF; ++slot)
        if (IsMenu(reinterpret_cast<HMENU>(slot))) ++alive;
    return alive;
}

size_t UserObjectCount() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return count;
    return MenusAlive();
}
