// What a long-running process holds, counted the way both Windows and wine
// report it truthfully.
#pragma once

#include <cstddef>

// Kernel handles. Wine answers GetProcessHandleCount with 0; its system
// handle list (NtQuerySystemInformation) is truthful.
size_t KernelHandleCount();

// GDI objects. Wine answers GetGuiResources with 0; its GDI handle table,
// which the process maps as Windows does, is truthful.
size_t GdiObjectCount();

// USER objects. Under wine, which answers GetGuiResources with 0 here too:
// the menus alive (icons show as the GDI bitmaps they hold).
size_t UserObjectCount();
