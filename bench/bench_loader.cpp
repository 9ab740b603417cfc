// CPU time of each loading step, and of a whole load, at each art level: the generated art of the build tree
// decoded and handed to the recording OpenGL stand-in (so the driver's own upload is not counted), and the
// sounds decoded into OpenAL buffers on OpenAL Soft's silent driver. A step is timed twice: decoding its own
// sheets, and with its sheets decoded ahead as the game has them, which is what its update then costs.
// Depends on the game (c_MyApp's loader), the graphics and audio devices, the scripted GLFW backend, the
// build-tree data host of the tests and the recorder.
#include <benchmark/benchmark.h>


#include "framework/app/app.h"
#include "framework/audio/audio.h"
#include "framework/graphics/graphics.h"
#include "game/myapp.h"
#include "game/search.h"
#include "bench/silent_sound.h"
#include "tests/support/build_tree_host.h"
#include "tests/support/fake_glfw.h"
#include "tests/support/gl_recorder.h"

namespace {

// A window in memory, the devices on it and an application object; one for the whole program.
struct Loading {
    ScopedFakeGlfw glfw;
    BuildTreeHost host;
    StrongRef<hwGraphics> graphics;
    StrongRef<hwAudio> audio;
    StrongRef<c_MyApp> app;

    Loading() {
        ChooseSilentSound();
        glrec::Reset();
        glrec::Gl().log = false;
        host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        kp_app_Init(&host);
        kp_Search_Init();
        graphics = MakeRef<hwGraphics>(&host);
        kp_graphics_Init();
        kp_graphics_SetGraphicsDevice(graphics.Get());
        audio = MakeRef<hwAudio>();
        kp_audio_SetAudioDevice(audio.Get());
        app = MakeRef<c_MyApp>();
        app->m_settings[5] = 0;  // cues stay silent: the jingle of step 4 costs nothing here
    }

    // The device size whose art level is wanted: 1, 2 or 4.
    void UseLevel(int level) {
        kp_app__devWidth = level == 4 ? 1280 : level == 2 ? 640 : 480;
        kp_app__devHeight = level == 4 ? 1024 : level == 2 ? 480 : 360;
        app->p_Reload();
        NothingAhead();
        host.asked.clear();
    }
    // Nothing is decoded ahead: a step decodes its own sheets.
    void NothingAhead() {
        kp_graphics_DecodeImagesAhead({});
        host.WaitForDecodeAhead();
    }
};

Loading& Shared() {
    static Loading* loading = new Loading();  // lives to the end: the devices are never torn down in the game
    return *loading;
}

// args: step 1..15, art level.
void BM_LoaderStep(benchmark::State& state) {
    Loading& l = Shared();
    l.UseLevel(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        l.app->m_loadStep = static_cast<int>(state.range(0));
        l.app->p_Loader();
        gc_collect();  // the images and sounds the step replaced are freed, as the game's collector would
    }
    l.host.asked.clear();
}

// args: step 1..10 (the steps that load images), art level. The update of a step whose sheets were decoded
// ahead: taking the pixels, premultiplying them and handing them to the stand-in.
void BM_LoaderStepDecodedAhead(benchmark::State& state) {
    Loading& l = Shared();
    const int step = static_cast<int>(state.range(0));
    l.UseLevel(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        // As in a load, the steps before have taken their sheets: only this step's and the later ones are asked.
        l.NothingAhead();
        l.app->m_loadStep = step;
        l.app->p_DecodeAhead(step, l.app->m_hdLevel);
        l.host.WaitForDecodeAhead();
        state.ResumeTiming();
        l.app->p_Loader();
        state.PauseTiming();
        gc_collect();
        state.ResumeTiming();
    }
    l.NothingAhead();
    l.host.asked.clear();
}

// args: art level. p_Reload and the fifteen loading updates, one after the other with no frame between them,
// so the steps wait for sheets the worker has not finished: the time is the wall time of the whole load.
void BM_WholeLoad(benchmark::State& state) {
    Loading& l = Shared();
    l.UseLevel(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        l.app->p_Reload();
        while (l.app->m_loadStep > 0) l.app->p_Loader();
        gc_collect();
        l.host.asked.clear();
    }
}

BENCHMARK(BM_LoaderStep)->ArgsProduct({benchmark::CreateDenseRange(1, 15, 1), {1, 2, 4}})
    ->Unit(benchmark::kMillisecond);
// NOTE: each iteration first waits, untimed, for the sheets to decode: a fixed count keeps the run short.
BENCHMARK(BM_LoaderStepDecodedAhead)->ArgsProduct({benchmark::CreateDenseRange(1, 10, 1), {1, 2, 4}})
    ->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_WholeLoad)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
