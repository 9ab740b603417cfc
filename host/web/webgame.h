// KpWebGame: the host in a web page. The browser drives the frame loop (one iteration per animation frame), the
// page's canvas is the window, its events are the keys, mouse, touches and pads, the data folder is packed with
// the site, and the state file lives in the browser's IndexedDB. The page's host backend (backend.h): start-up
// creates it as KpZindleGame.
// Implements the clock, the state store, pads, opening links, whether sound runs yet, the pointer, the canvas's
// size, fullscreen, paths, decoding art (by the browser, apart from the frame loop) and sounds. Leaves out the
// swap interval (the browser paces its frames), a window's size (the canvas fills the page), handing freed memory
// back (a page's memory never shrinks) and the date's milliseconds, as every host does.
// Depends on host/kpgame.h, the update schedule, and the toolchain's HTML5 and file-system layers (through
// host/web/webgame.cpp, webinput.cpp and webhost.js).
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>

#include "host/image_data.h"
#include "host/kpgame.h"
#include "host/update_schedule.h"

class KpWebGame : public KpGame {
public:
    KpWebGame();

    void SetUpdateRate(int hertz) override;
    // Milliseconds since the page began, from the browser's monotonic clock.
    int Millisecs() override;
    // Reads the state file as the state store brought it from IndexedDB. A store that could not be read is told
    // to the player, and this tab never saves over it.
    String LoadState() override;
    // Writes the state file, then stores it in IndexedDB (unless another tab of the game holds the store).
    int SaveState(const String& text) override;
    std::string StatePlaceForPlayer() override { return "this browser's storage for the game's site"; }
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    void OpenUrl(const String& url) override;
    bool AudioRunning() override;
    void SetMouseVisible(bool visible) override;
    // The canvas's size in device pixels.
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    // Fullscreen (flags bit 0) asks the browser for its fullscreen; windowed leaves it. The canvas always fills
    // what the page has, so the size is not used.
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<KpDisplayMode> GetDisplayModes() override;
    // The screen, in device pixels.
    std::optional<KpDisplayMode> GetDesktopMode() override;
    // "zindle://data/" names the data folder packed with the site; the other roots name folders beside it.
    String PathToFilePath(const String& path) override;
    // The site carries its art as WebP, which the browser decodes apart from the page's main thread
    // (quorlix_decode_image): the loader's next files are handed to it in order, a few at a time, and a .png the
    // game asks for is read from the .webp of its name. A PNG the site carries as such (the built-in font) is
    // decoded here when it is asked for.
    void DecodeImagesAhead(const std::vector<String>& paths) override;
    // Whether the browser has decoded these files; any not yet handed to it is handed now.
    bool ImagesReady(const std::vector<String>& paths) override;
    // Whether the package holding the file has put it in the data folder yet.
    bool DataArrived(const String& path) override;
    // Tells the page (which downloads the art level the canvas wants next).
    void ShowingArtLevel(int level) override;
    unsigned char* LoadImageData(const String& path, int* width, int* height, int* depth) override;
    // A decoding the browser finished (pixels malloc'd, or null when the file could not be decoded).
    void ImageDecoded(int id, unsigned char* pixels, int width, int height);
    // A .wav is read from the .ogg of its name, as the site carries its sounds.
    unsigned char* LoadAudioData(const String& path, int* length, int* channels, int* format, int* hertz) override;

    // Makes the drawing context, starts the game and hands the frame loop to the browser; returns at once.
    void Run();
    // One animation frame: the canvas fitted to the page, a render, then the updates that are due.
    void Frame();
    // The page is no longer in use (hidden, its window left for another, frozen, or being left) or in use
    // again: the game is suspended (and saves) or resumed, as a desktop window losing or regaining the focus.
    void SetPageActive(bool active);
    // The browser left fullscreen on its own (its Escape key), or refused to enter it.
    void FullscreenLeft();

    static KpWebGame* _webGame;

private:
    // The file the browser decodes for a file-system path: its .webp, when the site carries one.
    static std::optional<std::string> BrowserPicture(const std::string& file);
    // Whether the browser is decoding the file now.
    bool Decoding(const std::string& file) const;
    // Hands wanted files to the browser while few are under way and little decoded art waits.
    void HandOnDecodes();

    UpdateSchedule schedule_;
    std::deque<std::string> wanted_;            // files the loader asks for next, in order, not yet handed on
    std::set<std::string> asked_;               // the files asked for ahead or waited for since the last list
    std::map<int, std::string> decoding_;       // handed to the browser, by the number it answers with
    std::map<std::string, DecodedImage> ready_;  // decoded, waiting to be taken
    int nextDecode_ = 1;
    size_t readyBytes_ = 0;
    bool fullscreenWanted_ = false;  // the game last asked for fullscreen
    bool drawn_ = false;             // a frame has been drawn
};

// The page's input (host/web/webinput.cpp): registers the key, mouse, touch and visibility handlers that deliver
// events to the host game.
void kpListenToPage();
// Reads the pads the browser has into the four pad units; false for a unit with no pad.
bool kpPollBrowserPad(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons);
