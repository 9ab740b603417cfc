// c_GameDelegate: the game's side of every host callback. It owns the three devices and brackets each
// application update with the input device's begin and end, and each render with the graphics device's.
#include "framework/app/app.h"
#include "framework/graphics/graphics.h"

#include "framework/input/input.h"

#include "framework/audio/audio.h"

c_GameDelegate::c_GameDelegate() = default;
c_GameDelegate::~c_GameDelegate() = default;

void c_GameDelegate::StartGame() {
    m_graphics = new hwGraphics(kp_app__game);
    m_graphics->Retain();  // the device lives for the whole process
    kp_graphics_SetGraphicsDevice(m_graphics);
    kp_graphics_SetFont(nullptr, 32);
    m_audio = new hwAudio();
    m_audio->Retain();
    kp_audio_SetAudioDevice(m_audio);
    m_input = new c_InputDevice();
    m_input->Retain();  // the devices live for the whole process
    kp_input_SetInputDevice(m_input);
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
    m_input->p_BeginUpdate();
    kp_app__app->p_OnUpdate();
    m_input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    kp_app_ValidateDeviceWindow(false);
    const int mode = m_graphics->BeginRender();
    if (mode == 0) {
        kp_app__app->p_OnRender();
    } else {
        kp_graphics_BeginRender();
        if (mode != 2) kp_app__app->p_OnRender();  // mode 2 would be the (empty) loading hook
        kp_graphics_EndRender();
    }
    m_graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    if (event == KpEventKeyDown || event == KpEventKeyUp || event == KpEventKeyChar) m_input->p_KeyEvent(event, data);
    if (event != KpEventKeyDown) return;
    if (data == KpKeyClose) kp_app__app->p_OnClose();
    if (data == KpKeyBack) kp_app__app->p_OnBack();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) { m_input->p_MouseEvent(event, data, x, y); }

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { m_input->p_TouchEvent(event, data, x, y); }

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m_input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m_graphics->DiscardGraphics(); }
