// Hands captured frames to a consumer on a thread of its own (the encoder and the image
// writers), so the show draws the next frame while the last one is written. Frames are consumed
// in the order they were queued. The buffers are made once and go round: the producer fills a
// free one and queues it, and waits only when the consumer holds every buffer. The first error
// of the consumer stops the queue: later frames are refused and Close returns that error.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frameplan.h"

class FrameQueue {
public:
    // Runs on the queue's thread, one frame at a time; false with error set stops the queue.
    using Consumer =
        std::function<bool(const PlannedFrame& frame, const uint8_t* pixels, std::string* error)>;

    FrameQueue(size_t frameBytes, int buffers, Consumer consume);
    ~FrameQueue();  // Close, dropping the error
    FrameQueue(const FrameQueue&) = delete;
    FrameQueue& operator=(const FrameQueue&) = delete;

    // A free buffer of frameBytes to fill, waiting while the consumer holds them all; null once
    // the consumer has failed (Error says why) or the queue is closed.
    uint8_t* Acquire();
    // Queues the buffer of the last Acquire as this frame.
    void Submit(const PlannedFrame& frame);
    // Waits until every queued frame is consumed, then ends the thread. False with the
    // consumer's error. Safe to repeat.
    bool Close(std::string* error);
    std::string Error() const;

private:
    void Work();

    Consumer m_consume;
    std::vector<std::vector<uint8_t>> m_storage;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<uint8_t*> m_free;
    uint8_t* m_filling = nullptr;  // acquired, not yet submitted
    std::deque<std::pair<PlannedFrame, uint8_t*>> m_queued;
    bool m_closing = false;
    bool m_failed = false;
    std::string m_error;
    std::thread m_thread;
};
