// c_MyApp: switching between fullscreen at desktop size and the 640 by 480 window.
// Depends on the host game, whichever host it is: the desktop opens a new window at the desktop's size, a browser
// asks for its fullscreen.
#include "game/myapp.h"
#include "host/kpgame.h"

int c_MyApp::p_FullscreenFlip() {
    KpGame* host = KpGame::_game;
    m_fullscreen = 1 - m_fullscreen;
    if (m_fullscreen == 1) {
        const KpDisplayMode desktop = host->GetDesktopMode().value_or(KpDisplayMode{640, 480});
        host->SetDeviceWindow(desktop.width, desktop.height, 1);
    } else {
        // The windowed size is always the starting one, whatever the window measured before.
        host->SetDeviceWindow(640, 480, 0);
    }
    return 0;
}
