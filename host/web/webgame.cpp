// KpWebGame: the frame loop as the browser drives it, the canvas as the window, paths into the packed data folder,
// and the state store kept in IndexedDB.
// Depends on the toolchain's clock and on the page's calls (host/web/webhost.h) for what only the page can do
// (the animation frames among it).
#include "host/web/webgame.h"

#include <emscripten/emscripten.h>

#include <sys/stat.h>

#include <algorithm>  // std::any_of, std::erase, std::find
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
// Files the browser decodes at once: one decoding while the next is read and sent.
constexpr size_t kMostDecoding = 2;
// Decoded art waiting to be taken at which no further file is handed on: two of the largest sheets.
constexpr size_t kMostBytesAhead = size_t{32} << 20;

bool FileExists(const std::string& file) {
    struct stat status;
    return stat(file.c_str(), &status) == 0;
}

double Seconds() { return emscripten_get_now() / 1000.0; }

}  // namespace

// The page's answers, called from host/web/webhost.js (host/web/webhost.h lists them).
extern "C" {

// The outcome of storing the state folder in IndexedDB. A failure is told once, with the browser's reason, and
// stays told until a later store works; every save tries again.
EMSCRIPTEN_KEEPALIVE void quorlix_state_stored(int ok, const char* reason) {
    if (ok) {
        kpSettleNotice(kStoreNotice);
        return;
    }
    const std::string why = reason && *reason ? std::string(" (the browser said: ") + reason + ")" : std::string();
    kpTellPlayer(kStoreNotice, "your latest progress could not be stored in this browser" + why +
                                   "; what was stored before is kept. The game plays on, and tries again at "
                                   "each save.");
}

// The browser's animation frame: one iteration of the frame loop, run by the page (host/web/webhost.js) until
// the program ends.
EMSCRIPTEN_KEEPALIVE void quorlix_frame() {
    if (KpWebGame::_webGame) KpWebGame::_webGame->Frame();
}

EMSCRIPTEN_KEEPALIVE void quorlix_fullscreen_left() {
    if (KpWebGame::_webGame) KpWebGame::_webGame->FullscreenLeft();
}

EMSCRIPTEN_KEEPALIVE void quorlix_page_active(int active) {
    if (KpWebGame::_webGame) KpWebGame::_webGame->SetPageActive(active != 0);
}

EMSCRIPTEN_KEEPALIVE void quorlix_image_decoded(int id, unsigned char* pixels, int width, int height) {
    if (KpWebGame::_webGame) {
        KpWebGame::_webGame->ImageDecoded(id, pixels, width, height);
    } else {
        free(pixels);
    }
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

std::optional<std::string> KpWebGame::BrowserPicture(const std::string& file) {
    const std::string png = ".png";
    if (!file.ends_with(png)) return std::nullopt;
    std::string webp = file.substr(0, file.size() - png.size()) + ".webp";
    if (!FileExists(webp)) return std::nullopt;
    return webp;
}

void KpWebGame::DecodeImagesAhead(const std::vector<String>& paths) {
    std::map<std::string, DecodedImage> kept;
    wanted_.clear();
    asked_.clear();
    for (const String& path : paths) {
        std::string file = PathToFilePath(path).ToUtf8();
        asked_.insert(file);
        if (auto done = ready_.find(file); done != ready_.end()) {
            kept.insert(ready_.extract(done));
            continue;
        }
        if (!Decoding(file) && BrowserPicture(file)) wanted_.push_back(std::move(file));
    }
    // Decodings no longer wanted give their pixels back.
    for (auto& [file, image] : ready_) std::free(image.pixels);
    ready_ = std::move(kept);
    readyBytes_ = 0;
    for (const auto& [file, image] : ready_) readyBytes_ += static_cast<size_t>(image.width) * image.height * image.depth;
    HandOnDecodes();
}

bool KpWebGame::Decoding(const std::string& file) const {
    return std::any_of(decoding_.begin(), decoding_.end(), [&](const auto& job) { return job.second == file; });
}

void KpWebGame::HandOnDecodes() {
    while (!wanted_.empty() && decoding_.size() < kMostDecoding && readyBytes_ < kMostBytesAhead) {
        const std::string file = wanted_.front();
        wanted_.pop_front();
        const std::optional<std::string> picture = BrowserPicture(file);
        if (!picture) continue;
        const int id = nextDecode_++;
        decoding_[id] = file;
        quorlix_decode_image(picture->c_str(), id);
    }
}

bool KpWebGame::ImagesReady(const std::vector<String>& paths) {
    bool ready = true;
    for (const String& path : paths) {
        const std::string file = PathToFilePath(path).ToUtf8();
        if (ready_.contains(file) || !BrowserPicture(file)) continue;
        ready = false;
        asked_.insert(file);
        if (!Decoding(file) && std::find(wanted_.begin(), wanted_.end(), file) == wanted_.end()) {
            wanted_.push_front(file);
        }
    }
    HandOnDecodes();
    return ready;
}

void KpWebGame::ImageDecoded(int id, unsigned char* pixels, int width, int height) {
    const auto job = decoding_.find(id);
    if (job == decoding_.end()) {
        std::free(pixels);
        return;
    }
    // NOTE: a decoding handed on before the files asked for changed (the window changed while art loaded) is
    // wanted no more: kept, it would count towards kMostBytesAhead until the next change, and two of the largest
    // sheets would hold every later file back.
    if (!asked_.contains(job->second)) {
        std::free(pixels);
        decoding_.erase(job);
        HandOnDecodes();
        return;
    }
    DecodedImage image;
    image.pixels = pixels;
    image.width = pixels ? width : 0;
    image.height = pixels ? height : 0;
    image.depth = pixels ? 4 : 0;
    // NOTE: a file the browser could not decode is kept as such, so the game is told once, as it loads it, that
    // the picture is damaged.
    image.png = true;
    readyBytes_ += static_cast<size_t>(image.width) * image.height * image.depth;
    if (auto old = ready_.find(job->second); old != ready_.end()) {
        std::free(old->second.pixels);
        ready_.erase(old);
    }
    ready_[job->second] = image;
    decoding_.erase(job);
    HandOnDecodes();
}

bool KpWebGame::DataArrived(const String& path) {
    const std::string file = PathToFilePath(path).ToUtf8();
    return FileExists(file) || BrowserPicture(file).has_value();
}

void KpWebGame::ShowingArtLevel(int level) { quorlix_art_shown(level); }

unsigned char* KpWebGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    const std::string file = PathToFilePath(path).ToUtf8();
    std::optional<DecodedImage> image;
    if (auto done = ready_.find(file); done != ready_.end()) {
        image = done->second;
        readyBytes_ -= static_cast<size_t>(image->width) * image->height * image->depth;
        ready_.erase(done);
        HandOnDecodes();
    } else if (BrowserPicture(file)) {
        // NOTE: only the browser decodes a WebP, and not while the game waits: a picture asked for before the
        // browser has it (the loader always waits for its files) is not shown this time, and is told nowhere,
        // since nothing is wrong with it.
        std::erase(wanted_, file);
        return nullptr;
    }
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
    quorlix_fit_canvas();
    RenderGame();
    if (!drawn_) {
        drawn_ = true;
        quorlix_first_frame_drawn();
    }
    schedule_.RunUpdates(*this, Seconds);
}

void KpWebGame::SetPageActive(bool active) { schedule_.FollowActivity(*this, active); }
