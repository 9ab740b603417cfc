// c_MyApp: switching between fullscreen at desktop size and the 640 by 480 window.
#include "game/myapp.h"
#include "host/glfwgame.h"

int c_MyApp::p_FullscreenFlip() {
    KpGlfwGame* host = KpGlfwGame::_glfwGame;
    const KpGlfwVideoMode desktop = host->GetGlfwDesktopMode();
    m_fullscreen = 1 - m_fullscreen;
    if (m_fullscreen == 1) {
        host->SetGlfwWindow(desktop.width, desktop.height, desktop.red, desktop.green, desktop.blue, 0, 0, 0, true);
    } else {
        // The windowed size is always the starting one, whatever the window measured before.
        host->SetGlfwWindow(640, 480, desktop.red, desktop.green, desktop.blue, 0, 0, 0, false);
    }
    return 0;
}
