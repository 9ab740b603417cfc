// PuzzlePlayer: a player that plays the application object only through the input device (mouse events, key
// events, a scripted pad) the way a person at the screen would: it looks at the grid to find the word, moves to
// its first letter, points the way it runs and waits for the next word. It is mixed into a fixture that owns the
// application and the devices and gives it Frame() (one update), Press/Release, MouseDown/MouseUp and PadButton.
// PlayFixture mixes it into AppFixture: the scripted desktop host, real devices, the build tree's art and sounds.
// NOTE: grids are laid from clock seeds, and the clock of PlayFixture is the test's: each fixture starts its clock
// at a value drawn at random and prints it; QUORLIX_PLAY_CLOCK=<ms> replays a run exactly.
#pragma once

#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "game/play_slots.h"
#include "tests/support/app_fixture.h"
#include "tests/support/gl_recorder.h"

template <class Base>
class PuzzlePlayer : public Base {
protected:
    using Base::app;
    using Base::Press;
    using Base::Release;
    using Base::MouseDown;
    using Base::MouseUp;

    // Where a word lies in the grid: its first letter and the way it runs (1 right, 2 down, 3 left, 4 up).
    struct Placement {
        int x = -1, y = -1, direction = 0;
    };
    enum class Device { Mouse, Keyboard, Pad };

    static constexpr int kStepX[5] = {0, 1, 0, -1, 0};
    static constexpr int kStepY[5] = {0, 0, 1, 0, -1};
    // Game key codes of the keys a player uses.
    static constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyZ = 90;

    // One update (and whatever else a frame of the fixture's host does).
    virtual void Frame() = 0;
    // Holds or lets go of the pad's button behind a key: Z is the first face button, the arrows the hat.
    virtual void PadButton(int key, bool down) = 0;

    void Frames(int count) {
        for (int i = 0; i < count; ++i) Frame();
    }
    // Updates until the condition holds; false when it has not after `limit` updates.
    template <class Condition>
    bool FramesUntil(Condition condition, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            if (condition()) return true;
            Frame();
        }
        return condition();
    }

    // Starts group game (1 the tutorial) as the menu would, through the preparing state.
    void StartPuzzle(int game) {
        app->m_gameNum = game;
        app->m_state = 11;
        Frame();
        ASSERT_EQ(app->m_state, 10);
        Frame();  // the first play frame: the letters start dropping in
    }

    int Letter(int x, int y) const { return static_cast<int>(app->m_grid[play::Cell(x, y)]); }
    float Slot(int slot) const { return app->m_player[slot]; }
    // Every letter of the grid at rest, as a player waits to see before looking for the word.
    bool Settled() const {
        for (int x = 0; x < 13; ++x) {
            for (int y = 0; y < 13; ++y) {
                if (app->m_grid[c_MyApp::kGridOffsets + play::Cell(x, y)] != 0) return false;
            }
        }
        return true;
    }

    // The first copy of the word in play, reading the grid as a player reads the screen.
    Placement FindWord() const {
        const String& word = app->m_word;
        for (int x = 0; x < 13; ++x) {
            for (int y = 0; y < 13; ++y) {
                for (int d = 1; d <= 4; ++d) {
                    bool fits = true;
                    for (int i = 0; i < word.Length() && fits; ++i) {
                        const int cx = x + kStepX[d] * i, cy = y + kStepY[d] * i;
                        fits = cx >= 0 && cx < 13 && cy >= 0 && cy < 13 && Letter(cx, cy) == word[i];
                    }
                    if (fits) return {x, y, d};
                }
            }
        }
        return {};
    }

    // The window pixel at the middle of a cell's letter, from the layout the screen shows.
    std::pair<float, float> CellOnScreen(int x, int y) const {
        const float w = kp_Search_jscrw, h = kp_Search_jscrh;
        const float cs = std::min((w - 32) / 13, (h - 32) / 13);
        const float left = std::trunc(w / 2 - 6 * cs + cs / 4);
        const float top = std::trunc(h / 2 - (app->m_landscape ? 6 : 7) * cs);
        const float vx = left + static_cast<float>(x) * cs - cs / 4, vy = top + static_cast<float>(y) * cs;
        return {vx * app->m_scaleX + 0.5f * app->m_scaleX, vy * app->m_scaleY + 0.5f * app->m_scaleY};
    }

    // Presses and releases a key (or a pad button slot), one update each.
    void Tap(Device device, int key) {
        if (device == Device::Pad) {
            this->PadButton(key, true);
            Frame();
            this->PadButton(key, false);
        } else {
            Press(key);
            Frame();
            Release(key);
        }
        Frame();
    }
    // Walks the cursor to a cell, one press per step.
    void MoveCursorTo(Device device, int x, int y) {
        for (int guard = 0; guard < 30; ++guard) {
            const int cx = static_cast<int>(Slot(play::kCursorX)), cy = static_cast<int>(Slot(play::kCursorY));
            if (cx == x && cy == y) return;
            Tap(device, cx < x ? kKeyRight : cx > x ? kKeyLeft : cy < y ? kKeyDown : kKeyUp);
        }
        ADD_FAILURE() << "the cursor never reached " << x << "," << y;
    }

    // Chooses the word's first letter and its direction with a device.
    void Select(Device device, Placement at) {
        const int nextX = at.x + kStepX[at.direction], nextY = at.y + kStepY[at.direction];
        if (device == Device::Mouse) {
            auto [px, py] = CellOnScreen(at.x, at.y);
            MouseDown(px, py);
            Frame();
            auto [qx, qy] = CellOnScreen(nextX, nextY);
            this->input->p_MouseEvent(KpEventMouseMove, -1, qx, qy);
            Frame();
            MouseUp();
            Frame();
            return;
        }
        MoveCursorTo(device, at.x, at.y);
        // After a find the first select only clears the state; a player presses again when no start shows.
        for (int tries = 0; tries < 3 && Slot(play::kStartX) != static_cast<float>(at.x); ++tries) Tap(device, kKeyZ);
        MoveCursorTo(device, nextX, nextY);
        Tap(device, kKeyZ);
    }

    // Finds and selects the word in play, then waits until it is found; false when it is not.
    bool PlayWord(Device device) {
        if (!FramesUntil([&] { return Settled(); })) return false;
        const Placement at = FindWord();
        if (at.direction == 0) return false;
        const float counter = Slot(play::kWordCounter);
        Select(device, at);
        return FramesUntil([&] { return Slot(play::kState) == play::kWordFound || Slot(play::kWordCounter) > counter; },
                           120);
    }

    // Plays every word of the puzzle in play with a device; false at the first word that could not be found.
    bool PlayPuzzle(Device device) {
        for (int word = 0; word < 6; ++word) {
            if (!PlayWord(device)) {
                ADD_FAILURE() << "word " << word << " (" << app->m_word.ToUtf8() << ") was not found";
                return false;
            }
        }
        return FramesUntil([&] { return app->m_puzzleDone == 1; }, 600);
    }
};

class PlayFixture : public PuzzlePlayer<AppFixture> {
protected:
    // The window is 640 x 480 unless the test asks for another size (and with it another art level).
    explicit PlayFixture(int width = 640, int height = 480) {
        const char* given = std::getenv("QUORLIX_PLAY_CLOCK");
        const long start = given ? std::atol(given) : std::random_device{}() % 100000000;
        std::cout << "[ clock    ] QUORLIX_PLAY_CLOCK=" << start << " replays this run\n";
        fake.now = static_cast<double>(start) / 1000.0;
        glrec::Gl().log = false;
        // The scripted pad: sticks centred, 12 buttons then the hat as left, up, right, down.
        fake.pads[0] = FakePad{true, {0, 0, 0, 0, 0, 0}, std::vector<unsigned char>(16)};
        OpenWindow(width, height);
        app->p_OnCreate();
        Render();
        while (app->m_loadStep > 0) Frame();
    }

    // One update a sixtieth of a second after the last.
    void Frame() override {
        fake.now += 1.0 / 60.0;
        Update();
    }
    void PadButton(int key, bool down) override {
        int index = 1;  // the first face button on this pad layout
        if (key == kKeyLeft) index = 12;
        if (key == kKeyUp) index = 13;
        if (key == kKeyRight) index = 14;
        if (key == kKeyDown) index = 15;
        fake.pads[0].buttons[static_cast<size_t>(index)] = down ? glfw2::PRESS : glfw2::RELEASE;
    }
};
