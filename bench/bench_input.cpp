// Input cost per update: the device's begin and end of update with no pad and with four scripted pads, and the
// control-action questions the latch rule asks every update (13 actions over 4 pads, nothing held: the worst
// case, since every binding is tried). Pads come from FakeGlfw, so only our side is measured.
#include <benchmark/benchmark.h>

#include "framework/input/input.h"
#include "game/myapp.h"
#include "host/desktop/glfwgame.h"
#include "tests/support/fake_glfw.h"

namespace {

void PlugPads(FakeGlfw& fake, int count) {
    for (int joy = 0; joy < count; ++joy) {
        fake.pads[joy] = FakePad{true, std::vector<float>(6, 0.25f), std::vector<unsigned char>(16)};
        fake.pads[joy].buttons[1] = glfw2::PRESS;
    }
}

void BM_UpdateBracket(benchmark::State& state) {
    ScopedFakeGlfw fake;
    KpGlfwGame host;
    PlugPads(fake.fake, static_cast<int>(state.range(0)));
    StrongRef<c_InputDevice> device = MakeRef<c_InputDevice>();
    for (auto _ : state) {
        device->p_KeyEvent(KpEventKeyDown, 65);
        device->p_KeyEvent(KpEventKeyChar, 'a');
        device->p_BeginUpdate();
        benchmark::DoNotOptimize(device->p_KeyHit(65));
        device->p_EndUpdate();
        device->p_KeyEvent(KpEventKeyUp, 65);
    }
}
BENCHMARK(BM_UpdateBracket)->Arg(0)->Arg(4);

void BM_LatchQuestions(benchmark::State& state) {
    StrongRef<c_InputDevice> device = MakeRef<c_InputDevice>();
    kp_input_SetInputDevice(device.Get());
    c_MyApp app;
    const int actions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};
    for (auto _ : state) {
        int held = 0;
        for (int action : actions) held += app.p_PlayKeyAll(action, 1);
        benchmark::DoNotOptimize(held);
    }
    kp_input_SetInputDevice(nullptr);
}
BENCHMARK(BM_LatchQuestions);

}  // namespace
