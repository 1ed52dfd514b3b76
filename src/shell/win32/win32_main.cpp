// Entry point and window procedure of the Windows program. Everything the game does happens
// in the shell's handlers; this file only turns window messages into calls of them.
#include <windows.h>

#include <cstdint>

#include "game/constants.h"
#include "shell/host.h"
#include "shell/shell_state.h"
#include "shell/win32/win32_front_end.h"

namespace mole::win32 {
namespace {

constexpr wchar_t kClassName[] = L"mole";

// The process-wide state and its services, reached from the window procedure through the
// window's user data (set from the creation parameter before WM_CREATE arrives).
struct Program {
    explicit Program(HINSTANCE instance) : frontEnd(instance) {}
    ShellState state;
    Win32FrontEnd frontEnd;
};

Program* programOf(HWND window) {
    return reinterpret_cast<Program*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* program =
            static_cast<Program*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(program));
        program->frontEnd.attach(window);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    Program* program = programOf(window);
    if (program == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    ShellState& state = program->state;
    Win32FrontEnd& frontEnd = program->frontEnd;
    switch (message) {
        case WM_CREATE: {
            frontEnd.loadStruckCursor();
            // The window is not shown yet, so this is the desktop as the user left it.
            const Surface snapshot = captureScreen(state.screenWidth, state.screenHeight);
            onCreate(state, frontEnd, snapshot, clockSeed());
            return 0;
        }
        case WM_PAINT: {
            // The cycle is opened here as well, so that the waiting area is validated even
            // when the shell draws nothing (after the end); otherwise WM_PAINT would repeat.
            WindowPaintTarget target(window);
            target.beginPaint();
            onPaint(state, target);
            target.endPaint();
            return 0;
        }
        case WM_TIMER:
            if (wParam == kTickTimerId) {
                onTimer(state, frontEnd);
            }
            return 0;
        case WM_LBUTTONDOWN:
            onLeftButtonDown(state, frontEnd);
            return 0;
        case WM_RBUTTONDOWN:
            onRightButtonDown(state, frontEnd);
            return 0;
        case WM_DESTROY:
            onDestroy(state, frontEnd);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

int run(HINSTANCE instance, int showState) {
    Program program(instance);
    // Read once, before anything else; a change of resolution later is not followed. The
    // manifest makes the process DPI-aware, so these are the screen's real pixels.
    program.state.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    program.state.screenHeight = GetSystemMetrics(SM_CYSCREEN);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(instance, MAKEINTRESOURCEW(kRaisedHammerId));
    windowClass.hbrBackground = nullptr;  // erasing leaves the last picture in place
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);

    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP, 0, 0,
                                  program.state.screenWidth, program.state.screenHeight, nullptr,
                                  nullptr, instance, &program);
    ShowWindow(window, showState);
    UpdateWindow(window);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The window outlives the loop and goes with the process; keep it away from the state,
    // which does not.
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace
}  // namespace mole::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    return mole::win32::run(instance, showState);
}
