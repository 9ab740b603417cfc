// The GLFW 2-style layer implemented over Debian's GLFW 3.
// Depends on GLFW 3. GLFW 3 knows many windows and reports through per-window callbacks; the game knows one
// window and the GLFW 2 interface. This file keeps that interface's behaviour: one current window, window
// "params", a close callback whose answer decides whether the window closes, GLFW 2 key codes, and joystick
// hats presented as four extra buttons after the real ones in the order left, up, right, down; and a key held
// while the window is re-opened stays released until the player lets go of it and presses it again.
// NOTE: the window's size is asked many times a frame (the device size cache, the graphics device), and asking
// GLFW 3 for it is a round trip to the X server each time. The size is asked once when the window opens and
// then kept up to date by GLFW's size callback, which the event pump delivers like any other event.
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>  // the X display, to ask which keys are physically down
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "host/desktop/glfw2.h"
#include "host/notices.h"

namespace glfw2 {
namespace {

// GLFW 3 key to GLFW 2 key; 0 when GLFW 2 had no such key.
int KeyFromGlfw3(int key) {
    if (key >= 32 && key <= 96) return key;  // printable keys of the US layout are their character
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F25) return KEY_F1 + (key - GLFW_KEY_F1);
    if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9) return KEY_KP_0 + (key - GLFW_KEY_KP_0);
    switch (key) {
        case GLFW_KEY_ESCAPE: return KEY_ESC;
        case GLFW_KEY_UP: return KEY_UP;
        case GLFW_KEY_DOWN: return KEY_DOWN;
        case GLFW_KEY_LEFT: return KEY_LEFT;
        case GLFW_KEY_RIGHT: return KEY_RIGHT;
        case GLFW_KEY_LEFT_SHIFT: return KEY_LSHIFT;
        case GLFW_KEY_RIGHT_SHIFT: return KEY_RSHIFT;
        case GLFW_KEY_LEFT_CONTROL: return KEY_LCTRL;
        case GLFW_KEY_RIGHT_CONTROL: return KEY_RCTRL;
        case GLFW_KEY_LEFT_ALT: return KEY_LALT;
        case GLFW_KEY_RIGHT_ALT: return KEY_RALT;
        case GLFW_KEY_TAB: return KEY_TAB;
        case GLFW_KEY_ENTER: return KEY_ENTER;
        case GLFW_KEY_BACKSPACE: return KEY_BACKSPACE;
        case GLFW_KEY_INSERT: return KEY_INSERT;
        case GLFW_KEY_DELETE: return KEY_DEL;
        case GLFW_KEY_PAGE_UP: return KEY_PAGEUP;
        case GLFW_KEY_PAGE_DOWN: return KEY_PAGEDOWN;
        case GLFW_KEY_HOME: return KEY_HOME;
        case GLFW_KEY_END: return KEY_END;
        case GLFW_KEY_KP_DIVIDE: return KEY_KP_DIVIDE;
        case GLFW_KEY_KP_MULTIPLY: return KEY_KP_MULTIPLY;
        case GLFW_KEY_KP_SUBTRACT: return KEY_KP_SUBTRACT;
        case GLFW_KEY_KP_ADD: return KEY_KP_ADD;
        case GLFW_KEY_KP_DECIMAL: return KEY_KP_DECIMAL;
        case GLFW_KEY_KP_EQUAL: return KEY_KP_EQUAL;
        case GLFW_KEY_KP_ENTER: return KEY_KP_ENTER;
        case GLFW_KEY_NUM_LOCK: return KEY_KP_NUM_LOCK;
        case GLFW_KEY_CAPS_LOCK: return KEY_CAPS_LOCK;
        case GLFW_KEY_SCROLL_LOCK: return KEY_SCROLL_LOCK;
        case GLFW_KEY_PAUSE: return KEY_PAUSE;
        case GLFW_KEY_LEFT_SUPER: return KEY_LSUPER;
        case GLFW_KEY_RIGHT_SUPER: return KEY_RSUPER;
        case GLFW_KEY_MENU: return KEY_MENU;
        default: return 0;
    }
}

// GLFW 2 key to GLFW 3 key, for asking whether it is held; GLFW_KEY_UNKNOWN when there is none.
int KeyToGlfw3(int key) {
    for (int k = GLFW_KEY_SPACE; k <= GLFW_KEY_LAST; ++k) {
        if (KeyFromGlfw3(k) == key && key != 0) return k;
    }
    return GLFW_KEY_UNKNOWN;
}

class Glfw3Backend final : public Backend {
public:
    bool Init() override {
        // What the window system refuses is told to the player, once for each kind of complaint.
        glfwSetErrorCallback([](int code, const char* description) {
            char number[16];
            std::snprintf(number, sizeof number, "%#x", code);
            kpTellPlayer(std::string("glfw ") + number + description,
                         std::string("the window system reports a problem: ") + description + " (GLFW error " + number +
                             "). Your progress is not affected.");
        });
        // GLFW 2 had no hats: they come after the buttons, in our order, from GetJoystickButtons.
        glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
        return glfwInit() == GLFW_TRUE;
    }
    void Terminate() override {
        glfwTerminate();
        window_ = nullptr;
        width_ = height_ = 0;
    }
    double GetTime() override { return glfwGetTime(); }
    void Sleep(double seconds) override {
        if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }
    // NOTE: a key carried over from the last window is asked after before the events are handled as well as after:
    // the game may have been busy since (a new window re-makes its textures), and a fresh press queued meanwhile
    // must not be taken for the old hold. Repeats of the old hold queued before its release are still dropped.
    void PollEvents() override {
        ForgetCarriedKeysLetGo();
        glfwPollEvents();
        EndOfEvents();
    }
    void WaitEvents() override {
        ForgetCarriedKeysLetGo();
        // While a key is carried the wait wakes every 10 ms to ask again: a window without the focus is told of
        // no release.
        // NOTE: a key just found let go of drops the stale repeats queued until then, so the queue is read as it
        // stands, without waiting: after a wait, the batch could hold a fresh press of that key, made long after
        // (a suspended fullscreen window is given the focus and F11 pressed at once), and drop it.
        if (anyJustLetGo_) {
            glfwPollEvents();
        } else if (anyCarried_) {
            glfwWaitEventsTimeout(0.01);
        } else {
            glfwWaitEvents();
        }
        EndOfEvents();
    }
    void EndOfEvents() {
        CloseIfAsked();
        for (bool& letGo : justLetGo_) letGo = false;
        anyJustLetGo_ = false;
        ForgetCarriedKeysLetGo();
    }

    void OpenWindowHint(int target, int hint) override {
        if (target == REFRESH_RATE) refreshRate_ = hint;
        if (target == WINDOW_NO_RESIZE) resizable_ = hint == 0;
    }

    bool OpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits, int depthBits,
                    int stencilBits, int mode) override {
        CloseWindow();
        glfwDefaultWindowHints();
        glfwWindowHint(GLFW_RED_BITS, redBits > 0 ? redBits : GLFW_DONT_CARE);
        glfwWindowHint(GLFW_GREEN_BITS, greenBits > 0 ? greenBits : GLFW_DONT_CARE);
        glfwWindowHint(GLFW_BLUE_BITS, blueBits > 0 ? blueBits : GLFW_DONT_CARE);
        glfwWindowHint(GLFW_ALPHA_BITS, alphaBits);
        glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
        glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
        glfwWindowHint(GLFW_REFRESH_RATE, refreshRate_ > 0 ? refreshRate_ : GLFW_DONT_CARE);
        glfwWindowHint(GLFW_RESIZABLE, resizable_ ? GLFW_TRUE : GLFW_FALSE);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 2);
        // NOTE: the window is made hidden and shown once placed, so it never appears at a stray position.
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        // GLFW 2 reset its hints after each window.
        refreshRate_ = 0;
        resizable_ = true;

        GLFWmonitor* monitor = mode == FULLSCREEN ? glfwGetPrimaryMonitor() : nullptr;
        if (mode == FULLSCREEN && !monitor) return false;
        window_ = glfwCreateWindow(width, height, "", monitor, nullptr);
        if (!window_) return false;
        glfwMakeContextCurrent(window_);
        glfwSetKeyCallback(window_, OnKey);
        glfwSetCharCallback(window_, OnChar);
        glfwSetMouseButtonCallback(window_, OnMouseButton);
        glfwSetCursorPosCallback(window_, OnCursorPos);
        glfwSetWindowCloseCallback(window_, OnClose);
        glfwSetFramebufferSizeCallback(window_, OnFramebufferSize);
        glfwGetFramebufferSize(window_, &width_, &height_);
        shown_ = false;
        return true;
    }

    void CloseWindow() override {
        if (window_) {
            // The game is told these keys went up; the next window must not report them down again until the
            // player presses them afresh (the keyboard's repeat of a held key would look like a new press).
            // NOTE: GLFW may not have seen a release that the window system already has (a key tapped quickly);
            // only keys still physically down are carried, or their next press would be lost.
            char down[32] = {};
            const bool known = PhysicalKeys(down);
            for (int k = GLFW_KEY_SPACE; k <= GLFW_KEY_LAST; ++k) {
                if (glfwGetKey(window_, k) == GLFW_PRESS && (!known || PhysicallyDown(down, k))) {
                    carried_[k] = anyCarried_ = true;
                }
            }
            glfwDestroyWindow(window_);
            window_ = nullptr;
        }
        width_ = height_ = 0;
    }
    void SetWindowTitle(const std::string& title) override {
        if (window_) glfwSetWindowTitle(window_, title.c_str());
    }
    void SetWindowPos(int x, int y) override {
        if (window_) glfwSetWindowPos(window_, x, y);
    }
    void GetWindowPos(int* x, int* y) override {
        *x = *y = 0;
        if (window_) glfwGetWindowPos(window_, x, y);
    }
    void GetWindowSize(int* width, int* height) override {
        *width = width_;
        *height = height_;
    }
    int GetWindowParam(int param) override {
        if (!window_) return 0;
        switch (param) {
            case OPENED: return 1;
            case ACTIVE: return glfwGetWindowAttrib(window_, GLFW_FOCUSED);
            case ICONIFIED: return glfwGetWindowAttrib(window_, GLFW_ICONIFIED);
            default: return 0;
        }
    }
    void SwapBuffers() override {
        if (!window_) return;
        ShowOnce();
        glfwSwapBuffers(window_);
    }
    void SwapInterval(int interval) override {
        if (window_) glfwSwapInterval(interval);
    }
    VidMode GetDesktopMode() override {
        VidMode out;
        GLFWmonitor* monitor = glfwGetPrimaryMonitor();
        const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
        if (mode) out = {mode->width, mode->height, mode->redBits, mode->blueBits, mode->greenBits};
        return out;
    }
    int GetVideoModes(VidMode* list, int maxCount) override {
        GLFWmonitor* monitor = glfwGetPrimaryMonitor();
        int count = 0;
        const GLFWvidmode* modes = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
        int n = 0;
        for (; modes && n < count && n < maxCount; ++n) {
            list[n] = {modes[n].width, modes[n].height, modes[n].redBits, modes[n].blueBits, modes[n].greenBits};
        }
        return n;
    }
    void Enable(int token) override { SetToken(token, true); }
    void Disable(int token) override { SetToken(token, false); }

    int GetKey(int key) override {
        int k = KeyToGlfw3(key);
        if (!window_ || k == GLFW_KEY_UNKNOWN) return RELEASE;
        return glfwGetKey(window_, k) == GLFW_PRESS ? PRESS : RELEASE;
    }
    void GetMousePos(int* x, int* y) override {
        double dx = 0, dy = 0;
        if (window_) glfwGetCursorPos(window_, &dx, &dy);
        *x = static_cast<int>(dx);
        *y = static_cast<int>(dy);
    }
    int GetJoystickParam(int joy, int param) override {
        if (!glfwJoystickPresent(joy)) return 0;
        int count = 0;
        switch (param) {
            case PRESENT: return 1;
            case AXES: glfwGetJoystickAxes(joy, &count); return count;
            case BUTTONS: {
                glfwGetJoystickButtons(joy, &count);
                int hats = 0;
                glfwGetJoystickHats(joy, &hats);
                return count + (hats > 0 ? 4 : 0);
            }
            default: return 0;
        }
    }
    int GetJoystickPos(int joy, float* pos, int count) override {
        int n = 0;
        const float* axes = glfwGetJoystickAxes(joy, &n);
        if (!axes) return 0;
        // GLFW 3 reports a stick pushed away from the player as negative y; GLFW 2 reported it positive.
        int i = 0;
        for (; i < n && i < count; ++i) pos[i] = (i % 2 == 1) ? -axes[i] : axes[i];
        return i;
    }
    int GetJoystickButtons(int joy, unsigned char* buttons, int count) override {
        int n = 0, hats = 0;
        const unsigned char* real = glfwGetJoystickButtons(joy, &n);
        const unsigned char* hat = glfwGetJoystickHats(joy, &hats);
        if (!real) return 0;
        int out = 0;
        for (int i = 0; i < n && out < count; ++i) buttons[out++] = real[i] == GLFW_PRESS ? PRESS : RELEASE;
        // NOTE: GLFW 2 knew one hat per pad. Only the first is presented, so that the last four buttons, which
        // the host reads as the direction pad, are that hat even on a pad that reports a second one.
        if (hats > 0) {
            const unsigned char order[4] = {GLFW_HAT_LEFT, GLFW_HAT_UP, GLFW_HAT_RIGHT, GLFW_HAT_DOWN};
            for (unsigned char direction : order) {
                if (out < count) buttons[out++] = hat[0] == direction ? PRESS : RELEASE;
            }
        }
        return out;
    }

    void SetKeyCallback(KeyFun fun) override { keyFun_ = fun; }
    void SetCharCallback(CharFun fun) override { charFun_ = fun; }
    void SetMouseButtonCallback(MouseButtonFun fun) override { mouseButtonFun_ = fun; }
    void SetMousePosCallback(MousePosFun fun) override { mousePosFun_ = fun; }
    void SetWindowCloseCallback(WindowCloseFun fun) override { closeFun_ = fun; }

    static Glfw3Backend& Self();

private:
    void ShowOnce() {
        if (!shown_) {
            shown_ = true;
            glfwShowWindow(window_);
        }
    }
    void SetToken(int token, bool on) {
        if (token == MOUSE_CURSOR && window_) {
            glfwSetInputMode(window_, GLFW_CURSOR, on ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
        } else if (token == KEY_REPEAT) {
            keyRepeat_ = on;
        }
        // AUTO_POLL_EVENTS: GLFW 3 never polls by itself, which is what the host asks for.
    }

    static void OnKey(GLFWwindow*, int key, int, int action, int) {
        Glfw3Backend& self = Self();
        if (key >= 0 && key <= GLFW_KEY_LAST) {
            if (self.carried_[key]) {
                if (action != GLFW_RELEASE) return;
                self.carried_[key] = false;
            }
            // NOTE: the new window never saw the key go down, so GLFW gives it the hold's first repeat as a press;
            // only the release tells the old hold's last repeat from a fresh press.
            if (self.justLetGo_[key]) {
                if (action != GLFW_RELEASE) return;
                self.justLetGo_[key] = false;
            }
        }
        int k = KeyFromGlfw3(key);
        if (!k || !self.keyFun_) return;
        if (action == GLFW_REPEAT && !self.keyRepeat_) return;
        self.keyFun_(k, action == GLFW_RELEASE ? RELEASE : PRESS);
    }
    static void OnChar(GLFWwindow*, unsigned int codepoint) {
        if (Self().charFun_) Self().charFun_(static_cast<int>(codepoint), PRESS);
    }
    static void OnMouseButton(GLFWwindow*, int button, int action, int) {
        if (Self().mouseButtonFun_) Self().mouseButtonFun_(button, action == GLFW_PRESS ? PRESS : RELEASE);
    }
    static void OnCursorPos(GLFWwindow*, double x, double y) {
        if (Self().mousePosFun_) Self().mousePosFun_(static_cast<int>(x), static_cast<int>(y));
    }
    static void OnFramebufferSize(GLFWwindow*, int width, int height) {
        Self().width_ = width;
        Self().height_ = height;
    }
    static void OnClose(GLFWwindow* window) {
        // GLFW 2 closed the window only when the callback answered non-zero.
        WindowCloseFun fun = Self().closeFun_;
        // A window cannot be destroyed inside its own callback: it closes once the event pump returns.
        if (fun && fun() == 0) glfwSetWindowShouldClose(window, GLFW_FALSE);
    }
    void CloseIfAsked() {
        if (window_ && glfwWindowShouldClose(window_)) CloseWindow();
    }
    // A key carried over from the last window is let go of when the window system no longer has it down.
    // NOTE: the new window never saw that key pressed, so it reports no release of it; asking the X server is
    // the only way to learn of it. Elsewhere than on X the key stays carried until a release is reported.
    // The repeats of a key found let go of here may still wait in the queue ahead of its release: they are dropped
    // until the release, within the next batch of events.
    void ForgetCarriedKeysLetGo() {
        if (!anyCarried_ || !window_) return;
        char down[32] = {};
        if (!PhysicalKeys(down)) return;
        anyCarried_ = false;
        for (int k = GLFW_KEY_SPACE; k <= GLFW_KEY_LAST; ++k) {
            if (carried_[k] && !PhysicallyDown(down, k)) {
                carried_[k] = false;
                justLetGo_[k] = anyJustLetGo_ = true;
            }
            anyCarried_ = anyCarried_ || carried_[k];
        }
    }
    // The X server's map of the keys down now (a bit per key code); false away from X.
    static bool PhysicalKeys(char down[32]) {
        Display* display = glfwGetX11Display();
        return display && XQueryKeymap(display, down);
    }
    static bool PhysicallyDown(const char down[32], int key) {
        const int code = glfwGetKeyScancode(key);
        return code >= 0 && code <= 255 && (down[code / 8] & (1 << (code % 8)));
    }

    GLFWwindow* window_ = nullptr;
    int width_ = 0, height_ = 0;  // the window's framebuffer size in pixels, as GLFW last reported it
    int refreshRate_ = 0;
    bool resizable_ = true;
    bool keyRepeat_ = false;
    bool shown_ = false;
    bool carried_[GLFW_KEY_LAST + 1] = {};  // held when the last window closed, by GLFW 3 key
    bool anyCarried_ = false;
    bool justLetGo_[GLFW_KEY_LAST + 1] = {};  // carried, found let go of, its release not yet handled
    bool anyJustLetGo_ = false;
    KeyFun keyFun_ = nullptr;
    CharFun charFun_ = nullptr;
    MouseButtonFun mouseButtonFun_ = nullptr;
    MousePosFun mousePosFun_ = nullptr;
    WindowCloseFun closeFun_ = nullptr;
};

Glfw3Backend& Glfw3Backend::Self() {
    static Glfw3Backend backend;
    return backend;
}

Backend* installed = nullptr;

}  // namespace

Backend& RealBackend() { return Glfw3Backend::Self(); }

Backend* Install(Backend* backend) {
    Backend* previous = installed ? installed : &RealBackend();
    installed = backend;
    return previous;
}

Backend& Current() { return installed ? *installed : RealBackend(); }

}  // namespace glfw2
