// 图片框1: a child window that shows a JPEG picture, centred and shrunk to
// fit, on the button-face colour.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "app/jpeg_picture.h"

// Decodes the picture once, now; the box keeps the pixels until it is
// destroyed. A picture that cannot be decoded leaves the box empty.
HWND CreatePictureBox(HWND parent, RECT bounds, const uint8_t* jpeg, size_t jpegSize);

// Paints the box's whole client rectangle into dc; also answers
// WM_PRINTCLIENT, so the box can be drawn off the screen.
void DrawPicture(HDC dc, const RECT& client, const Picture* picture);
