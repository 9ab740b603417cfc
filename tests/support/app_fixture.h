// AppFixture: a c_MyApp standing in a scripted desktop host, for tests of the application's own routines.
// The host's clock, window and pads are a FakeGlfw; the input device is real and fed with events; the graphics
// device is real and draws into the recording OpenGL stand-in; the audio device is real OpenAL on the silent
// driver; art and sounds come from the build tree's generated data folder, and the host remembers each data
// file it was asked for; the state file lands in a temporary working folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/desktop/glfwgame.h"
#include "tests/support/build_tree_host.h"
#include "tests/support/fake_glfw.h"
#include "tests/support/game_devices.h"
#include "tests/support/scratch.h"

// The real audio device, remembering every sample it was asked to start, so a test can tell which cues sounded.
class CueRecorder : public hwAudio {
public:
    int PlaySample(hwSample* sample, int channel, int flags) override {
        started.push_back(sample);
        return hwAudio::PlaySample(sample, channel, flags);
    }
    std::vector<hwSample*> started;
};

// A window size for tests run in several, with the art level that size asks for; printed as its size.
struct WindowAtLevel {
    int width, height;
    int level;
};
inline void PrintTo(const WindowAtLevel& w, std::ostream* out) { *out << w.width << "x" << w.height; }

class AppFixture : public ::testing::Test {
protected:
    AppFixture() {
        // NOTE: inside the process's scratch folder, so a death test's child, which exits without running
        // this fixture's destructor, leaves nothing behind either.
        std::string pattern = scratch::File("test-XXXXXX");
        folder = mkdtemp(pattern.data());
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        app = MakeRef<c_MyApp>();
    }
    ~AppFixture() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
        app = nullptr;
        devices.Release();
        glfw2::Install(nullptr);
    }

    // Opens the scripted window at a size and refreshes the device size cache; the application takes it as the
    // size it has loaded its art for.
    void OpenWindow(int width, int height) {
        host.SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
        kp_app_ValidateDeviceWindow(false);
        app->m_lastDevWidth = width;
        app->m_lastDevHeight = height;
    }
    // One update as the delegate runs it; one render, into the recording OpenGL stand-in.
    void Update() { devices.Update(*app); }
    void Render() { devices.Render(*app); }
    void Press(int code) { input->p_KeyEvent(KpEventKeyDown, code); }
    void Release(int code) { input->p_KeyEvent(KpEventKeyUp, code); }
    void MouseDown(float x, float y) { input->p_MouseEvent(KpEventMouseDown, 0, x, y); }
    void MouseUp() { input->p_MouseEvent(KpEventMouseUp, 0, 0, 0); }

    std::string StateFile() const {
        std::ifstream in(std::string(folder) + "/.zindlestate", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // How many times cue slot `cue` has been started so far.
    int CueCount(int cue) const {
        if (!app->m_sounds[cue]) return 0;
        const hwSample* sample = app->m_sounds[cue]->sample.Get();
        return static_cast<int>(std::count(audio->started.begin(), audio->started.end(), sample));
    }

    bool StateFileExists() const { return std::filesystem::exists(std::string(folder) + "/.zindlestate"); }
    void WriteStateFile(const std::string& text) const {
        std::ofstream(std::string(folder) + "/.zindlestate", std::ios::binary) << text;
    }

    FakeGlfw fake;
    // The scripted backend is in place before the host and the devices ask it anything.
    struct Installed {
        explicit Installed(FakeGlfw& fake) { glfw2::Install(&fake); }
    } installed{fake};
    BuildTreeHost host;
    GameDevices<CueRecorder> devices{&host};
    StrongRef<CueRecorder>& audio = devices.audio;
    StrongRef<hwGraphics>& graphics = devices.graphics;
    StrongRef<c_InputDevice>& input = devices.input;
    StrongRef<c_MyApp> app;
    std::string folder;
    std::filesystem::path previous;
};
