// The live writes of a property frame. Writes run on the user interface's
// thread, one per turn of its event loop, so the frame never stalls for
// longer than one write; a row that was just written waits a pace before
// the next, and only its latest request is written then, so a slider dragged
// across its range costs a bounded number of writes, and the last position
// always lands.
#pragma once

#include "platform/linux/ui/propertyrow.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

class CPropertyWriter : public QObject {
public:
    // The least time from the end of a row's write to the start of its next.
    static constexpr int kPaceMs = 50;

    // written runs after every write with the row and the Set's status (or
    // the read-back's, when the camera left in between).
    explicit CPropertyWriter(std::function<void(CPropertyRow*, HRESULT)> written);

    // Schedules the row's pending request.
    void Request(CPropertyRow* row);
    // Runs action once nothing is pending any more: at once when nothing is.
    // Actions run in the order they were given, each after the writes the
    // one before it asked for.
    void WhenIdle(std::function<void()> action);
    // Nothing more is written, whatever is pending.
    void Stop();

private:
    void DropSettled();
    void Schedule();
    void WriteNext();

    std::function<void(CPropertyRow*, HRESULT)> m_written;
    std::deque<CPropertyRow*> m_queue; // rows in the order they asked
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::deque<std::function<void()>> m_whenIdle;
    bool m_stopped = false;
    bool m_scheduling = false;
};
