#include "app/picture_box.h"

#include <memory>

#include "app/picture_fit.h"
#include "services/owners.h"

namespace {

constexpr char PictureBoxClassName[] = "KelvanePictureBox";

struct JpegBytes {
    const uint8_t* data;
    size_t size;
};

Picture* PictureOf(HWND box) {
    return reinterpret_cast<Picture*>(GetWindowLongPtrA(box, GWLP_USERDATA));
}

int DisplayBitsPerPixel() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    return EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmBitsPerPel : 0;
}

BITMAPINFO DibHeader(const Picture& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void OnCreate(HWND box, const CREATESTRUCTA& create) {
    const auto* jpeg = static_cast<const JpegBytes*>(create.lpCreateParams);
    if (std::optional<Picture> picture = DecodeJpeg(jpeg->data, jpeg->size))
        SetWindowLongPtrA(box, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(new Picture(std::move(*picture))));
}

void OnPaint(HWND box) {
    ScopedPaint paint(box);
    RECT client;
    GetClientRect(box, &client);
    DrawPicture(paint.dc(), client, PictureOf(box));
}

void OnPrintClient(HWND box, HDC dc) {
    RECT client;
    GetClientRect(box, &client);
    DrawPicture(dc, client, PictureOf(box));
}

void OnNcDestroy(HWND box) {
    std::unique_ptr<Picture> picture(PictureOf(box));
    SetWindowLongPtrA(box, GWLP_USERDATA, 0);
}

LRESULT CALLBACK PictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(box, *reinterpret_cast<CREATESTRUCTA*>(lParam)); return 0;
    case WM_PAINT: OnPaint(box); return 0;
    case WM_PRINTCLIENT: OnPrintClient(box, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_NCDESTROY: OnNcDestroy(box); break;
    }
    return DefWindowProcA(box, message, wParam, lParam);
}

}  // namespace

void DrawPicture(HDC dc, const RECT& client, const Picture* picture) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    {
        ScopedSelect brush(dc, GetSysColorBrush(COLOR_BTNFACE));
        PatBlt(dc, client.left, client.top, width, height, PATCOPY);
    }
    if (!picture) return;

    const BITMAPINFO header = DibHeader(*picture);
    UniqueBitmap bitmap(CreateDIBitmap(dc, &header.bmiHeader, CBM_INIT, picture->bgr.data(),
                                       &header, DIB_RGB_COLORS));
    UniqueMemoryDC source(CreateCompatibleDC(dc));
    if (!bitmap || !source) return;
    ScopedSelect selected(source.get(), bitmap.get());

    const PictureRect to = FitPicture(width, height, picture->width, picture->height);
    const int previousMode =
        SetStretchBltMode(dc, DisplayBitsPerPixel() > 16 ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE wants the origin reset after the mode
    StretchBlt(dc, client.left + to.x, client.top + to.y, to.width, to.height, source.get(), 0, 0,
               picture->width, picture->height, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
}

HWND CreatePictureBox(HWND parent, RECT bounds, const uint8_t* jpeg, size_t jpegSize) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PictureBoxProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = PictureBoxClassName;
    RegisterClassA(&windowClass);  // fails harmlessly once registered

    JpegBytes bytes{jpeg, jpegSize};
    return CreateWindowExA(0, PictureBoxClassName, "", WS_CHILD | WS_CLIPSIBLINGS, bounds.left,
                           bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                           parent, nullptr, instance, &bytes);
}
