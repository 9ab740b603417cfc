// The GLFW 2-style window, clock and input layer the host is written against.
// Depends on nothing of ours. The host speaks the single-window GLFW 2 interface (window "params", sleeping,
// polling, key codes 0..325, joysticks with their hat as four extra buttons); glfw2_glfw3.cpp implements it
// over Debian's GLFW 3. Every call goes through an installed Backend, so tests put a scripted one in its place
// (a clock they advance, windows that exist only in memory, pads that report what the test says).
#pragma once

#include <string>

namespace glfw2 {

// Window modes of OpenWindow.
constexpr int WINDOW = 0x00010001;
constexpr int FULLSCREEN = 0x00010002;

// Window params of GetWindowParam.
constexpr int OPENED = 0x00020001;
constexpr int ACTIVE = 0x00020002;
constexpr int ICONIFIED = 0x00020003;

// Hints of OpenWindowHint.
constexpr int REFRESH_RATE = 0x0002000B;
constexpr int WINDOW_NO_RESIZE = 0x00020012;

// Tokens of Enable / Disable.
constexpr int MOUSE_CURSOR = 0x00030001;
constexpr int KEY_REPEAT = 0x00030005;
constexpr int AUTO_POLL_EVENTS = 0x00030006;

// Joystick params of GetJoystickParam.
constexpr int PRESENT = 0x00050001;
constexpr int AXES = 0x00050002;
constexpr int BUTTONS = 0x00050003;

constexpr int RELEASE = 0;
constexpr int PRESS = 1;

// Key codes: printable keys are their Latin-1 character (letters upper case); special keys from 256 on.
constexpr int KEY_SPACE = 32;
constexpr int KEY_SPECIAL = 256;
constexpr int KEY_ESC = 257;
constexpr int KEY_F1 = 258;   // F1..F25 are 258..282
constexpr int KEY_F12 = 269;
constexpr int KEY_F25 = 282;
constexpr int KEY_UP = 283;
constexpr int KEY_DOWN = 284;
constexpr int KEY_LEFT = 285;
constexpr int KEY_RIGHT = 286;
constexpr int KEY_LSHIFT = 287;
constexpr int KEY_RSHIFT = 288;
constexpr int KEY_LCTRL = 289;
constexpr int KEY_RCTRL = 290;
constexpr int KEY_LALT = 291;
constexpr int KEY_RALT = 292;
constexpr int KEY_TAB = 293;
constexpr int KEY_ENTER = 294;
constexpr int KEY_BACKSPACE = 295;
constexpr int KEY_INSERT = 296;
constexpr int KEY_DEL = 297;
constexpr int KEY_PAGEUP = 298;
constexpr int KEY_PAGEDOWN = 299;
constexpr int KEY_HOME = 300;
constexpr int KEY_END = 301;
constexpr int KEY_KP_0 = 302;  // keypad digits are 302..311
constexpr int KEY_KP_9 = 311;
constexpr int KEY_KP_DIVIDE = 312;
constexpr int KEY_KP_MULTIPLY = 313;
constexpr int KEY_KP_SUBTRACT = 314;
constexpr int KEY_KP_ADD = 315;
constexpr int KEY_KP_DECIMAL = 316;
constexpr int KEY_KP_EQUAL = 317;
constexpr int KEY_KP_ENTER = 318;
constexpr int KEY_KP_NUM_LOCK = 319;
constexpr int KEY_CAPS_LOCK = 320;
constexpr int KEY_SCROLL_LOCK = 321;
constexpr int KEY_PAUSE = 322;
constexpr int KEY_LSUPER = 323;
constexpr int KEY_RSUPER = 324;
constexpr int KEY_MENU = 325;
constexpr int KEY_LAST = KEY_MENU;

constexpr int MOUSE_BUTTON_LEFT = 0;
constexpr int JOYSTICK_LAST = 15;

struct VidMode {
    int width = 0, height = 0;
    int redBits = 0, blueBits = 0, greenBits = 0;  // the GLFW 2 order: red, blue, green
};

using KeyFun = void (*)(int key, int action);
using CharFun = void (*)(int character, int action);
using MouseButtonFun = void (*)(int button, int action);
using MousePosFun = void (*)(int x, int y);
using WindowCloseFun = int (*)();  // answer 0 to keep the window open

// One implementation of the interface: the real one over GLFW 3, or a test's.
class Backend {
public:
    virtual ~Backend() = default;
    virtual bool Init() = 0;
    virtual void Terminate() = 0;
    virtual double GetTime() = 0;
    virtual void Sleep(double seconds) = 0;
    virtual void PollEvents() = 0;
    virtual void WaitEvents() = 0;

    virtual void OpenWindowHint(int target, int hint) = 0;
    // Opens the one window (closing none itself); false when no window could be made.
    virtual bool OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                            int depthBits, int stencilBits, int mode) = 0;
    virtual void CloseWindow() = 0;
    virtual void SetWindowTitle(const std::string& title) = 0;
    virtual void SetWindowPos(int x, int y) = 0;
    // Where the window stands on the desktop (not in GLFW 2; tests and diagnostics read it).
    virtual void GetWindowPos(int* x, int* y) = 0;
    virtual void GetWindowSize(int* width, int* height) = 0;
    virtual int GetWindowParam(int param) = 0;
    virtual void SwapBuffers() = 0;
    virtual void SwapInterval(int interval) = 0;
    virtual VidMode GetDesktopMode() = 0;
    virtual int GetVideoModes(VidMode* list, int maxCount) = 0;
    virtual void Enable(int token) = 0;
    virtual void Disable(int token) = 0;

    virtual int GetKey(int key) = 0;
    virtual void GetMousePos(int* x, int* y) = 0;
    virtual int GetJoystickParam(int joy, int param) = 0;
    // Fills up to count axes / buttons and answers how many were filled. Buttons end with the hat of the pad
    // as four buttons in the order left, up, right, down, each on only for that exact direction.
    virtual int GetJoystickPos(int joy, float* pos, int count) = 0;
    virtual int GetJoystickButtons(int joy, unsigned char* buttons, int count) = 0;

    virtual void SetKeyCallback(KeyFun fun) = 0;
    virtual void SetCharCallback(CharFun fun) = 0;
    virtual void SetMouseButtonCallback(MouseButtonFun fun) = 0;
    virtual void SetMousePosCallback(MousePosFun fun) = 0;
    virtual void SetWindowCloseCallback(WindowCloseFun fun) = 0;
};

// The GLFW 3 backend, installed until a test installs another.
Backend& RealBackend();
// Installs backend (null puts the real one back); answers the one that was installed.
Backend* Install(Backend* backend);
Backend& Current();

// Thin forwards to the installed backend, under the GLFW 2 names.
inline bool Init() { return Current().Init(); }
inline void Terminate() { Current().Terminate(); }
inline double GetTime() { return Current().GetTime(); }
inline void Sleep(double seconds) { Current().Sleep(seconds); }
inline void PollEvents() { Current().PollEvents(); }
inline void WaitEvents() { Current().WaitEvents(); }
inline void OpenWindowHint(int target, int hint) { Current().OpenWindowHint(target, hint); }
inline bool OpenWindow(int w, int h, int r, int g, int b, int a, int depth, int stencil, int mode) {
    return Current().OpenWindow(w, h, r, g, b, a, depth, stencil, mode);
}
inline void CloseWindow() { Current().CloseWindow(); }
inline void SetWindowTitle(const std::string& title) { Current().SetWindowTitle(title); }
inline void SetWindowPos(int x, int y) { Current().SetWindowPos(x, y); }
inline void GetWindowPos(int* x, int* y) { Current().GetWindowPos(x, y); }
inline void GetWindowSize(int* w, int* h) { Current().GetWindowSize(w, h); }
inline int GetWindowParam(int param) { return Current().GetWindowParam(param); }
inline void SwapBuffers() { Current().SwapBuffers(); }
inline void SwapInterval(int interval) { Current().SwapInterval(interval); }
inline VidMode GetDesktopMode() { return Current().GetDesktopMode(); }
inline int GetVideoModes(VidMode* list, int maxCount) { return Current().GetVideoModes(list, maxCount); }
inline void Enable(int token) { Current().Enable(token); }
inline void Disable(int token) { Current().Disable(token); }
inline int GetKey(int key) { return Current().GetKey(key); }
inline void GetMousePos(int* x, int* y) { Current().GetMousePos(x, y); }
inline int GetJoystickParam(int joy, int param) { return Current().GetJoystickParam(joy, param); }
inline int GetJoystickPos(int joy, float* pos, int count) { return Current().GetJoystickPos(joy, pos, count); }
inline int GetJoystickButtons(int joy, unsigned char* b, int count) {
    return Current().GetJoystickButtons(joy, b, count);
}
inline void SetKeyCallback(KeyFun fun) { Current().SetKeyCallback(fun); }
inline void SetCharCallback(CharFun fun) { Current().SetCharCallback(fun); }
inline void SetMouseButtonCallback(MouseButtonFun fun) { Current().SetMouseButtonCallback(fun); }
inline void SetMousePosCallback(MousePosFun fun) { Current().SetMousePosCallback(fun); }
inline void SetWindowCloseCallback(WindowCloseFun fun) { Current().SetWindowCloseCallback(fun); }

}  // namespace glfw2
