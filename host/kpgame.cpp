// KpGame: guarded forwarding of every host callback to the game delegate, the date, the fatal stop, and handing
// memory freed by loading back to the system.
#include "host/kpgame.h"

#include <ctime>
#include <exception>

#include "host/errors.h"
#include "host/graphics_generation.h"
#include "runtime/object.h"

int kpGraphicsSeq = 0;

KpGame* KpGame::_game = nullptr;

KpGame::KpGame() { _game = this; }

KpGame::~KpGame() {
    if (_game == this) _game = nullptr;
}

void KpGame::GetDate(Array<int> date) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int values[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < 7 && i < date.Length(); ++i) date[i] = values[i];
}

int kpKeyToChar(int code) {
    switch (code) {
        case 8: case 9: case 13: case 27: return code;
        case 33: case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 45: return code | 0x10000;
        case 46: return 127;
        default: return 0;
    }
}

void KpGame::Die(const ThrowableObject&) {
    kpPrint(String("Zindle Runtime Error : Uncaught Zindle Exception"));
    std::fflush(stdout);
    kpTellPlayerStopped("Uncaught Zindle Exception");
    std::_Exit(255);
}

void KpGame::gc_collect() { ::gc_collect(); }

template <class Call>
void KpGame::Guarded(Call&& call) {
    try {
        call();
    } catch (const ThrowableObject& exception) {
        Die(exception);
    } catch (const std::exception& failure) {
        // NOTE: a C++ failure (an allocation that cannot be met) is as fatal as a script exception, but says what.
        dbg_error(failure.what());
    }
    gc_collect();
}

void KpGame::StartGame() {
    if (_started) return;
    _started = true;
    Guarded([this] { _delegate->StartGame(); });
}

void KpGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    Guarded([this] { _delegate->SuspendGame(); });
}

void KpGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    Guarded([this] { _delegate->ResumeGame(); });
}

void KpGame::UpdateGame() {
    if (!_started || _suspended) return;
    const int64_t taken = gc_ext_new_bytes;
    Guarded([this] { _delegate->UpdateGame(); });
    // NOTE: loading replaces every image and sound of the earlier art level or window, and the collector frees
    // them; but the C allocator keeps big freed blocks that lie inside its heap, tens of megabytes after a
    // fullscreen switch. Handing them back during loading would only make the next step's blocks come fresh
    // from the system again, so it is done once, after the first update that loads nothing.
    const bool loading = gc_ext_new_bytes != taken;
    if (_loading && !loading) ReleaseFreedMemory();
    _loading = loading;
}

void KpGame::ReleaseFreedMemory() {}

void KpGame::RenderGame() {
    if (!_started) return;
    Guarded([this] { _delegate->RenderGame(); });
}

void KpGame::KeyEvent(int event, int data) {
    if (!_started) return;
    Guarded([&] { _delegate->KeyEvent(event, data); });
}

void KpGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    Guarded([&] { _delegate->MouseEvent(event, data, x, y); });
}

void KpGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    Guarded([&] { _delegate->TouchEvent(event, data, x, y); });
}

void KpGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    Guarded([&] { _delegate->MotionEvent(event, data, x, y, z); });
}

void KpGame::DiscardGraphics() {
    if (!_started) return;
    Guarded([this] { _delegate->DiscardGraphics(); });
}
