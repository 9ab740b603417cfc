// ImageDecodeAhead: the worker and the hand-over of its decodings.
#include "host/desktop/image_ahead.h"

#include <malloc.h>  // mallopt

#include <algorithm>
#include <cstdlib>

ImageDecodeAhead::ImageDecodeAhead() {
    // NOTE: glibc gives each thread that allocates a heap of its own. The pixel blocks a worker decodes are
    // freed by the main thread, and a worker's heap kept the space of a sheet or two after reloads; with one
    // heap for every thread, freed art goes back to the system with the rest. Set here, with the host, before
    // the graphics and sound drivers start threads of their own.
    mallopt(M_ARENA_MAX, 1);
}

ImageDecodeAhead::~ImageDecodeAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    for (Entry& entry : entries_) std::free(entry.image.pixels);
}

void ImageDecodeAhead::Want(const std::vector<std::string>& files) {
    {
        std::lock_guard lock(mutex_);
        std::list<Entry> wanted;
        for (const std::string& file : files) {
            if (file.empty()) continue;
            if (std::any_of(wanted.begin(), wanted.end(), [&](const Entry& e) { return e.file == file; })) continue;
            auto known = Find(file);
            if (known != entries_.end()) {
                wanted.splice(wanted.end(), entries_, known);
            } else {
                wanted.push_back(Entry{file, State::Queued, {}});
            }
        }
        // NOTE: a file the worker is decoding now leaves the list too; the worker frees its pixels when it
        // finds no entry of its own to put them in.
        for (Entry& dropped : entries_) std::free(dropped.image.pixels);
        entries_ = std::move(wanted);
        while (workers_.size() < static_cast<size_t>(Workers())) workers_.emplace_back([this] { Work(); });
    }
    changed_.notify_all();
}

std::optional<DecodedImage> ImageDecodeAhead::Take(const std::string& file) {
    if (file.empty()) return std::nullopt;
    std::unique_lock lock(mutex_);
    auto entry = Find(file);
    if (entry == entries_.end()) return std::nullopt;
    if (entry->state == State::Queued) {
        entries_.erase(entry);
        return std::nullopt;
    }
    // Only this thread removes entries, so the iterator stays good while the worker finishes it.
    changed_.wait(lock, [&] { return entry->state == State::Done; });
    DecodedImage image = entry->image;
    entries_.erase(entry);
    lock.unlock();
    changed_.notify_all();
    return image;
}

void ImageDecodeAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || WorkToBegin(); });
        if (stopping_) return;
        auto next = FirstQueued();
        next->state = State::Decoding;
        const std::string file = next->file;
        lock.unlock();
        DecodedImage image = DecodeImageFile(file);
        lock.lock();
        auto mine = Find(file, State::Decoding);
        if (mine == entries_.end()) {
            std::free(image.pixels);
            continue;
        }
        mine->image = image;
        mine->state = State::Done;
        changed_.notify_all();
    }
}

void ImageDecodeAhead::WaitForWorkers() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        return !WorkToBegin() && std::none_of(entries_.begin(), entries_.end(),
                                              [](const Entry& e) { return e.state == State::Decoding; });
    });
}

bool ImageDecodeAhead::WorkToBegin() {
    return WaitingBytes() < kMaxWaitingBytes && FirstQueued() != entries_.end();
}

int ImageDecodeAhead::Workers() {
    return std::thread::hardware_concurrency() >= 3 ? 2 : 1;
}

size_t ImageDecodeAhead::WaitingBytes() const {
    size_t bytes = 0;
    for (const Entry& entry : entries_) {
        if (entry.state == State::Done && entry.image.pixels) {
            bytes += static_cast<size_t>(entry.image.width) * entry.image.height * entry.image.depth;
        }
    }
    return bytes;
}

std::list<ImageDecodeAhead::Entry>::iterator ImageDecodeAhead::Find(const std::string& file) {
    return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.file == file; });
}

std::list<ImageDecodeAhead::Entry>::iterator ImageDecodeAhead::Find(const std::string& file, State state) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.file == file && e.state == state; });
}

std::list<ImageDecodeAhead::Entry>::iterator ImageDecodeAhead::FirstQueued() {
    return std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.state == State::Queued; });
}
