// A companion runs for weeks: what its repeated work holds must stay flat.
// Each check first shows that its counters see a planted leak.
#include <gtest/gtest.h>

#include "app/embedded.h"
#include "app/main_window.h"
#include "app/watchdog.h"
#include "resources/resource_names.h"
#include "services/tray.h"
#include "services/window.h"
#include "tests/counters.h"
#include "tests/main_window_fixture.h"
#include "tests/support.h"

namespace {

struct Held {
    size_t handles, gdiObjects, userObjects, committed;
};

Held Now() { return {KernelHandleCount(), GdiObjectCount(), UserObjectCount(), CommittedBytes()}; }

// Counts may move by a few while caches in the system libraries settle: a
// leak of one object per round moves them by the number of rounds.
constexpr size_t CountSlack = 8;
// Committed memory moves with the heap's growth steps: a few MB.
constexpr size_t CommittedSlack = 8u << 20;

void ExpectFlat(const Held& before, const Held& after, const char* what) {
    EXPECT_LE(after.handles, before.handles + CountSlack) << what << ": kernel handles";
    EXPECT_LE(after.gdiObjects, before.gdiObjects + CountSlack) << what << ": GDI objects";
    EXPECT_LE(after.userObjects, before.userObjects + CountSlack) << what << ": USER objects";
    EXPECT_LE(after.committed, before.committed + CommittedSlack) << what << ": committed memory";
}

TEST(UptimeCounters, SeePlantedLeaks) {
    const Held before = Now();
    std::vector<HANDLE> events;
    std::vector<HBITMAP> bitmaps;
    std::vector<HMENU> menus;
    for (int i = 0; i < 50; ++i) {
        events.push_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        bitmaps.push_back(CreateBitmap(1, 1, 1, 1, nullptr));
        menus.push_back(CreatePopupMenu());
    }
    const Held leaking = Now();
    EXPECT_GE(leaking.handles, before.handles + 50);
    EXPECT_GE(leaking.gdiObjects, before.gdiObjects + 50);
    EXPECT_GE(leaking.userObjects, before.userObjects + 50);
    for (HANDLE e : events) CloseHandle(e);
    for (HBITMAP b : bitmaps) DeleteObject(b);
    for (HMENU m : menus) DestroyMenu(m);
    ExpectFlat(before, Now(), "all given back");
}

TEST(Uptime, ProcessSearchesHoldNothing) {
    Text name = "KvNowhere.exe";
    ProcessExists(name, false);
    const Held before = Now();
    // Wine takes some 10 ms a search: 2,000 are 20 s.
    for (int i = 0; i < 2000; ++i) ProcessExists(name, false);
    ExpectFlat(before, Now(), "2,000 process searches");
}

class UptimeWindow : public MainWindowTest {};

TEST_F(UptimeWindow, RepaintsOfTheShownWindowHoldNothing) {
    SetWindowVisible(true);
    HWND box = FindWindowExA(window, nullptr, "KelvanePictureBox", nullptr);
    auto repaint = [&] { RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
    repaint();
    const Held before = Now();
    for (int i = 0; i < 1000; ++i) repaint();
    ExpectFlat(before, Now(), "1,000 repaints");
}

// Replacing the icon (a modify) is the tray's repeated path; a removal costs
// wine's shell some 2 s, so fewer of those.
TEST_F(UptimeWindow, TrayIconChangesHoldNothing) {
    const EmbeddedBytes icon = EmbeddedResource(TRAY_ICON_RESOURCE);
    auto show = [&] { SetTrayIcon(icon.data, icon.size, "Kelvane"); };
    show();
    const Held before = Now();
    for (int i = 0; i < 1000; ++i) show();
    for (int i = 0; i < 5; ++i) {
        RemoveTrayIcon();
        show();
    }
    ExpectFlat(before, Now(), "1,000 icon changes and 5 removals");
}

TEST_F(UptimeWindow, PopupMenusHoldNothing) {
    // Each popup closes itself from inside its own menu loop.
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    PopupTrayMenu(MenuList, MenuEntryCount);
    const Held before = Now();
    for (int i = 0; i < 1000; ++i) PopupTrayMenu(MenuList, MenuEntryCount);
    KillTimer(nullptr, timer);
    ExpectFlat(before, Now(), "1,000 popup menus");
}

}  // namespace
