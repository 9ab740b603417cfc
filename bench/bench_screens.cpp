// CPU time of the two screens a player spends their time in: one update and one frame's replay of the main menu,
// and of play (the tutorial with a selection, the hint marker, the star field and the word list), with their draw
// calls and records, and one grid generation. Rendering goes through the recording OpenGL stand-in so only our
// side is counted.
// Depends on the game (c_MyApp), the devices, the scripted GLFW backend, the build-tree data host of the tests
// and the recorder.
#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>

#include "game/play_slots.h"
#include "bench/silent_sound.h"
#include "tests/support/build_tree_host.h"
#include "tests/support/fake_glfw.h"
#include "tests/support/game_devices.h"
#include "tests/support/gl_recorder.h"

namespace {

// A 640 by 480 window in memory with every device, and the application loaded and in its menu.
struct Playing {
    ScopedFakeGlfw glfw;
    BuildTreeHost host;
    std::optional<GameDevices<>> devices;
    StrongRef<c_InputDevice> input;
    StrongRef<c_MyApp> app;

    Playing() {
        ChooseSilentSound();
        glrec::Reset();
        glrec::Gl().log = false;
        host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        devices.emplace(&host);
        input = devices->input;
        app = MakeRef<c_MyApp>();
        app->p_OnCreate();
        Render();
        while (app->m_loadStep > 0) Update();
        for (int i = 0; i < 60; ++i) Update();  // the menu slides in
    }

    void Update() {
        glfw->now += 1.0 / 60.0;
        devices->Update(*app);
    }
    void Render() { devices->Render(*app); }

    // The tutorial started from the menu, its letters landed.
    void StartTutorial() {
        app->m_state = 1;
        app->m_menuSel = 0;
        input->p_KeyEvent(KpEventKeyDown, 13);
        Update();
        input->p_KeyEvent(KpEventKeyUp, 13);
        for (int i = 0; i < 200; ++i) Update();
    }

    // Holds the pointer on a cell's letter (window pixels equal virtual units at this size).
    void PointAt(int x, int y) {
        const float cs = std::min((kp_Search_jscrw - 32) / 13, (kp_Search_jscrh - 32) / 13);
        const float left = std::trunc(kp_Search_jscrw / 2 - 6 * cs + cs / 4);
        const float top = std::trunc(kp_Search_jscrh / 2 - 6 * cs);
        input->p_MouseEvent(KpEventMouseDown, 0, left + x * cs - cs / 4 + 0.5f, top + y * cs + 0.5f);
    }
    // A selection grown three cells along a row away from the hint, the pointer let go.
    void ShowSelection() {
        const int row = app->m_player[play::kFirstLetterY] <= 9 ? static_cast<int>(app->m_player[play::kFirstLetterY]) + 3 : 2;
        PointAt(1, row);
        Update();
        PointAt(2, row);
        Update();
        input->p_MouseEvent(KpEventMouseUp, 0, 0, 0);
        Update();
        Update();
    }
};

Playing& Shared() {
    static Playing* playing = new Playing();  // lives to the end: the game never tears its devices down
    return *playing;
}

// Counts what replaying the frame now in the draw list costs: draw calls, OpenGL calls, records.
void RunReplay(benchmark::State& state, Playing& p) {
    p.Render();  // textures made, state settled
    glrec::ClearLog();
    for (auto _ : state) p.Render();
    const double frames = static_cast<double>(state.iterations());
    state.counters["draw_calls"] = static_cast<double>(glrec::Gl().drawCalls) / frames;
    state.counters["gl_calls"] = static_cast<double>(glrec::Gl().totalCalls) / frames;
    state.counters["records"] = p.app->m_drawCount / 15;
}

// One menu update: the wheel with its seven entries and their names, the strip, the logos.
void BM_MenuUpdate(benchmark::State& state) {
    Playing& p = Shared();
    for (auto _ : state) p.Update();
    state.counters["records"] = p.app->m_drawCount / 15;
}

void BM_ReplayMenuFrame(benchmark::State& state) { RunReplay(state, Shared()); }

// One play update with a start held under the pointer: the grid pass, the markers, the stars and the texts.
void BM_PlayUpdate(benchmark::State& state) {
    Playing& p = Shared();
    p.StartTutorial();
    p.PointAt(1, 1);
    for (auto _ : state) p.Update();
    p.input->p_MouseEvent(KpEventMouseUp, 0, 0, 0);
    p.Update();
    state.counters["records"] = p.app->m_drawCount / 15;
}

// Laying out one word: the clock seed, the 338 draws of the filling and the placement.
void BM_Jumble(benchmark::State& state) {
    Playing& p = Shared();
    for (auto _ : state) {
        p.app->m_player[play::kWordCounter] = 2;
        p.app->p_Jumble(13);  // PRACTITIONER: twelve letters, the hardest word to place
    }
}

// One render of the typical play frame: the replay through the batcher into the recording stand-in.
void BM_ReplayPlayFrame(benchmark::State& state) {
    Playing& p = Shared();
    p.StartTutorial();
    p.ShowSelection();
    RunReplay(state, p);
}

BENCHMARK(BM_MenuUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplayMenuFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Jumble)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplayPlayFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
