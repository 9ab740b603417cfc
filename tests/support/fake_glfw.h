// FakeGlfw: a scripted stand-in for the GLFW 2-style layer, for tests of the host and everything above it.
// Depends on host/desktop/glfw2.h only. Its clock moves only when the test (or a sleep) moves it; its window exists
// only in memory; its pads report what the test sets. Install it with glfw2::Install(&fake) and put the real
// backend back with glfw2::Install(nullptr) (ScopedFakeGlfw does both).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/desktop/glfw2.h"

struct FakePad {
    bool present = false;
    std::vector<float> axes;             // as GLFW 2 reports them
    std::vector<unsigned char> buttons;  // real buttons then the hat as left, up, right, down
};

class FakeGlfw : public glfw2::Backend {
public:
    // ---- What the test scripts ----
    double now = 0.0;                    // the clock, seconds
    bool active = true;                  // window has the focus
    bool failFullscreen = false;         // refuse fullscreen windows
    bool failWindows = false;            // refuse every window
    int width = 0, height = 0;           // client size of the open window
    glfw2::VidMode desktop{1280, 1024, 8, 8, 8};
    std::vector<glfw2::VidMode> modes{{640, 480, 8, 8, 8}, {1280, 1024, 8, 8, 8}};
    std::map<int, bool> keysHeld;        // GLFW 2 key -> held
    FakePad pads[16];
    // Runs inside every PollEvents / WaitEvents, where a real window delivers its callbacks.
    std::function<void(FakeGlfw&)> onEvents;

    // ---- What the test reads back ----
    bool windowOpen = false;
    bool fullscreen = false;
    int windowsOpened = 0;
    int x = -1, y = -1;
    std::string title;
    int swapInterval = -100;              // -100: never set
    std::vector<int> swapIntervals;
    std::vector<double> sleeps;
    int polls = 0, waits = 0, swaps = 0;
    std::map<int, int> hints;
    bool keyRepeat = false;
    glfw2::KeyFun keyFun = nullptr;
    glfw2::CharFun charFun = nullptr;
    glfw2::MouseButtonFun mouseButtonFun = nullptr;
    glfw2::MousePosFun mousePosFun = nullptr;
    glfw2::WindowCloseFun closeFun = nullptr;

    // Delivers what a real window would from inside the event pump.
    void PressKey(int key) { if (keyFun) keyFun(key, glfw2::PRESS); }
    void ReleaseKey(int key) { if (keyFun) keyFun(key, glfw2::RELEASE); }
    void ClickClose() { if (closeFun && closeFun() != 0) windowOpen = false; }

    // ---- glfw2::Backend ----
    bool Init() override { return true; }
    void Terminate() override { windowOpen = false; }
    double GetTime() override { return now; }
    void Sleep(double seconds) override {
        sleeps.push_back(seconds);
        if (seconds > 0) now += seconds;
    }
    void PollEvents() override {
        ++polls;
        if (onEvents) onEvents(*this);
    }
    void WaitEvents() override {
        ++waits;
        if (onEvents) onEvents(*this);
    }
    void OpenWindowHint(int target, int hint) override { hints[target] = hint; }
    bool OpenWindow(int w, int h, int, int, int, int, int, int, int mode) override {
        windowOpen = false;
        if (failWindows || (mode == glfw2::FULLSCREEN && failFullscreen)) return false;
        windowOpen = true;
        fullscreen = mode == glfw2::FULLSCREEN;
        width = w;
        height = h;
        x = y = 0;
        title.clear();
        ++windowsOpened;
        return true;
    }
    void CloseWindow() override { windowOpen = false; }
    void SetWindowTitle(const std::string& t) override { title = t; }
    void SetWindowPos(int px, int py) override { x = px, y = py; }
    void GetWindowPos(int* px, int* py) override { *px = x, *py = y; }
    void GetWindowSize(int* w, int* h) override {
        *w = windowOpen ? width : 0;
        *h = windowOpen ? height : 0;
    }
    int GetWindowParam(int param) override {
        if (param == glfw2::OPENED) return windowOpen;
        if (param == glfw2::ACTIVE) return windowOpen && active;
        return 0;
    }
    void SwapBuffers() override { ++swaps; }
    void SwapInterval(int interval) override {
        swapInterval = interval;
        swapIntervals.push_back(interval);
    }
    glfw2::VidMode GetDesktopMode() override { return desktop; }
    int GetVideoModes(glfw2::VidMode* list, int maxCount) override {
        int n = 0;
        for (; n < static_cast<int>(modes.size()) && n < maxCount; ++n) list[n] = modes[static_cast<size_t>(n)];
        return n;
    }
    void Enable(int token) override { if (token == glfw2::KEY_REPEAT) keyRepeat = true; }
    void Disable(int token) override { if (token == glfw2::KEY_REPEAT) keyRepeat = false; }
    int GetKey(int key) override {
        auto it = keysHeld.find(key);
        return it != keysHeld.end() && it->second ? glfw2::PRESS : glfw2::RELEASE;
    }
    void GetMousePos(int* px, int* py) override { *px = mouseX, *py = mouseY; }
    int GetJoystickParam(int joy, int param) override {
        if (joy < 0 || joy > 15 || !pads[joy].present) return 0;
        if (param == glfw2::PRESENT) return 1;
        if (param == glfw2::AXES) return static_cast<int>(pads[joy].axes.size());
        if (param == glfw2::BUTTONS) return static_cast<int>(pads[joy].buttons.size());
        return 0;
    }
    int GetJoystickPos(int joy, float* pos, int count) override {
        if (joy < 0 || joy > 15 || !pads[joy].present) return 0;
        int n = 0;
        for (; n < count && n < static_cast<int>(pads[joy].axes.size()); ++n) pos[n] = pads[joy].axes[size_t(n)];
        return n;
    }
    int GetJoystickButtons(int joy, unsigned char* out, int count) override {
        if (joy < 0 || joy > 15 || !pads[joy].present) return 0;
        int n = 0;
        for (; n < count && n < static_cast<int>(pads[joy].buttons.size()); ++n) out[n] = pads[joy].buttons[size_t(n)];
        return n;
    }
    void SetKeyCallback(glfw2::KeyFun f) override { keyFun = f; }
    void SetCharCallback(glfw2::CharFun f) override { charFun = f; }
    void SetMouseButtonCallback(glfw2::MouseButtonFun f) override { mouseButtonFun = f; }
    void SetMousePosCallback(glfw2::MousePosFun f) override { mousePosFun = f; }
    void SetWindowCloseCallback(glfw2::WindowCloseFun f) override { closeFun = f; }

    int mouseX = 0, mouseY = 0;
};

// Installs a FakeGlfw for the life of a test and puts the real backend back afterwards.
struct ScopedFakeGlfw {
    FakeGlfw fake;
    ScopedFakeGlfw() { glfw2::Install(&fake); }
    ~ScopedFakeGlfw() { glfw2::Install(nullptr); }
    FakeGlfw* operator->() { return &fake; }
};
