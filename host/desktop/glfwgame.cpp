// KpGlfwGame: the frame loop, the window and its callbacks, pads and paths on the desktop host.
#include "host/desktop/glfwgame.h"

#include <malloc.h>  // malloc_trim
#include <unistd.h>  // readlink

#include <climits>
#include <cstdlib>

#include "host/audio_data.h"  // LoadAudioFile
#include "host/files.h"       // FindDataDirectory, MapVirtualPath
#include "host/image_data.h"  // LoadImagePixels
#include "host/input_map.h"   // kpReadPad and the desktop's pad layouts

KpGlfwGame* KpGlfwGame::_glfwGame = nullptr;

KpGlfwGame::KpGlfwGame() { _glfwGame = this; }

void KpGlfwGame::SetUpdateRate(int hertz) {
    KpGame::SetUpdateRate(hertz);
    schedule_.SetRate(hertz);
}

int KpGlfwGame::Millisecs() { return static_cast<int>(glfw2::GetTime() * 1000.0); }

bool KpGlfwGame::WindowOpen() { return glfw2::GetWindowParam(glfw2::OPENED) != 0; }

void KpGlfwGame::Run() {
    SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    while (WindowOpen()) {
        RenderGame();
        glfw2::SwapBuffers();
        if (schedule_.Running()) {
            const double wait = schedule_.WaitFrom(glfw2::GetTime());
            if (wait > 0) glfw2::Sleep(wait);
        }
        UpdateEvents();
        schedule_.RunUpdates(*this, [] { return glfw2::GetTime(); });
    }
}

void KpGlfwGame::UpdateEvents() {
    if (_suspended) {
        glfw2::WaitEvents();
    } else {
        glfw2::PollEvents();
    }
    schedule_.FollowActivity(*this, glfw2::GetWindowParam(glfw2::ACTIVE) != 0);
}

// ---- The window ----

void KpGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
    // Release held keys, so that no key stays down across the change of window.
    for (int key = 0; key <= glfw2::KEY_LAST; ++key) {
        int code = TransKey(key);
        if (code != 0 && glfw2::GetKey(key) == glfw2::PRESS) KeyEvent(KpEventKeyUp, code);
    }
    const glfw2::VidMode desktop = glfw2::GetDesktopMode();
    glfw2::CloseWindow();

    glfw2::OpenWindowHint(glfw2::REFRESH_RATE, 60);
    glfw2::OpenWindowHint(glfw2::WINDOW_NO_RESIZE, 0);
    bool opened = glfw2::OpenWindow(width, height, red, green, blue, alpha, depth, stencil,
                                    fullscreen ? glfw2::FULLSCREEN : glfw2::WINDOW);
    if (!opened && (fullscreen || width != 640 || height != 480)) {
        // NOTE: a mode the window system refuses must not leave the game without a window: fall back to the
        // starting window. When even that fails, the loop ends as it does when the window is closed.
        fullscreen = false;
        width = 640;
        height = 480;
        glfw2::OpenWindowHint(glfw2::WINDOW_NO_RESIZE, 0);
        opened = glfw2::OpenWindow(width, height, red, green, blue, alpha, depth, stencil, glfw2::WINDOW);
    }
    if (!opened) return;
    ++kpGraphicsSeq;
    if (!fullscreen) {
        glfw2::SetWindowPos((desktop.width - width) / 2, (desktop.height - height) / 2);
        glfw2::SetWindowTitle("Quorlix");
    }
    if (_swapInterval >= 0) glfw2::SwapInterval(_swapInterval);
    glfw2::Enable(glfw2::KEY_REPEAT);
    glfw2::Disable(glfw2::AUTO_POLL_EVENTS);
    glfw2::SetKeyCallback(OnKey);
    glfw2::SetCharCallback(OnChar);
    glfw2::SetMouseButtonCallback(OnMouseButton);
    glfw2::SetMousePosCallback(OnMousePos);
    glfw2::SetWindowCloseCallback(OnWindowClose);
}

void KpGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, (flags & 1) != 0);
}

int KpGlfwGame::GetDeviceWidth() {
    int width = 0, height = 0;
    glfw2::GetWindowSize(&width, &height);
    return width;
}

int KpGlfwGame::GetDeviceHeight() {
    int width = 0, height = 0;
    glfw2::GetWindowSize(&width, &height);
    return height;
}

KpGlfwVideoMode KpGlfwGame::GetGlfwDesktopMode() {
    const glfw2::VidMode mode = glfw2::GetDesktopMode();
    return {mode.width, mode.height, mode.redBits, mode.greenBits, mode.blueBits};
}

std::optional<KpDisplayMode> KpGlfwGame::GetDesktopMode() {
    const glfw2::VidMode mode = glfw2::GetDesktopMode();
    KpDisplayMode out;
    out.width = mode.width;
    out.height = mode.height;
    return out;
}

Array<KpGlfwVideoMode> KpGlfwGame::GetGlfwVideoModes() {
    static glfw2::VidMode modes[1024];
    const int n = glfw2::GetVideoModes(modes, 1024);
    Array<KpGlfwVideoMode> out(n);
    for (int i = 0; i < n; ++i) out[i] = {modes[i].width, modes[i].height, modes[i].redBits, modes[i].greenBits,
                                          modes[i].blueBits};
    return out;
}

Array<KpDisplayMode> KpGlfwGame::GetDisplayModes() {
    Array<KpGlfwVideoMode> modes = GetGlfwVideoModes();
    Array<KpDisplayMode> out(modes.Length());
    for (int i = 0; i < modes.Length(); ++i) {
        out[i].width = modes[i].width;
        out[i].height = modes[i].height;
    }
    return out;
}

void KpGlfwGame::SetSwapInterval(int interval) {
    _swapInterval = interval;
    if (interval >= 0) glfw2::SwapInterval(interval);
}

void KpGlfwGame::ReleaseFreedMemory() { malloc_trim(0); }

void KpGlfwGame::SetMouseVisible(bool visible) {
    if (visible) {
        glfw2::Enable(glfw2::MOUSE_CURSOR);
    } else {
        glfw2::Disable(glfw2::MOUSE_CURSOR);
    }
}

void KpGlfwGame::OpenUrl(const String& url) {
    // The desktop's opener stands in for the shell's "open" verb; the text is narrowed to bytes as given.
    pid_t child = fork();
    if (child == 0) {
        std::string target = url.ToBytes();
        execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

// ---- Callbacks ----

int KpGlfwGame::TransKey(int key) {
    if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90)) return key;
    if (key < 32 || key > 316) return 0;
    if (key >= glfw2::KEY_F1 && key <= glfw2::KEY_F12) return 112 + (key - glfw2::KEY_F1);
    if (key >= glfw2::KEY_KP_0 && key <= glfw2::KEY_KP_9) return 96 + (key - glfw2::KEY_KP_0);
    switch (key) {
        case 32: return 32;
        case 39: case 34: return 222;
        case 44: return 188;
        case 45: return 189;
        case 46: return 190;
        case 47: return 191;
        case 59: return 186;
        case 61: return 187;
        case 91: return 219;
        case 92: return 220;
        case 93: return 221;
        case 96: case 126: return 192;
        case glfw2::KEY_ESC: return 27;
        case glfw2::KEY_UP: return 38;
        case glfw2::KEY_DOWN: return 40;
        case glfw2::KEY_LEFT: return 37;
        case glfw2::KEY_RIGHT: return 39;
        case glfw2::KEY_LSHIFT: case glfw2::KEY_RSHIFT: return 16;
        case glfw2::KEY_LCTRL: case glfw2::KEY_RCTRL: return 17;
        case glfw2::KEY_TAB: return 9;
        case glfw2::KEY_ENTER: return 13;
        case glfw2::KEY_BACKSPACE: return 8;
        case glfw2::KEY_INSERT: return 45;
        case glfw2::KEY_DEL: return 46;
        case glfw2::KEY_PAGEUP: return 33;
        case glfw2::KEY_PAGEDOWN: return 34;
        case glfw2::KEY_HOME: return 36;
        case glfw2::KEY_END: return 35;
        case glfw2::KEY_KP_MULTIPLY: return 106;
        case glfw2::KEY_KP_ADD: return 107;
        case glfw2::KEY_KP_SUBTRACT: return 109;
        case glfw2::KEY_KP_DECIMAL: return 110;
        case glfw2::KEY_KP_DIVIDE: return 111;
        default: return 0;
    }
}

int KpGlfwGame::KeyToChar(int code) { return kpKeyToChar(code); }

void KpGlfwGame::OnKey(int key, int action) {
    const int code = TransKey(key);
    if (code == 0) return;
    if (action == glfw2::RELEASE) {
        _game->KeyEvent(KpEventKeyUp, code);
        return;
    }
    _game->KeyEvent(KpEventKeyDown, code);
    if (int character = KeyToChar(code)) _game->KeyEvent(KpEventKeyChar, character);
}

void KpGlfwGame::OnChar(int character, int action) {
    if (action == glfw2::PRESS) _game->KeyEvent(KpEventKeyChar, character);
}

void KpGlfwGame::OnMouseButton(int button, int action) {
    if (button < 0 || button > 2) return;
    int x = 0, y = 0;
    glfw2::GetMousePos(&x, &y);
    _game->MouseEvent(action == glfw2::PRESS ? KpEventMouseDown : KpEventMouseUp, button, static_cast<float>(x),
                      static_cast<float>(y));
}

void KpGlfwGame::OnMousePos(int x, int y) {
    _game->MouseEvent(KpEventMouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

int KpGlfwGame::OnWindowClose() {
    _game->KeyEvent(KpEventKeyDown, KpKeyClose);
    _game->KeyEvent(KpEventKeyUp, KpKeyClose);
    return 0;
}

// ---- Pads ----

namespace {
int pjoys[4] = {-1, -1, -1, -1};

// The raw tables of the window layer's two pad layouts: the button of each pad slot (negative from the end, where
// the hat is), and the source code of each of the six stick outputs.
constexpr KpPadTables kLayoutA = kpPadTables(kDesktopPadLayoutA);
constexpr KpPadTables kLayoutB = kpPadTables(kDesktopPadLayoutB);
}  // namespace

bool KpGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    if (port < 0 || port > 3) return false;
    if (port == 0) {
        int unit = 0;
        for (int joy = 0; joy <= glfw2::JOYSTICK_LAST && unit < 4; ++joy) {
            if (glfw2::GetJoystickParam(joy, glfw2::PRESENT)) pjoys[unit++] = joy;
        }
        for (; unit < 4; ++unit) pjoys[unit] = -1;
    }
    const int joy = pjoys[port];
    if (joy == -1) return false;

    float axes[6] = {0, 0, 0, 0, 0, 0};
    unsigned char states[32] = {};
    const int axisCount = glfw2::GetJoystickPos(joy, axes, 6);
    const int buttonCount = glfw2::GetJoystickButtons(joy, states, 32);
    bool pressed[32];
    for (int i = 0; i < 32; ++i) pressed[i] = states[i] == glfw2::PRESS;

    const bool layoutA = buttonCount == 14 && axisCount == 5;
    kpReadPad(layoutA ? kLayoutA : kLayoutB, {axes, axisCount, pressed, buttonCount}, joyx, joyy, joyz, buttons);
    return true;
}

// ---- Paths ----

String KpGlfwGame::AppDirectory() {
    if (_appDir.Empty()) {
        char path[PATH_MAX + 1];
        const ssize_t n = readlink("/proc/self/exe", path, PATH_MAX);
        String exe = n > 0 ? String(path, static_cast<int>(n)) : String();
        exe = String::FromUtf8(exe.ToBytes()).Replace(String("\\"), String("/"));
        int slash = -1;
        for (int i = exe.Find(String("/")); i != -1; i = exe.Find(String("/"), i + 1)) slash = i;
        // NOTE: a path with no separator leaves the folder as "." so virtual roots still resolve somewhere sane.
        _appDir = slash >= 0 ? exe.Slice(0, slash) : String(".");
    }
    return _appDir;
}

String KpGlfwGame::DataDirectory() {
    if (_dataDir.Empty()) _dataDir = FindDataDirectory(AppDirectory(), String(QUORLIX_INSTALLED_DATA));
    return _dataDir;
}

String KpGlfwGame::PathToFilePath(const String& path) {
    const String appDir = AppDirectory();
    return MapVirtualPath(path, {[this] { return DataDirectory(); },
                                 [this, appDir] {
                                     if (_internalDir.Empty()) _internalDir = appDir + String("/internal");
                                     return _internalDir;
                                 },
                                 [appDir] { return appDir + String("/external"); }});
}

// ---- Art and sounds ----

void KpGlfwGame::DecodeImagesAhead(const std::vector<String>& paths) {
    std::vector<std::string> files;
    files.reserve(paths.size());
    for (const String& path : paths) files.push_back(PathToFilePath(path).ToUtf8());
    decodeAhead_.Want(files);
}

unsigned char* KpGlfwGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    return LoadImagePixels(*this, path, decodeAhead_.Take(PathToFilePath(path).ToUtf8()), width, height, depth);
}

unsigned char* KpGlfwGame::LoadAudioData(const String& path, int* length, int* channels, int* format, int* hertz) {
    return LoadAudioFile(*this, path, length, channels, format, hertz);
}
