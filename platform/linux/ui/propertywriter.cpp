// The paced queue of a property frame's writes.
#include "platform/linux/ui/propertywriter.h"

#include <algorithm>
#include <utility>

CPropertyWriter::CPropertyWriter(std::function<void(CPropertyRow*, HRESULT)> written)
    : m_written(std::move(written)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { WriteNext(); });
    m_clock.start();
}

void CPropertyWriter::Request(CPropertyRow* row) {
    if (m_stopped)
        return;
    if (std::find(m_queue.begin(), m_queue.end(), row) == m_queue.end())
        m_queue.push_back(row);
    if (!m_scheduling)
        Schedule();
}

void CPropertyWriter::WhenIdle(std::function<void()> action) {
    m_whenIdle.push_back(std::move(action));
    if (!m_scheduling)
        Schedule();
}

void CPropertyWriter::Stop() {
    m_stopped = true;
    m_timer.stop();
    m_queue.clear();
    m_whenIdle.clear();
}

void CPropertyWriter::DropSettled() {
    // A slider moved back to the value last written needs no write.
    m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                 [](const CPropertyRow* row) { return !row->Pending(); }),
                  m_queue.end());
}

void CPropertyWriter::Schedule() {
    m_scheduling = true;
    DropSettled();
    while (!m_stopped && m_queue.empty() && !m_whenIdle.empty()) {
        std::function<void()> action = std::move(m_whenIdle.front());
        m_whenIdle.pop_front();
        action();
        DropSettled();
    }
    m_scheduling = false;
    if (m_stopped || m_queue.empty()) {
        m_timer.stop();
        return;
    }
    const qint64 now = m_clock.elapsed();
    qint64 wait = kPaceMs;
    for (const CPropertyRow* row : m_queue)
        wait = std::min(wait, row->LastWriteEnd() + kPaceMs - now);
    // Even a write that may go at once waits for the next turn of the event
    // loop, so input and painting come between any two writes.
    m_timer.start(static_cast<int>(std::max<qint64>(0, wait)));
}

void CPropertyWriter::WriteNext() {
    if (m_stopped)
        return;
    DropSettled();
    const qint64 now = m_clock.elapsed();
    const auto ready = std::find_if(m_queue.begin(), m_queue.end(), [now](const CPropertyRow* row) {
        return row->LastWriteEnd() + kPaceMs <= now;
    });
    if (ready != m_queue.end()) {
        CPropertyRow* row = *ready;
        m_queue.erase(ready);
        const HRESULT hr = row->Write();
        row->SetLastWriteEnd(m_clock.elapsed());
        // Stopped before anyone hears of it: a message box about it runs an
        // event loop, in which nothing more may be written.
        if (IsDeviceGone(hr))
            Stop();
        m_written(row, hr);
    }
    if (!m_stopped)
        Schedule();
}
