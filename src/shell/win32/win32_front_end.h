// The game's services on Win32: message boxes, the tick timer, painting, cursors, sounds
// and the screen snapshot.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "picture/field_painter.h"
#include "picture/surface.h"
#include "shell/host.h"

namespace mole::win32 {

// Resource ids carried by mole.exe (see assets/resources.rc).
inline constexpr int kIconId = 102;
inline constexpr int kRaisedHammerId = 103;
inline constexpr int kStruckHammerId = 104;

// UTF-8 to UTF-16 for the wide API; malformed bytes become U+FFFD rather than being dropped.
std::wstring widen(std::string_view utf8);

// The whole screen as it is now, w x h from (0, 0). Captured through a 32-bit top-down DIB
// section, whose memory layout is our Surface's; the unused top byte is cleared so that
// pixels compare by colour alone. Where the display cannot be read the picture stays black.
Surface captureScreen(int32_t w, int32_t h);

// The window's paint context. beginPaint and endPaint nest, so that a paint handler which
// opens its own cycle inside WM_PAINT's does not end it early.
class WindowPaintTarget final : public PaintTarget {
  public:
    explicit WindowPaintTarget(HWND window) : window_(window) {}
    ~WindowPaintTarget() override;
    void beginPaint() override;
    // Rectangle r of source, to the same place in the window (cut to source's bounds).
    void copyFromView(const Surface& source, const Rect& r) override;
    void endPaint() override;

  private:
    HWND window_;
    HDC dc_ = nullptr;
    PAINTSTRUCT paint_{};
    int depth_ = 0;
};

class Win32FrontEnd final : public FrontEnd {
  public:
    explicit Win32FrontEnd(HINSTANCE instance) : instance_(instance) {}

    // The window exists from WM_NCCREATE on; the services act on it from then.
    void attach(HWND window) { window_ = window; }
    HWND window() const { return window_; }
    void loadStruckCursor();

    DialogAnswer ask(std::string_view text, std::string_view caption, DialogButtons buttons,
                     bool topmost) override;
    void playSound(int soundId) override;
    void startTick() override;
    void stopTick() override;
    void invalidateAll() override;
    void presentField(const Surface& field) override;
    void endEventLoop() override;
    void showStruckCursor() override;
    ScreenPoint cursorPosition() override;

  private:
    HINSTANCE instance_;
    HWND window_ = nullptr;
    HCURSOR struckCursor_ = nullptr;
};

}  // namespace mole::win32
