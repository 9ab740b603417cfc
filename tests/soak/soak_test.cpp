// The soak: the whole game in process, under the real frame loop of the desktop host on a scripted window, fed
// seeded random keys, clicks, drags and pad input for a long stretch of updates, each followed by a render into
// the recording OpenGL stand-in. A small state machine aims for every screen in turn (menu, side panel, options
// from the menu, play, pause, options from the pause menu, the finishing panel, by giving up and by solving), and
// between its aims the input is random. It checks that the game never stops (no runtime error, no quit), that
// resident memory stays flat after warm-up and that no update or render in steady state allocates anything but the
// game's own texts, and prints what it measured by screen.
// QUORLIX_SOAK_UPDATES sets the length (20,000 by default; `make soak` runs 216,000, an hour of play) and
// QUORLIX_SOAK_SEED the seed of the input.
// NOTE: the game quits on F4, on its close box and on Back in a clear main menu. F4 and the close box are never
// sent, Back is never pressed in a clear menu, and a Back still held when the menu becomes clear is let go of
// before the next update; should the game end the process anyway, an exit handler fails the soak.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "framework/app/app.h"
#include "framework/random/random.h"
#include "game/catalogue/getaword.h"
#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"
#include "host/desktop/glfwgame.h"
#include "runtime/object.h"
#include "tests/soak/alloc_counter.h"
#include "tests/support/fake_glfw.h"
#include "tests/support/gl_recorder.h"

namespace {

enum Screen { kMenu, kSidePanel, kOptionsMenu, kPlay, kPause, kOptionsPause, kFinish, kLoading, kTransition };
constexpr int kScreens = 7;  // the screens aimed for; loading and transitions are counted apart
constexpr const char* kScreenNames[alloc::kBuckets] = {"menu",  "side panel",     "options (menu)",
                                                       "play",  "pause",          "options (pause)",
                                                       "finishing panel", "loading", "transitions"};

bool soakDone = false;

// The screen the game shows, from its own fields.
Screen ScreenOf(const c_MyApp& app) {
    if (app.m_loadStep > 0) return kLoading;
    if (app.m_state == 1 || app.m_state == 2) {
        if (app.m_optionsOpen) return kOptionsMenu;
        if (app.m_finishTimer > 0) return kFinish;
        return app.m_sidePanelOpen ? kSidePanel : kMenu;
    }
    if (app.m_state == 10) {
        if (app.m_optionsOpen) return kOptionsPause;
        if (app.m_puzzleDone) return kFinish;
        return app.m_paused ? kPause : kPlay;
    }
    return app.m_state == 11 ? kPlay : kTransition;
}

// Resident memory of this process in kB, read without touching the heap.
long ResidentKb() {
    char text[128] = {};
    const int fd = open("/proc/self/statm", O_RDONLY);
    if (fd < 0) return 0;
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    if (n <= 0) return 0;
    long size = 0, resident = 0;
    std::sscanf(text, "%ld %ld", &size, &resident);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// What the soak saw of a screen: its updates and visits, and the updates charged to it with what they and the
// renders after them allocated (for a screen only its steady updates: same screen before, during and after).
struct ScreenStats {
    long updates = 0, visits = 0, charged = 0;
    int64_t updateAll = 0, updateNotText = 0, renderAll = 0, renderNotText = 0;
};

// The desktop host with the build tree's data folder, counting what each update and render allocates.
class SoakHost : public KpGlfwGame {
public:
    String PathToFilePath(const String& path) override {
        const String prefix("zindle://data/");
        if (!path.StartsWith(prefix)) return KpGlfwGame::PathToFilePath(path);
        return String(QUORLIX_BINARY_DIR "/data/") + path.Slice(prefix.Length());
    }

    void UpdateGame() override {
        // The loop runs the update of the event phase that closed the window; the soak has ended by then.
        if (updates >= length) return;
        // Resident memory after warm-up, by art level: the art of a fullscreen window takes more, and comes back.
        if (updates % 1000 == 0 && updates >= warmUp && app->m_loadStep == 0) {
            const long rss = ResidentKb();
            Resident& r = resident[app->m_hdLevel == 4 ? 1 : 0];
            if (r.samples++ == 0) r.first = r.least = r.most = rss;
            r.least = std::min(r.least, rss);
            r.most = std::max(r.most, rss);
            r.last = rss;
        }
        const int window = kpGraphicsSeq;
        const Screen before = app ? ScreenOf(*app) : kLoading;
        const int stateBefore = app ? app->m_state : 0;
        alloc::BeginFrame();
        alloc::SetCounting(true);
        KpGlfwGame::UpdateGame();
        alloc::SetCounting(false);
        const Screen after = ScreenOf(*app);
        // NOTE: an update that re-opened the window (F11, or the options' window row) is a transition too.
        steady = before == after && before == previous && app->m_state == stateBefore && before < kScreens &&
                 kpGraphicsSeq == window;
        // Steady updates are charged to their screen, the rest to loading or to the transitions.
        bucket = steady ? before : (before == kLoading || after == kLoading ? kLoading : kTransition);
        const alloc::Totals made = alloc::EndFrame(bucket);
        ++stats[after].updates;
        if (after != previous) ++stats[after].visits;
        if (after == kFinish && previous != kFinish && app->m_state == 10) ++(app->m_gaveUp == -1 ? givenUp : completed);
        ScreenStats& charged = stats[bucket];
        ++charged.charged;
        charged.updateAll += made.all;
        charged.updateNotText += made.notText;
        previous = after;
        ++updates;
    }

    void RenderGame() override {
        alloc::BeginFrame();
        alloc::SetCounting(true);
        KpGlfwGame::RenderGame();
        alloc::SetCounting(false);
        const alloc::Totals made = alloc::EndFrame(bucket);
        stats[bucket].renderAll += made.all;
        stats[bucket].renderNotText += made.notText;
    }

    c_MyApp* app = nullptr;
    long updates = 0, warmUp = 0, length = 0;
    long completed = 0, givenUp = 0;  // puzzles that reached the finishing panel
    struct Resident {
        long samples = 0, first = 0, least = 0, most = 0, last = 0;  // kB
    } resident[2];  // the window's art level 2 (640 x 480) and 4 (fullscreen)
    bool steady = false;
    int bucket = kLoading;  // where the last update was charged, and the render after it
    Screen previous = kLoading;
    ScreenStats stats[alloc::kBuckets];
};

// The player the soak puts at the keyboard, mouse and pad.
class Driver {
public:
    Driver(FakeGlfw& fake, SoakHost& host, unsigned seed) : fake_(fake), host_(host), random_(seed) {
        fake_.pads[0] = FakePad{true, {0, 0, 0, 0, 0, 0}, std::vector<unsigned char>(16)};
    }

    // One event phase of the loop.
    void Step() {
        ++now_;
        // The scripted window notes every sleep of the loop; an hour of them would be memory the game never took.
        fake_.sleeps.clear();
        if (host_.updates >= length) {
            fake_.windowOpen = false;
            return;
        }
        // Warm-up goes fullscreen and back once, so that the art of both levels has been loaded before memory is
        // watched; later switches are random.
        if (now_ == 400 || now_ == 900) {
            ReleaseAll();
            Tap(glfw2::KEY_F1 + 10);
            return;
        }
        c_MyApp& app = *host_.app;
        if (suspendUntil_ > 0) {
            if (now_ < suspendUntil_) return;
            fake_.active = true;
            suspendUntil_ = 0;
        }
        ReleaseDue();
        KeepBackOutOfTheClearMenu(app);
        if (now_ < nextAction_) return;
        const Screen screen = ScreenOf(app);
        if (aiming_) {
            if (screen == Target()) {
                ++reached[Target()];
                aiming_ = false;
                dwellUntil_ = now_ + Uniform(60, 500);
            } else if (now_ - aimStart_ > 6000) {
                ++missed[Target()];  // given up: the random input goes on from wherever it is
                aiming_ = false;
                dwellUntil_ = now_ + 200;
            } else {
                Aim(app, screen);
                return;
            }
        }
        if (now_ >= dwellUntil_) {
            ReleaseAll();
            target_ = (target_ + 1) % kTargetCount;
            if (kTargets[target_] == kFinish) solve_ = finishes_++ % 2 == 0;
            aiming_ = true;
            aimStart_ = now_;
            return;
        }
        RandomInput(app);
    }

    long length = 0;
    long reached[kScreens] = {}, missed[kScreens] = {};
    long solved = 0;

private:
    enum Kind { kKey, kMouse, kPadButton, kPadStick };
    struct Held {
        Kind kind;
        int code;
        long until;
    };

    static constexpr Screen kTargets[] = {kSidePanel, kMenu,  kOptionsMenu, kMenu, kPlay,
                                          kPause,     kOptionsPause, kPause, kPlay, kFinish};
    static constexpr int kTargetCount = sizeof kTargets / sizeof kTargets[0];
    Screen Target() const { return kTargets[target_]; }

    long Uniform(long low, long high) { return std::uniform_int_distribution<long>(low, high)(random_); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

    static bool BackKey(int key) {
        return key == glfw2::KEY_ESC || key == '`' || key == glfw2::KEY_BACKSPACE || key == glfw2::KEY_DEL;
    }
    // The fake pad's buttons behind the Back slots (6 and 7 on this layout).
    static bool BackButton(int button) { return button == 8 || button == 9; }
    // Back may be pressed in play, or in the menu while the options box or the side panel is over it.
    static bool BackAllowed(const c_MyApp& app) {
        return app.m_state == 10 || app.m_state == 11 ||
               (app.m_state == 1 && (app.m_optionsOpen == 1 || app.m_sidePanelOpen == 1));
    }

    void KeyDown(int key) {
        fake_.keysHeld[key] = true;
        fake_.PressKey(key);
    }
    void KeyUp(int key) {
        fake_.keysHeld[key] = false;
        fake_.ReleaseKey(key);
    }
    void Hold(Kind kind, int code, long frames) {
        for (int i = 0; i < heldCount_; ++i) {
            if (held_[i].kind == kind && held_[i].code == code) return;
        }
        if (heldCount_ == kMaxHeld) return;
        switch (kind) {
            case kKey: KeyDown(code); break;
            case kMouse: fake_.mouseButtonFun(0, glfw2::PRESS); break;
            case kPadButton: fake_.pads[0].buttons[static_cast<size_t>(code)] = glfw2::PRESS; break;
            case kPadStick: break;
        }
        held_[heldCount_++] = {kind, code, now_ + frames};
    }
    void Let(const Held& h) {
        switch (h.kind) {
            case kKey: KeyUp(h.code); break;
            case kMouse: fake_.mouseButtonFun(0, glfw2::RELEASE); break;
            case kPadButton: fake_.pads[0].buttons[static_cast<size_t>(h.code)] = glfw2::RELEASE; break;
            case kPadStick: std::fill(fake_.pads[0].axes.begin(), fake_.pads[0].axes.end(), 0.0f); break;
        }
    }
    void ReleaseDue() {
        int kept = 0;
        for (int i = 0; i < heldCount_; ++i) {
            if (held_[i].until <= now_) {
                Let(held_[i]);
            } else {
                held_[kept++] = held_[i];
            }
        }
        heldCount_ = kept;
    }
    void ReleaseAll() {
        for (int i = 0; i < heldCount_; ++i) Let(held_[i]);
        heldCount_ = 0;
    }
    void KeepBackOutOfTheClearMenu(const c_MyApp& app) {
        if (BackAllowed(app)) return;
        int kept = 0;
        for (int i = 0; i < heldCount_; ++i) {
            const Held& h = held_[i];
            if ((h.kind == kKey && BackKey(h.code)) || (h.kind == kPadButton && BackButton(h.code))) {
                Let(h);
            } else {
                held_[kept++] = h;
            }
        }
        heldCount_ = kept;
    }
    // A press of one key for two event phases, then two with nothing held.
    void Tap(int key) {
        Hold(kKey, key, 2);
        nextAction_ = now_ + 4;
    }
    void MoveMouse(int x, int y) {
        fake_.mouseX = x;
        fake_.mouseY = y;
        if (fake_.mousePosFun) fake_.mousePosFun(x, y);
    }

    // ---- Aiming for a screen, one press at a time ----
    void Aim(const c_MyApp& app, Screen screen) {
        if (heldCount_ > 0) {
            ReleaseAll();
            nextAction_ = now_ + 2;
            return;
        }
        if (screen == kLoading || screen == kTransition) return;
        if (screen == kFinish) return;  // it hands over to the menu by itself
        switch (Target()) {
            case kMenu:
                if (screen == kPause) return GiveUp(app);
                return Tap(glfw2::KEY_ESC);
            case kSidePanel:
            case kOptionsMenu: {
                if (screen != kMenu) return AimFor(app, screen, kMenu);
                const int focus = Target() == kSidePanel ? 2 : 0;
                if (app.m_menuFocus != focus) return Tap(app.m_menuFocus < focus ? glfw2::KEY_RIGHT : glfw2::KEY_LEFT);
                return Tap(glfw2::KEY_ENTER);
            }
            case kPlay:
                if (screen == kMenu) {
                    if (app.m_menuFocus != 1) return Tap(app.m_menuFocus < 1 ? glfw2::KEY_RIGHT : glfw2::KEY_LEFT);
                    return Tap(glfw2::KEY_ENTER);
                }
                // NOTE: Back resumes as soon as the panel comes in; pressed again while it goes out, it would pause
                // once more as play resumes. A player waits for the panel.
                if (screen == kPause && !PausePanelIn(app)) return;
                return Tap(glfw2::KEY_ESC);
            case kPause:
                if (screen == kPlay || screen == kOptionsPause) return Tap(glfw2::KEY_ESC);
                return AimFor(app, screen, kPlay);
            case kOptionsPause:
                if (screen == kPause) {
                    if (app.m_pauseChoice != 1) return;
                    if (app.m_pauseCursor != 1) return Tap(glfw2::KEY_DOWN);
                    return Tap(glfw2::KEY_ENTER);
                }
                if (screen == kPlay) return Tap(glfw2::KEY_ESC);
                return AimFor(app, screen, kPlay);
            case kFinish:
                if (screen == kPlay && solve_) return SolveStep(app);
                if (screen == kPlay || screen == kOptionsPause) return Tap(glfw2::KEY_ESC);
                if (screen == kPause) return GiveUp(app);
                return AimFor(app, screen, kPlay);
            default: return;
        }
    }
    // The step towards `via` on the way to the target.
    void AimFor(const c_MyApp& app, Screen screen, Screen via) {
        const int saved = target_;
        for (int i = 0; i < kTargetCount; ++i) {
            if (kTargets[i] == via) target_ = i;
        }
        Aim(app, screen);
        target_ = saved;
    }
    static bool PausePanelIn(const c_MyApp& app) {
        return app.m_pauseChoice == 1 && app.m_pausePanelY >= static_cast<int>(kp_Search_jscrh / 2);
    }
    void GiveUp(const c_MyApp& app) {
        if (app.m_pauseChoice != 1) return;
        if (app.m_pauseCursor != -1) return Tap(glfw2::KEY_UP);
        Tap(glfw2::KEY_ENTER);
    }

    // ---- Solving the word in play with the keyboard, as a player reading the grid would ----
    float Slot(const c_MyApp& app, int slot) const { return app.m_player[slot]; }
    bool Settled(const c_MyApp& app) const {
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                if (app.m_grid[c_MyApp::kGridOffsets + play::Cell(x, y)] != 0) return false;
            }
        }
        return true;
    }
    bool FindWord(const c_MyApp& app, int& wx, int& wy, int& dx, int& dy) const {
        static constexpr int kStepX[4] = {1, 0, -1, 0}, kStepY[4] = {0, 1, 0, -1};
        const String& word = app.m_word;
        for (int x = 0; x < 13; ++x) {
            for (int y = 0; y < 13; ++y) {
                for (int d = 0; d < 4; ++d) {
                    bool fits = word.Length() > 1;
                    for (int i = 0; i < word.Length() && fits; ++i) {
                        const int cx = x + kStepX[d] * i, cy = y + kStepY[d] * i;
                        fits = cx >= 0 && cx < 13 && cy >= 0 && cy < 13 &&
                               static_cast<int>(app.m_grid[play::Cell(cx, cy)]) == word[i];
                    }
                    if (fits) {
                        wx = x, wy = y, dx = kStepX[d], dy = kStepY[d];
                        return true;
                    }
                }
            }
        }
        return false;
    }
    void CursorTo(const c_MyApp& app, int x, int y) {
        const int cx = static_cast<int>(Slot(app, play::kCursorX)), cy = static_cast<int>(Slot(app, play::kCursorY));
        Tap(cx < x ? glfw2::KEY_RIGHT : cx > x ? glfw2::KEY_LEFT : cy < y ? glfw2::KEY_DOWN : glfw2::KEY_UP);
    }
    void SolveStep(const c_MyApp& app) {
        const float state = Slot(app, play::kState);
        if (state == play::kExtending || state == play::kWordFound || !Settled(app)) return;
        int x, y, dx, dy;
        if (!FindWord(app, x, y, dx, dy)) return;
        const int cx = static_cast<int>(Slot(app, play::kCursorX)), cy = static_cast<int>(Slot(app, play::kCursorY));
        const bool started = state == play::kStartChosen && Slot(app, play::kStartX) == static_cast<float>(x) &&
                             Slot(app, play::kStartY) == static_cast<float>(y);
        if (state == play::kStartChosen && !started) return Tap('X');
        const int gx = started ? x + dx : x, gy = started ? y + dy : y;
        if (cx != gx || cy != gy) return CursorTo(app, gx, gy);
        if (started) ++solved;
        Tap('Z');
    }

    // ---- Random input ----
    void RandomInput(const c_MyApp& app) {
        if (dragSteps_ > 0) {
            --dragSteps_;
            MoveMouse(fake_.mouseX + static_cast<int>(Uniform(-12, 12)), fake_.mouseY + static_cast<int>(Uniform(-12, 12)));
        }
        if (!Chance(0.2)) return;
        const long frames = Chance(0.7) ? Uniform(1, 6) : Uniform(7, 60);
        const int pick = static_cast<int>(Uniform(0, 99));
        if (pick < 45) {
            static constexpr int kKeys[] = {glfw2::KEY_UP, glfw2::KEY_DOWN, glfw2::KEY_LEFT, glfw2::KEY_RIGHT, 'W', 'A',
                                            'S', 'D', 'Z', 'X', 'C', 'V', 'B', 'N', 'J', 'K', 'L', 'I', 'U', 'O', ' ',
                                            glfw2::KEY_ENTER, glfw2::KEY_LSHIFT, glfw2::KEY_LCTRL, glfw2::KEY_TAB, 'E',
                                            'Q', '1', '0', glfw2::KEY_KP_0 + 5, glfw2::KEY_ESC, '`',
                                            glfw2::KEY_BACKSPACE, glfw2::KEY_DEL};
            const int key = kKeys[Uniform(0, sizeof kKeys / sizeof kKeys[0] - 1)];
            if (BackKey(key) && !BackAllowed(app)) return;
            Hold(kKey, key, frames);
        } else if (pick < 47) {
            // F2 hides play's labels; F11 switches the window, rarely. F1 is left out: in its debug mode every
            // save prints the whole record on standard output.
            Tap(Chance(0.1) ? glfw2::KEY_F1 + 10 : glfw2::KEY_F1 + 1);
        } else if (pick < 72) {
            const int w = std::max(fake_.width, 1), h = std::max(fake_.height, 1);
            MoveMouse(static_cast<int>(Uniform(0, w - 1)), static_cast<int>(Uniform(0, h - 1)));
            if (pick < 62) Hold(kMouse, 0, frames);
            if (pick < 55) dragSteps_ = static_cast<int>(frames);
        } else if (pick < 92) {
            const int button = static_cast<int>(Uniform(0, 15));
            if (BackButton(button) && !BackAllowed(app)) return;
            Hold(kPadButton, button, frames);
        } else if (pick < 98) {
            for (int axis = 0; axis < 2; ++axis) {
                fake_.pads[0].axes[static_cast<size_t>(axis)] = static_cast<float>(Uniform(-100, 100)) / 100.0f;
            }
            Hold(kPadStick, 0, frames);
        } else if (pick == 98) {
            fake_.pads[0].present = !fake_.pads[0].present;  // unplugged, or plugged back in
        } else {
            // The window loses the focus for a moment: the game suspends and saves.
            fake_.active = false;
            suspendUntil_ = now_ + Uniform(1, 20);
        }
    }

    static constexpr int kMaxHeld = 24;
    FakeGlfw& fake_;
    SoakHost& host_;
    std::mt19937 random_;
    Held held_[kMaxHeld];
    int heldCount_ = 0;
    long now_ = 0, nextAction_ = 0, dwellUntil_ = 300, aimStart_ = 0, suspendUntil_ = 0;
    int target_ = kTargetCount - 1;
    bool aiming_ = false, solve_ = false;
    long finishes_ = 0;
    int dragSteps_ = 0;
};

#ifdef QUORLIX_SOAK_SANITIZED
// NOTE: AddressSanitizer holds freed memory back (256 MB by default) to catch late uses, so resident memory would
// climb for the whole of a short soak; a small hold fills during warm-up and leaves the rest to the game.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
// What freed memory held back may add to resident memory, on top of what the game itself may move by.
constexpr long kHeldBackKb = 16 * 1024;
#else
constexpr long kHeldBackKb = 0;
#endif

long FromEnvironment(const char* name, long otherwise) {
    const char* value = std::getenv(name);
    return value ? std::atol(value) : otherwise;
}

TEST(Soak, EveryScreenRunsOnWithFlatMemoryAndNoAllocationButText) {
    const long length = FromEnvironment("QUORLIX_SOAK_UPDATES", 20000);
    const unsigned seed = static_cast<unsigned>(FromEnvironment("QUORLIX_SOAK_SEED", 1));
    std::printf("[ soak     ] %ld updates, seed %u (QUORLIX_SOAK_UPDATES, QUORLIX_SOAK_SEED)\n", length, seed);

    // The game ends the process only through exit or _Exit; during the soak either is a failure.
    std::atexit([] {
        if (!soakDone) {
            std::fputs("FAIL: the game ended the process during the soak (a quit or a runtime error)\n", stderr);
            std::_Exit(1);
        }
    });
    char pattern[] = "/tmp/quorlix-soak-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    FakeGlfw fake;
    glfw2::Install(&fake);
    glrec::Gl().log = false;
    SoakHost host;
    host.warmUp = std::max(2000L, length / 10);
    host.length = length;
    kp_app_Init(&host);
    kp_random_Init();
    kp_Search_Init();
    kp_GetAWordFunc_Init();
    auto* app = new c_MyApp();
    app->m_new();
    host.app = app;
    Driver driver(fake, host, seed);
    driver.length = length;
    fake.onEvents = [&](FakeGlfw&) { driver.Step(); };
    host.Run();
    soakDone = true;
    glfw2::Install(nullptr);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);

    // ---- What was measured ----
    std::printf("[ soak     ] %ld updates (%.1f minutes of play); %ld puzzles completed and %ld given up; %ld words "
                "solved by the soak's player\n",
                host.updates, static_cast<double>(host.updates) / 3600.0, host.completed, host.givenUp,
                driver.solved);
    std::printf("%-17s %8s %7s %8s %7s %16s %16s\n", "screen", "updates", "visits", "charged", "aimed",
                "allocs/update", "allocs/render");
    std::printf("%-17s %8s %7s %8s %7s %16s %16s\n", "", "", "", "", "", "(not text)", "(not text)");
    for (int s = 0; s < alloc::kBuckets; ++s) {
        const ScreenStats& st = host.stats[s];
        const double n = st.charged > 0 ? static_cast<double>(st.charged) : 1.0;
        std::printf("%-17s %8ld %7ld %8ld %7ld %8.2f (%5.2f) %8.2f (%5.2f)\n", kScreenNames[s], st.updates, st.visits,
                    st.charged, s < kScreens ? driver.reached[s] : 0, static_cast<double>(st.updateAll) / n,
                    static_cast<double>(st.updateNotText) / n, static_cast<double>(st.renderAll) / n,
                    static_cast<double>(st.renderNotText) / n);
    }
    for (int level = 0; level < 2; ++level) {
        const SoakHost::Resident& r = host.resident[level];
        std::printf("[ soak     ] resident memory after warm-up (update %ld), art level %d (%s): first %ld kB, last %ld "
                    "kB, least %ld kB, most %ld kB, %ld samples\n",
                    host.warmUp, level == 0 ? 2 : 4, level == 0 ? "640 x 480" : "fullscreen", r.first, r.last,
                    r.least, r.most, r.samples);
    }
    if (!alloc::CountsMalloc()) std::printf("[ soak     ] sanitizer build: only operator new is counted, not Strings\n");
    std::printf("[ soak     ] allocations by place, in steady frames per screen (then loading, transitions):\n");
    for (int i = 0; i < alloc::SiteCount(); ++i) {
        const alloc::Site& site = alloc::SiteAt(i);
        std::printf("  %-5s", site.text ? "text" : "OTHER");
        for (int s = 0; s < alloc::kBuckets; ++s) std::printf(" %8lld", static_cast<long long>(site.count[s]));
        std::printf("  %s\n", site.name);
    }

    EXPECT_EQ(host.updates, length);
    const long enough = std::max(2L, length / 4000);
    for (int s = 0; s < kScreens; ++s) {
        EXPECT_GE(host.stats[s].visits, enough) << kScreenNames[s] << " was reached too seldom";
        EXPECT_GT(host.stats[s].charged, 0) << kScreenNames[s] << " was never steady";
        EXPECT_EQ(host.stats[s].updateNotText, 0) << "steady updates on " << kScreenNames[s] << " allocate";
        EXPECT_EQ(host.stats[s].renderNotText, 0) << "steady renders on " << kScreenNames[s] << " allocate";
    }
    ASSERT_GT(host.resident[0].samples, 0);
    for (const SoakHost::Resident& r : host.resident) {
        EXPECT_LT(r.most - r.least, 4096 + kHeldBackKb) << "resident memory moved by more than 4 MB after warm-up";
    }
}

}  // namespace
