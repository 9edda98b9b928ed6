#include "framequeue.h"

#include <exception>

FrameQueue::FrameQueue(size_t frameBytes, int buffers, Consumer consume)
    : m_consume(std::move(consume)) {
    m_storage.resize(static_cast<size_t>(buffers < 1 ? 1 : buffers));
    for (std::vector<uint8_t>& buffer : m_storage) {
        buffer.resize(frameBytes);
        m_free.push_back(buffer.data());
    }
    m_thread = std::thread(&FrameQueue::Work, this);
}

FrameQueue::~FrameQueue() {
    std::string ignored;
    Close(&ignored);
}

uint8_t* FrameQueue::Acquire() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_free.empty() || m_failed || m_closing; });
    if (m_failed || m_closing) return nullptr;
    m_filling = m_free.back();
    m_free.pop_back();
    return m_filling;
}

void FrameQueue::Submit(const PlannedFrame& frame) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_filling) return;
        m_queued.emplace_back(frame, m_filling);
        m_filling = nullptr;
    }
    m_changed.notify_all();
}

bool FrameQueue::Close(std::string* error) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_failed) *error = m_error;
    return !m_failed;
}

std::string FrameQueue::Error() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

void FrameQueue::Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [&] { return !m_queued.empty() || m_closing; });
        if (m_queued.empty()) return;  // closing with nothing left
        std::pair<PlannedFrame, uint8_t*> item = m_queued.front();
        m_queued.pop_front();
        bool ok = true;
        std::string error;
        if (!m_failed) {
            lock.unlock();
            try {
                ok = m_consume(item.first, item.second, &error);
            } catch (const std::exception& e) {
                ok = false;
                error = e.what();
            }
            lock.lock();
        }
        m_free.push_back(item.second);
        if (!ok && !m_failed) {
            m_failed = true;
            m_error = error;
        }
        m_changed.notify_all();
    }
}
