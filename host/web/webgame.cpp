// KpWebGame: the frame loop as the browser drives it, the canvas as the window, paths into the packed data folder,
// and the state store written through to IndexedDB.
// Depends on the toolchain's clock and on the page's calls (host/web/webhost.h) for what only the page can do
// (the animation frames among it).
#include "host/web/webgame.h"

#include <emscripten/emscripten.h>

#include <algorithm>  // std::erase
#include <cstdlib>    // free

#include "host/audio_data.h"           // LoadAudioFile
#include "host/files.h"                // MapVirtualPath
#include "host/graphics_generation.h"  // kpGraphicsSeq
#include "host/image_data.h"           // LoadImagePixels
#include "host/notices.h"
#include "host/web/webhost.h"          // the page's calls, and ours it makes

KpWebGame* KpWebGame::_webGame = nullptr;

namespace {

constexpr const char* kStoreNotice = "state-store";
// A frame decodes art ahead while it has used less than this of its 16.7 ms.
constexpr double kDecodeBudgetMs = 6.0;
// Decoded art waiting to be taken at which no further file is begun: two of the largest sheets.
constexpr size_t kMostBytesAhead = size_t{32} << 20;

double Seconds() { return emscripten_get_now() / 1000.0; }

}  // namespace

// The page's answers, called from host/web/webhost.js (host/web/webhost.h lists them).
extern "C" {

// The outcome of writing the state folder through to IndexedDB.
EMSCRIPTEN_KEEPALIVE void quorlix_state_stored(int ok) {
    if (ok) {
        kpSettleNotice(kStoreNotice);
        return;
    }
    kpTellPlayer(kStoreNotice, "your progress could not be stored in this browser (it may keep no site data in "
                               "this window, or have no room left); the game plays on, and saves again each time a "
                               "puzzle ends.");
}

// The browser's animation frame: one iteration of the frame loop, run by the page (host/web/webhost.js) until
// the program ends.
EMSCRIPTEN_KEEPALIVE void quorlix_frame() {
    if (KpWebGame::_webGame) KpWebGame::_webGame->Frame();
}

EMSCRIPTEN_KEEPALIVE void quorlix_fullscreen_left() {
    if (KpWebGame::_webGame) KpWebGame::_webGame->FullscreenLeft();
}

}  // extern "C"

KpWebGame::KpWebGame() { _webGame = this; }

void KpWebGame::SetUpdateRate(int hertz) {
    KpGame::SetUpdateRate(hertz);
    schedule_.SetRate(hertz);
}

int KpWebGame::Millisecs() { return static_cast<int>(emscripten_get_now()); }

String KpWebGame::LoadState() {
    if (quorlix_state_unread()) {
        // NOTE: the record kept in IndexedDB may be whole though this start could not read it; saving this
        // session's over it would lose the player's results. As with a state file that cannot be read, it is
        // left alone.
        _stateUnreadable = true;
        kpTellPlayer("state-unreadable", "your saved progress could not be read from " + StatePlaceForPlayer() +
                                             "; the game starts without it and saves nothing in this tab, so "
                                             "whatever is stored there stays as it is.");
        return String();
    }
    return KpGame::LoadState();
}

int KpWebGame::SaveState(const String& text) {
    if (!quorlix_state_owner()) {
        // NOTE: the tab that was open first keeps the record; this one plays on, and the page says it saves nothing.
        return 0;
    }
    const int result = KpGame::SaveState(text);
    if (result == 0) quorlix_store_state();
    return result;
}

bool KpWebGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) {
    return kpPollBrowserPad(port, joyx, joyy, joyz, buttons);
}

void KpWebGame::OpenUrl(const String& url) { quorlix_open_url(url.ToUtf8().c_str()); }

bool KpWebGame::AudioRunning() { return quorlix_audio_running() != 0; }

void KpWebGame::SetMouseVisible(bool visible) { quorlix_set_cursor(visible ? 1 : 0); }

int KpWebGame::GetDeviceWidth() { return quorlix_canvas_width(); }

int KpWebGame::GetDeviceHeight() { return quorlix_canvas_height(); }

void KpWebGame::SetDeviceWindow(int /*width*/, int /*height*/, int flags) {
    // NOTE: unlike a desktop window, the canvas keeps its drawing context through the change; it is only fitted
    // to its new size, which the game sees at its next update and reloads its art for.
    fullscreenWanted_ = (flags & 1) != 0;
    quorlix_set_fullscreen(fullscreenWanted_ ? 1 : 0);
}

void KpWebGame::FullscreenLeft() {
    if (!fullscreenWanted_) return;
    fullscreenWanted_ = false;
    // NOTE: the game keeps its own fullscreen flag and flips it on F11; the browser leaving fullscreen is told to
    // it as that key, as the desktop tells it of a window's close box by the close key.
    KeyEvent(KpEventKeyDown, 122);
    KeyEvent(KpEventKeyUp, 122);
}

Array<KpDisplayMode> KpWebGame::GetDisplayModes() {
    Array<KpDisplayMode> modes(1);
    modes[0] = *GetDesktopMode();
    return modes;
}

std::optional<KpDisplayMode> KpWebGame::GetDesktopMode() {
    KpDisplayMode mode;
    mode.width = quorlix_screen_width();
    mode.height = quorlix_screen_height();
    return mode;
}

String KpWebGame::PathToFilePath(const String& path) {
    return MapVirtualPath(path, {[] { return String("/data"); }, [] { return String("/internal"); },
                                 [] { return String("/external"); }});
}

void KpWebGame::DecodeImagesAhead(const std::vector<String>& paths) {
    std::map<std::string, DecodedImage> kept;
    wanted_.clear();
    for (const String& path : paths) {
        std::string file = PathToFilePath(path).ToUtf8();
        auto done = ready_.find(file);
        if (done != ready_.end()) {
            kept.insert(ready_.extract(done));
        } else {
            wanted_.push_back(std::move(file));
        }
    }
    // Decodings no longer wanted give their pixels back.
    for (auto& [file, image] : ready_) std::free(image.pixels);
    ready_ = std::move(kept);
    readyBytes_ = 0;
    for (const auto& [file, image] : ready_) readyBytes_ += static_cast<size_t>(image.width) * image.height * image.depth;
}

void KpWebGame::DecodeAheadUntil(double frameStart) {
    while (!wanted_.empty() && readyBytes_ < kMostBytesAhead && emscripten_get_now() - frameStart < kDecodeBudgetMs) {
        const std::string file = wanted_.front();
        wanted_.pop_front();
        DecodedImage image = DecodeImageFile(file);
        readyBytes_ += static_cast<size_t>(image.width) * image.height * image.depth;
        ready_[file] = image;
    }
}

unsigned char* KpWebGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    const std::string file = PathToFilePath(path).ToUtf8();
    std::optional<DecodedImage> image;
    if (auto done = ready_.find(file); done != ready_.end()) {
        image = done->second;
        readyBytes_ -= static_cast<size_t>(image->width) * image->height * image->depth;
        ready_.erase(done);
    }
    // A file asked for before its turn came is decoded now, and wanted no more.
    std::erase(wanted_, file);
    return LoadImagePixels(*this, path, image, width, height, depth);
}

unsigned char* KpWebGame::LoadAudioData(const String& path, int* length, int* channels, int* format, int* hertz) {
    // NOTE: the site carries its sounds as Ogg Vorbis, a sixth of their size (web/encode-sounds.cmake): a .wav the
    // game asks for is read from the .ogg of its name.
    const String wav(".wav");
    if (path.EndsWith(wav)) {
        const String ogg = path.Slice(0, path.Length() - wav.Length()) + String(".ogg");
        return LoadAudioFile(*this, ogg, length, channels, format, hertz);
    }
    return LoadAudioFile(*this, path, length, channels, format, hertz);
}

void KpWebGame::Run() {
    quorlix_fit_canvas();
    if (!quorlix_create_context()) {
        kpTellPlayer("window", "this browser cannot draw the game (it has no WebGL); the game cannot start.");
        return;
    }
    ++kpGraphicsSeq;
    kpListenToPage();
    quorlix_start_audio_on_gestures();
    StartGame();
    quorlix_run_frames();
}

void KpWebGame::Frame() {
    const double start = emscripten_get_now();
    quorlix_fit_canvas();
    RenderGame();
    if (!drawn_) {
        drawn_ = true;
        quorlix_first_frame_drawn();
    }
    schedule_.RunUpdates(*this, Seconds);
    DecodeAheadUntil(start);
}

void KpWebGame::SetPageVisible(bool visible) { schedule_.FollowActivity(*this, visible); }
