#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "AudioSink.h"

namespace calvox {

// A wave-out style sound output over one AudioSink: blocks are queued without waiting, played
// in order on the output's own thread, and each is reported done through the completion callback
// (on that thread, with no lock of the output held) once it has played. A queued block's samples
// belong to the output until then.
class AudioOutput {
public:
    using DoneCallback = std::function<void(int userValue)>;

    // `capacity`: how many blocks may be queued at once.
    AudioOutput(std::unique_ptr<AudioSink> sink, size_t capacity, DoneCallback done);
    // Resets, then stops the output thread.
    ~AudioOutput();

    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // False (and no callback will come) when the queue is full.
    bool Queue(const int16_t* samples, size_t count, int userValue);
    // Stops the block that is playing and reports every queued block done, played or not;
    // returns when all of them are. Must not be called from the completion callback.
    void Reset();
    // The same for the blocks whose user value `which` picks: they leave the queue unplayed (the
    // others keep their order), the playing one stops if it is one of them, and each is reported
    // done. Returns when none of them plays any more. Not from the completion callback either.
    void Drop(const std::function<bool(int userValue)>& which);
    const char* Kind() const { return sink_->Kind(); }

private:
    struct Block {
        const int16_t* samples;
        size_t count;
        int userValue;
    };

    void Run();

    std::unique_ptr<AudioSink> sink_;
    DoneCallback done_;
    AudioAbort abort_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Block> ring_;  // fixed capacity, allocated once
    size_t head_ = 0;
    size_t size_ = 0;
    bool busy_ = false;  // the thread holds a block (playing it or reporting it)
    Block current_{};    // that block, while busy_
    uint64_t taken_ = 0;  // blocks the thread has taken so far
    // A reset aborts every block until it is done; otherwise an abort is for the block being played
    // and is lifted when the thread takes the next one.
    bool resetting_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace calvox
