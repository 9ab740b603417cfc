// KpGlfwGame: the desktop host over the GLFW 2-style layer: the window, the frame loop, the event callbacks,
// pads, paths into the data folder (beside the executable, or the installed one). The desktop's host backend
// (backend.h): start-up creates it as KpZindleGame.
// Implements every KpGame operation a platform answers: the clock, the state file (the base class's), pads,
// opening links, the pointer, the window's size and modes, fullscreen, the swap interval, handing freed memory
// back (malloc_trim), paths, decoding art (ahead, on a thread of its own) and sounds. Leaves out only
// AudioRunning (sound runs from the start) and StatePlaceForPlayer (the state file's path says where it is).
// Depends on host/kpgame.h and host/desktop/glfw2.h.
#pragma once

#include "host/desktop/glfw2.h"
#include "host/graphics_generation.h"  // kpGraphicsSeq, advanced by each window opened
#include "host/desktop/image_ahead.h"
#include "host/kpgame.h"
#include "host/update_schedule.h"

struct KpGlfwVideoMode {
    int width = 0, height = 0;
    int red = 0, green = 0, blue = 0;
};

class KpGlfwGame : public KpGame {
public:
    KpGlfwGame();

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    int SaveState(const String& text) override { return KpGame::SaveState(text); }
    String LoadState() override { return KpGame::LoadState(); }
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    void OpenUrl(const String& url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<KpDisplayMode> GetDisplayModes() override;
    std::optional<KpDisplayMode> GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    void ReleaseFreedMemory() override;
    String PathToFilePath(const String& path) override;
    void DecodeImagesAhead(const std::vector<String>& paths) override;
    unsigned char* LoadImageData(const String& path, int* width, int* height, int* depth) override;
    unsigned char* LoadAudioData(const String& path, int* length, int* channels, int* format, int* hertz) override;

    // Opens (or re-opens) the one window; see the .cpp for the steps.
    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen);
    virtual KpGlfwVideoMode GetGlfwDesktopMode();
    virtual Array<KpGlfwVideoMode> GetGlfwVideoModes();
    // Opens the window and runs the frame loop until the window is gone.
    virtual void Run();

    // The event phase of one loop iteration.
    void UpdateEvents();

    // GLFW 2 key to game key code; 0 for keys the game does not know.
    static int TransKey(int glfwKey);
    // The character a key press also produces; 0 for none.
    static int KeyToChar(int code);

    // Window callbacks, registered by SetGlfwWindow.
    static void OnKey(int key, int action);
    static void OnChar(int character, int action);
    static void OnMouseButton(int button, int action);
    static void OnMousePos(int x, int y);
    static int OnWindowClose();

    static KpGlfwGame* _glfwGame;

protected:
    // The executable's folder, forward slashes, no trailing slash.
    String AppDirectory();
    // The folder "zindle://data/" maps to (FindDataDirectory), found once.
    String DataDirectory();
    // Whether a window exists now.
    bool WindowOpen();

    UpdateSchedule schedule_;
    String _appDir;
    String _dataDir;
    String _internalDir;
    int _swapInterval = 1;
    // Art files wanted soon, read and decoded on a thread of their own.
    ImageDecodeAhead decodeAhead_;
};
