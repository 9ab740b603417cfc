// c_GameDelegate: the game's side of every host callback. It owns the three devices and brackets each
// application update with the input device's begin and end, and each render with the graphics device's.
#include "framework/app/app.h"

#include "framework/audio/audio.h"

c_GameDelegate::c_GameDelegate() = default;
c_GameDelegate::~c_GameDelegate() = default;

void c_GameDelegate::StartGame() {
    // NOTE: the devices live for the whole process.
    m_audio = new hwAudio();
    m_audio->Retain();
    kp_audio_SetAudioDevice(m_audio);
    kp_app_ValidateDeviceWindow(false);
    kp_app_EnumDisplayModes();
    kp_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    kp_app__app->p_OnSuspend();
    if (m_audio) m_audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    if (m_audio) m_audio->Resume();
    kp_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    kp_app_ValidateDeviceWindow(false);
    kp_app__app->p_OnUpdate();
}

void c_GameDelegate::RenderGame() {
    kp_app_ValidateDeviceWindow(false);
    kp_app__app->p_OnRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    if (event != KpEventKeyDown) return;
    if (data == KpKeyClose) kp_app__app->p_OnClose();
    if (data == KpKeyBack) kp_app__app->p_OnBack();
}

void c_GameDelegate::MouseEvent(int, int, float, float) {}
void c_GameDelegate::TouchEvent(int, int, float, float) {}
void c_GameDelegate::MotionEvent(int, int, float, float, float) {}
void c_GameDelegate::DiscardGraphics() {}
