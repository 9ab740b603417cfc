// The app module: registration of the application, the game delegate and the device size cache.
#include "framework/app/app.h"

#include <map>
#include <vector>

#include "host/errors.h"

KpGame* kp_app__game = nullptr;
c_App* kp_app__app = nullptr;
c_GameDelegate* kp_app__delegate = nullptr;
int kp_app__updateRate = 0;
int kp_app__devWidth = 0;
int kp_app__devHeight = 0;
Array<StrongRef<c_DisplayMode>> kp_app__displayModes;
StrongRef<c_DisplayMode> kp_app__desktopMode;

void kp_app_Init(KpGame* game) {
    kp_app__game = game;
    kp_app__app = nullptr;
    kp_app__delegate = nullptr;
    kp_app__updateRate = 0;
    kp_app__devWidth = 0;
    kp_app__devHeight = 0;
    kp_app__displayModes = Array<StrongRef<c_DisplayMode>>();
    kp_app__desktopMode = nullptr;
}

c_App* c_App::m_new() {
    if (kp_app__app) kpError(String("App has already been created"));
    kp_app__app = this;
    Retain();  // the application lives for the whole process
    kp_app__delegate = new c_GameDelegate();
    kp_app__delegate->Retain();
    kp_app__game->SetDelegate(kp_app__delegate);
    return this;
}

int c_App::p_OnClose() { kp_app_EndApp(); }
int c_App::p_OnBack() { kp_app_EndApp(); }

void kp_app_SetUpdateRate(int hertz) {
    kp_app__updateRate = hertz;
    kp_app__game->SetUpdateRate(hertz);
}

int kp_app_UpdateRate() { return kp_app__updateRate; }

int kp_app_Millisecs() { return kp_app__game->Millisecs(); }

void kp_app_EndApp() { kpError(String()); }

void kp_app_ValidateDeviceWindow(bool) {
    kp_app__devWidth = kp_app__game->GetDeviceWidth();
    kp_app__devHeight = kp_app__game->GetDeviceHeight();
}

int kp_app_DeviceWidth() { return kp_app__devWidth; }
int kp_app_DeviceHeight() { return kp_app__devHeight; }

void kp_app_EnumDisplayModes() {
    Array<KpDisplayMode> modes = kp_app__game->GetDisplayModes();
    std::map<int, StrongRef<c_DisplayMode>> seen;
    std::vector<StrongRef<c_DisplayMode>> stack;
    for (const KpDisplayMode& mode : modes) {
        const int key = (mode.width << 16) | mode.height;
        if (seen.count(key)) continue;
        StrongRef<c_DisplayMode> entry = MakeRef<c_DisplayMode>(mode.width, mode.height);
        seen[key] = entry;
        stack.push_back(entry);
    }
    kp_app__displayModes = Array<StrongRef<c_DisplayMode>>(static_cast<int>(stack.size()));
    for (size_t i = 0; i < stack.size(); ++i) kp_app__displayModes[static_cast<int>(i)] = stack[i];
    if (auto desktop = kp_app__game->GetDesktopMode()) {
        kp_app__desktopMode = MakeRef<c_DisplayMode>(desktop->width, desktop->height);
    } else {
        kp_app__desktopMode = MakeRef<c_DisplayMode>(kp_app__devWidth, kp_app__devHeight);
    }
}

Array<StrongRef<c_DisplayMode>> kp_app_DisplayModes() { return kp_app__displayModes; }
StrongRef<c_DisplayMode> kp_app_DesktopMode() { return kp_app__desktopMode; }

void kp_app_SaveState(const String& text) { kp_app__game->SaveState(text); }
String kp_app_LoadState() { return kp_app__game->LoadState(); }
String kp_app_LoadString(const String& path) { return kp_app__game->LoadString(path); }
