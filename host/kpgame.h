// KpGame: the host game object, and KpGameDelegate, the interface through which it calls the game.
// Depends on the runtime (String, Array). Every call from the host into the game (start, suspend, resume,
// update, render, input events) passes through here: the host game guards it with its started and suspended
// flags and turns an escaped script exception into an orderly stop. Files, the state store and the platform
// queries are virtual operations so that a test host can answer them from memory.
#pragma once

#include <cstdio>    // FILE for OpenFile
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/string.h"

// A script-level exception: one that escapes a callback ends the process through KpGame::Die.
class ThrowableObject : public std::exception {
public:
    const char* what() const noexcept override { return "Uncaught Zindle Exception"; }
};

// Event kinds shared by the host, the delegate and the input device.
enum KpEvent {
    KpEventKeyDown = 1,
    KpEventKeyUp = 2,
    KpEventKeyChar = 3,
    KpEventMouseDown = 4,
    KpEventMouseUp = 5,
    KpEventMouseMove = 6,
    KpEventTouchDown = 7,
    KpEventTouchUp = 8,
    KpEventTouchMove = 9,
    KpEventMotionAccel = 10,
};

// Key codes that matter to routing.
constexpr int KpKeyBack = 416;
constexpr int KpKeyClose = 432;

// The character a press of a game key also types: Backspace, Tab, Enter and Escape themselves, the paging and
// arrow keys and Insert with bit 16 set, Delete as 127; 0 for every other key (those type through the host's
// character events).
int kpKeyToChar(int code);

struct KpDisplayMode {
    int width = 0, height = 0;
    int format = 0, hertz = 0, flags = 0;  // never filled on this host
};

// The game's side of every host callback.
class KpGameDelegate {
public:
    virtual ~KpGameDelegate() = default;
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void DiscardGraphics() {}
};

class KpGame {
public:
    KpGame();
    virtual ~KpGame();

    virtual void SetDelegate(KpGameDelegate* delegate) { _delegate = delegate; }
    virtual KpGameDelegate* Delegate() { return _delegate; }
    virtual void SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
    virtual bool KeyboardEnabled() { return _keyboardEnabled; }
    virtual void SetUpdateRate(int hertz) { _updateRate = hertz; }
    virtual int UpdateRate() { return _updateRate; }
    virtual bool Started() { return _started; }
    virtual bool Suspended() { return _suspended; }
    virtual int Millisecs() { return 0; }
    // Fills year, month, day, hour, minute, second and 0 milliseconds from the local time, as far as date reaches.
    virtual void GetDate(Array<int> date);
    // Replaces the state file with text: 0 done, -1 the file cannot be opened (or must not be replaced), -2 not
    // every byte was written. A failure is told to the player once, and so is the first save that works again.
    virtual int SaveState(const String& text);
    // The state file as text (at most its first kStateReadLimit bytes); the empty text when there is none. A
    // file that exists but cannot be read is told to the player and is never saved over afterwards.
    virtual String LoadState();
    // Where the state file is kept, in words a player understands, when its path would not tell them (a
    // browser's storage); empty for the file's full path.
    virtual std::string StatePlaceForPlayer() { return std::string(); }
    // A whole file as text (byte order marks, UTF-8, bytes as a fallback); the empty text when unreadable.
    virtual String LoadString(const String& path);
    virtual bool PollJoystick(int /*port*/, Array<float> /*joyx*/, Array<float> /*joyy*/, Array<float> /*joyz*/,
                              Array<bool> /*buttons*/) {
        return false;
    }
    virtual void OpenUrl(const String& /*url*/) {}
    // Whether sounds started now are heard now: false in a browser until its page has had a key, click or touch.
    virtual bool AudioRunning() { return true; }
    virtual void SetMouseVisible(bool /*visible*/) {}
    virtual int GetDeviceWidth() { return 0; }
    virtual int GetDeviceHeight() { return 0; }
    virtual void SetDeviceWindow(int /*width*/, int /*height*/, int /*flags*/) {}
    virtual Array<KpDisplayMode> GetDisplayModes() { return Array<KpDisplayMode>(); }
    virtual std::optional<KpDisplayMode> GetDesktopMode() { return std::nullopt; }
    virtual void SetSwapInterval(int /*interval*/) {}
    // Virtual path to file-system path; the base host knows no virtual roots.
    virtual String PathToFilePath(const String& path) { return path; }
    // Opens a (virtual) path; null when it cannot be opened.
    virtual FILE* OpenFile(const String& path, const String& mode);
    // A whole file's bytes; none when it cannot be opened.
    virtual std::optional<std::vector<unsigned char>> LoadData(const String& path);
    // Image files that LoadImageData will be asked for next, in order, so they can be read and decoded ahead
    // (virtual paths); the base host decodes nothing ahead.
    virtual void DecodeImagesAhead(const std::vector<String>& /*paths*/) {}
    // Whether LoadImageData can take these image files (virtual paths) now. A host that decodes apart from the
    // frame loop answers false until it has decoded them (and starts any it was not yet asked for); one that
    // decodes on the spot what is not ready, as the desktop's, always true.
    virtual bool ImagesReady(const std::vector<String>& /*paths*/) { return true; }
    // Whether the data file at a (virtual) path has arrived: false while a host that downloads its data in parts
    // (a web page) has not received the part with it. A data folder on disk is whole, so true, whatever the file.
    virtual bool DataArrived(const String& /*path*/) { return true; }
    // The art level the game now shows (its art's pixels per virtual unit), told whenever it changes; a host
    // that downloads art by level may order its downloads by it.
    virtual void ShowingArtLevel(int /*level*/) {}
    // Decoded 8-bit pixels (malloc'd, caller frees), with size and bytes per pixel; null when unreadable.
    virtual unsigned char* LoadImageData(const String& /*path*/, int* /*width*/, int* /*height*/, int* /*depth*/) {
        return nullptr;
    }
    // Decoded PCM (malloc'd, caller frees): length in frames, channels, bytes per sample, rate; null when unreadable.
    virtual unsigned char* LoadAudioData(const String& /*path*/, int* /*length*/, int* /*channels*/, int* /*format*/,
                                         int* /*hertz*/) {
        return nullptr;
    }
    // Tells the player, once per file, that the data file at (virtual) path could not be opened: missing, or
    // unreadable for the reason `error` (an errno value); a data folder missing altogether is told once instead.
    void TellAssetUnreadable(const String& path, int error);
    // Tells the player, once per file, that the data file at path is damaged: `problem` says how, `without` what
    // the game does without it ("the game runs without it").
    void TellAssetDamaged(const String& path, const std::string& problem, const std::string& without);
    [[noreturn]] virtual void Die(const ThrowableObject& exception);
    // One step of the collector, after every callback.
    virtual void gc_collect();
    // Hands memory the C allocator holds free back to the system (see UpdateGame); the base host has no way to.
    virtual void ReleaseFreedMemory();

    // Guarded calls into the delegate.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    static KpGame* _game;

protected:
    // Runs call inside the handler every callback shares: an escaped exception ends the process, and a
    // collector step follows.
    template <class Call>
    void Guarded(Call&& call);

    KpGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;
    bool _loading = false;  // the last update took pixels or samples from the C allocator
    bool _stateUnreadable = false;  // the state file exists but could not be read: it is kept as it is
};
