#include "shell/win32/win32_front_end.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstddef>

#include "game/constants.h"
#include "picture/raster.h"

namespace mole::win32 {

namespace {

// A 32-bit top-down DIB of w x h: rows run downwards and each pixel is B, G, R, unused in
// memory, i.e. 0x00RRGGBB as a little-endian word, exactly our Surface layout.
BITMAPINFO topDownInfo(int32_t w, int32_t h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = static_cast<int>(std::min<std::size_t>(utf8.size(), 0x7FFFFFFF));
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

Surface captureScreen(int32_t w, int32_t h) {
    Surface shot(w, h);
    if (shot.empty()) {
        return shot;
    }
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    HDC memory = CreateCompatibleDC(display);
    const BITMAPINFO info = topDownInfo(w, h);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (display != nullptr && memory != nullptr && dib != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, w, h, display, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const Pixel*>(bits);
        std::transform(source, source + shot.pixels.size(), shot.pixels.begin(),
                       [](Pixel p) { return p & kColourBits; });
        SelectObject(memory, previous);
    }
    if (dib != nullptr) {
        DeleteObject(dib);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    if (display != nullptr) {
        DeleteDC(display);
    }
    return shot;
}

WindowPaintTarget::~WindowPaintTarget() {
    if (depth_ > 0) {
        depth_ = 1;
        endPaint();
    }
}

void WindowPaintTarget::beginPaint() {
    if (depth_++ == 0) {
        dc_ = BeginPaint(window_, &paint_);
    }
}

void WindowPaintTarget::copyFromView(const Surface& source, const Rect& r) {
    if (dc_ == nullptr) {
        return;
    }
    const Rect part = intersection(r, Rect{0, 0, source.width, source.height});
    if (part.width <= 0 || part.height <= 0) {
        return;
    }
    // The DIB handed over starts at the rectangle's first row and is exactly as tall as
    // the rectangle, so the source row 0 is unambiguous whatever the DIB's orientation.
    const BITMAPINFO info = topDownInfo(source.width, part.height);
    SetDIBitsToDevice(dc_, part.x, part.y, static_cast<DWORD>(part.width),
                      static_cast<DWORD>(part.height), part.x, 0, 0, static_cast<UINT>(part.height),
                      source.row(part.y), &info, DIB_RGB_COLORS);
}

void WindowPaintTarget::endPaint() {
    if (depth_ > 0 && --depth_ == 0) {
        EndPaint(window_, &paint_);
        dc_ = nullptr;
    }
}

void Win32FrontEnd::loadStruckCursor() {
    struckCursor_ = LoadCursorW(instance_, MAKEINTRESOURCEW(kStruckHammerId));
}

DialogAnswer Win32FrontEnd::ask(std::string_view text, std::string_view caption,
                                DialogButtons buttons, bool topmost) {
    UINT flags = buttons == DialogButtons::YesNo ? MB_YESNO : MB_OK;
    if (topmost) {
        flags |= MB_TOPMOST;
    }
    const std::wstring wideText = widen(text);
    const std::wstring wideCaption = widen(caption);
    // The owner may already be gone (destroyed while another box was open); the box then
    // simply has no owner.
    HWND owner = IsWindow(window_) ? window_ : nullptr;
    const int answer = MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), flags);
    if (buttons == DialogButtons::Ok) {
        return DialogAnswer::Ok;
    }
    return answer == IDYES ? DialogAnswer::Yes : DialogAnswer::No;
}

void Win32FrontEnd::playSound(int soundId) {
    PlaySoundW(MAKEINTRESOURCEW(soundId), instance_, SND_RESOURCE | SND_ASYNC);
}

void Win32FrontEnd::startTick() {
    SetTimer(window_, kTickTimerId, kTickMs, nullptr);
}

void Win32FrontEnd::stopTick() {
    KillTimer(window_, kTickTimerId);
}

void Win32FrontEnd::invalidateAll() {
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32FrontEnd::presentField(const Surface& field) {
    // BeginPaint clips to the area waiting to be repainted and validates it: only what a
    // closed dialog uncovered changes, as on every other front end.
    WindowPaintTarget target(window_);
    target.beginPaint();
    target.copyFromView(field, Rect{0, 0, field.width, field.height});
    target.endPaint();
}

void Win32FrontEnd::endEventLoop() {
    PostQuitMessage(0);
}

void Win32FrontEnd::showStruckCursor() {
    SetCursor(struckCursor_);
}

ScreenPoint Win32FrontEnd::cursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return ScreenPoint{static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)};
}

}  // namespace mole::win32
