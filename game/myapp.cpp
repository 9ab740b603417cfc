// c_MyApp: construction, the five hooks the host calls, screen dispatch and the virtual screen.
#include "game/myapp.h"

#include "game/search.h"

c_MyApp::c_MyApp()
    : m_touchDown(10), m_touchX(10), m_touchY(10), m_sounds(100), m_sfxChannels(33), m_settings(25), m_badges(256), m_scores(25600), m_player(512) {}

int c_MyApp::p_OnCreate() {
    m_fullscreen = 0;
    m_state = 1;
    kp_app__updateRate = 60;
    kp_app_SetUpdateRate(60);
    m_lastDevWidth = kp_app_DeviceWidth();
    m_lastDevHeight = kp_app_DeviceHeight();
    return 0;
}

int c_MyApp::p_OnUpdate() { return 0; }

int c_MyApp::p_OnRender() { return 0; }

int c_MyApp::p_OnSuspend() { return 0; }

int c_MyApp::p_OnResume() { return 0; }
