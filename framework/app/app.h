// The app module: the application base class c_App, the game delegate that owns the devices and calls the
// application's hooks, and the kp_app_* functions and globals (update rate, device size cache, display modes).
// Depends on the host (KpGame, the delegate interface) and the runtime.
#pragma once

#include "host/kpgame.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class hwGraphics;
class hwAudio;
class c_InputDevice;

// The application: the host calls its five hooks through the game delegate.
class c_App : public Object {
public:
    // Registers this object as the application; a second one is a fatal error.
    c_App* m_new();
    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    int p_OnResize() { return 0; }
    int p_OnLoading() { return 0; }
    // Both end the process with status 0.
    int p_OnClose();
    int p_OnBack();
};

// The game's delegate: owns the graphics, audio and input devices and calls the application's hooks.
class c_GameDelegate : public Object, public KpGameDelegate {
public:
    c_GameDelegate();
    ~c_GameDelegate() override;
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;

    hwGraphics* m_graphics = nullptr;
    hwAudio* m_audio = nullptr;
    c_InputDevice* m_input = nullptr;
};

class c_DisplayMode : public Object {
public:
    c_DisplayMode(int width, int height) : m_width(width), m_height(height) {}
    int m_width, m_height;
};

extern KpGame* kp_app__game;
extern c_App* kp_app__app;
extern c_GameDelegate* kp_app__delegate;
extern int kp_app__updateRate;
extern int kp_app__devWidth;
extern int kp_app__devHeight;
extern Array<StrongRef<c_DisplayMode>> kp_app__displayModes;
extern StrongRef<c_DisplayMode> kp_app__desktopMode;

// Stores the rate and asks the host for it (0: one update per rendered frame).
void kp_app_SetUpdateRate(int hertz);
int kp_app_UpdateRate();
int kp_app_Millisecs();
// Ends the process with status 0.
[[noreturn]] void kp_app_EndApp();
// Refreshes the device size cache from the host; the argument has no effect.
void kp_app_ValidateDeviceWindow(bool notify);
int kp_app_DeviceWidth();
int kp_app_DeviceHeight();
// Fills the display-mode list (one entry per size, in the host's order) and the desktop mode.
void kp_app_EnumDisplayModes();
Array<StrongRef<c_DisplayMode>> kp_app_DisplayModes();
StrongRef<c_DisplayMode> kp_app_DesktopMode();
void kp_app_SaveState(const String& text);
String kp_app_LoadState();
String kp_app_LoadString(const String& path);
// Sets the app module's globals to their start values.
void kp_app_Init(KpGame* game);
