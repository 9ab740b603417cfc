// GameDevices: what the game's start-up makes before the application object, for tests and benchmarks that run the
// game without its frame loop: every module's start values, and the graphics, audio and input devices on a host.
// Update() and Render() run one update or one render of the application as the game's delegate does.
// Depends on the framework's devices and module functions, and the game's and catalogue's module globals.
#pragma once

#include "framework/app/app.h"
#include "framework/audio/audio.h"
#include "framework/graphics/graphics.h"
#include "framework/graphics/hwgraphics.h"
#include "framework/input/input.h"
#include "framework/random/random.h"
#include "game/catalogue/getaword.h"
#include "game/myapp.h"
#include "game/search.h"
#include "runtime/object.h"

template <class Audio = hwAudio>
struct GameDevices {
    explicit GameDevices(KpGame* host) {
        kp_app_Init(host);
        kp_random_Init();
        kp_Search_Init();
        kp_GetAWordFunc_Init();
        kp_app_ValidateDeviceWindow(false);
        audio = MakeRef<Audio>();
        kp_audio_SetAudioDevice(audio.Get());
        graphics = MakeRef<hwGraphics>(host);
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(graphics.Get());
        input = MakeRef<c_InputDevice>();
        kp_input_SetInputDevice(input.Get());
    }
    // Lets go of the devices once the application is gone: the images and sounds it held are freed first, while
    // the audio device that owns their buffers still exists.
    void Release() {
        kp_input_SetInputDevice(nullptr);
        kp_graphics_SetGraphicsDevice(nullptr);
        input = nullptr;
        graphics = nullptr;
        gc_collect();
        kp_audio_SetAudioDevice(nullptr);
        audio = nullptr;
        gc_collect();
    }

    // One update as the delegate runs it: pads polled, the hook, hits and characters cleared.
    void Update(c_MyApp& app) {
        kp_app_ValidateDeviceWindow(false);
        input->p_BeginUpdate();
        app.p_OnUpdate();
        input->p_EndUpdate();
    }
    // One render as the delegate runs it.
    void Render(c_MyApp& app) {
        kp_app_ValidateDeviceWindow(false);
        graphics->BeginRender();
        kp_graphics_BeginRender();
        app.p_OnRender();
        kp_graphics_EndRender();
        graphics->EndRender();
    }

    StrongRef<Audio> audio;
    StrongRef<hwGraphics> graphics;
    StrongRef<c_InputDevice> input;
};
