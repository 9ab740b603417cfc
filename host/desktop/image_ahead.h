// ImageDecodeAhead: art files read and decoded on worker threads before the loader asks for them, so that the
// frame loop does not stand still while a large sheet decodes and the loading screen keeps turning.
// Depends on host/image_data.h (DecodedImage, DecodeImageFile) and the C++ thread library.
// NOTE: files are named by their file-system paths, translated by the caller on the main thread: the workers
// touch no String (their shared representations are counted without atomics) and nothing of the game.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/image_data.h"

class ImageDecodeAhead {
public:
    ImageDecodeAhead();
    ImageDecodeAhead(const ImageDecodeAhead&) = delete;
    ImageDecodeAhead& operator=(const ImageDecodeAhead&) = delete;
    // Stops the workers once their current files are done and frees every decoding nobody took.
    ~ImageDecodeAhead();

    // The files that will be asked for next, in the order they will be asked for. Replaces what was wanted
    // before: a file wanted earlier but not now is dropped (its pixels freed), one wanted again keeps what the
    // workers have done on it. The workers start with the first call.
    void Want(const std::vector<std::string>& files);
    // A wanted file's decoding, waiting while a worker is on it. None when the file is not wanted, or wanted
    // but not begun: the caller then reads it itself, which is no slower, and it is wanted no more.
    std::optional<DecodedImage> Take(const std::string& file);
    // Waits until the workers rest: every wanted file decoded, or as much waiting as they hold.
    void WaitForWorkers();

    // Decoded pixels waiting to be taken at which the workers begin no further file: two of the largest sheets.
    // NOTE: what waits adds to the memory of a reload (about 12 MB more at the peak of a switch to fullscreen);
    // with room for only one, the next large sheet starts decoding only when the step before takes its own,
    // and a step at the largest level waits for it.
    static constexpr size_t kMaxWaitingBytes = size_t{32} << 20;
    // Workers decoding at once: two where a core is left for the frame loop (the largest sheets of a level
    // come in consecutive loading steps), else one.
    static int Workers();

private:
    enum class State { Queued, Decoding, Done };
    struct Entry {
        std::string file;
        State state = State::Queued;
        DecodedImage image;
    };

    void Work();
    // Whether a worker would begin a file now.
    bool WorkToBegin();
    size_t WaitingBytes() const;
    // The entry of a file, of a file in a given state, or the first one waiting for a worker.
    std::list<Entry>::iterator Find(const std::string& file);
    std::list<Entry>::iterator Find(const std::string& file, State state);
    std::list<Entry>::iterator FirstQueued();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::list<Entry> entries_;
    std::vector<std::thread> workers_;
    bool stopping_ = false;
};
