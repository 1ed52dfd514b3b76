// Looks at mole.exe's windows from inside the same Wine session, where the Win32 class
// names, styles and owners are visible (X11 sees only the window titles).
//   probe window   the game's window: class "mole", visible, topmost tool popup over the screen
//   probe intro    the emergency dialog: owned by the game's window and topmost
//   probe close    asks the game's window to close, as Alt+F4 would
// Waits up to 30 s for the window; exit code 0 when every check holds.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HWND waitFor(const wchar_t* className, const wchar_t* title) {
    for (int i = 0; i < 300; ++i) {
        HWND w = FindWindowW(className, title);
        if (w != nullptr && IsWindowVisible(w)) {
            return w;
        }
        Sleep(100);
    }
    return nullptr;
}

int fails = 0;

void expect(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    if (!ok) {
        ++fails;
    }
}

int probeWindow() {
    HWND w = waitFor(L"mole", nullptr);
    expect(w != nullptr, "a visible window of class \"mole\"");
    if (w == nullptr) {
        return 1;
    }
    RECT r{};
    GetWindowRect(w, &r);
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    std::printf("window %ld,%ld-%ld,%ld; screen %dx%d\n", r.left, r.top, r.right, r.bottom, sw, sh);
    expect(r.left == 0 && r.top == 0 && r.right == sw && r.bottom == sh, "covers the screen");
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
    expect((style & WS_POPUP) != 0 && (style & WS_CAPTION) == 0, "borderless popup");
    expect((exStyle & WS_EX_TOPMOST) != 0 && (exStyle & WS_EX_TOOLWINDOW) != 0,
           "topmost tool window");
    return fails == 0 ? 0 : 1;
}

int probeIntro() {
    HWND game = waitFor(L"mole", nullptr);
    // U+7DCA U+6025 U+4E8B U+614B U+767A U+751F, the emergency dialog's caption.
    HWND box = waitFor(L"#32770", L"\u7dca\u6025\u4e8b\u614b\u767a\u751f");
    expect(box != nullptr, "the emergency dialog");
    if (box == nullptr) {
        return 1;
    }
    expect(game != nullptr && GetWindow(box, GW_OWNER) == game, "owned by the game's window");
    expect((GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "topmost");
    expect(GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr,
           "Yes and No buttons");
    return fails == 0 ? 0 : 1;
}

int probeClose() {
    HWND game = waitFor(L"mole", nullptr);
    expect(game != nullptr && PostMessageW(game, WM_CLOSE, 0, 0) != 0, "close request sent");
    return fails == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "window") == 0) {
        return probeWindow();
    }
    if (argc == 2 && std::strcmp(argv[1], "intro") == 0) {
        return probeIntro();
    }
    if (argc == 2 && std::strcmp(argv[1], "close") == 0) {
        return probeClose();
    }
    std::fprintf(stderr, "usage: probe window|intro|close\n");
    return 2;
}
