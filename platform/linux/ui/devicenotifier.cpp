// The video node watch on the Qt event loop, with a settling timer.
#include "platform/linux/ui/devicenotifier.h"

#include "platform/framework.h"
#include "platform/linux/v4l2/nodewatch.h"

#include <QSocketNotifier>
#include <QTimer>

#include <memory>
#include <utility>

namespace {

// Long enough to take in udevd's changes to a node it was told of, short
// enough that the list follows a plug at once for the user.
constexpr int kSettleMs = 300;

class CDeviceNotifier : public QObject {
public:
    CDeviceNotifier(QObject* parent, std::function<void(UINT)> deliver)
        : QObject(parent), m_deliver(std::move(deliver)) {
        m_settle.setSingleShot(true);
        m_settle.setInterval(kSettleMs);
        connect(&m_settle, &QTimer::timeout, this, [this] {
            const int changes = std::exchange(m_changes, 0);
            // Nodes that only went are a removal; anything else may have
            // made a camera usable.
            const int comeOrGone = CVideoNodeWatch::kNodeAdded | CVideoNodeWatch::kNodeRemoved;
            m_deliver((changes & comeOrGone) == CVideoNodeWatch::kNodeRemoved
                          ? DBT_DEVICEREMOVECOMPLETE
                          : DBT_DEVICEARRIVAL);
        });
        if (m_watch.Fd() < 0)
            return;
        m_readable = std::make_unique<QSocketNotifier>(m_watch.Fd(), QSocketNotifier::Read);
        connect(m_readable.get(), &QSocketNotifier::activated, this, [this] {
            const int changes = m_watch.ReadChanges();
            if (changes == 0)
                return;
            m_changes |= changes;
            m_settle.start(); // each change of the burst starts the wait again
        });
    }

private:
    std::function<void(UINT)> m_deliver;
    CVideoNodeWatch m_watch;
    // Declared after the watch, so it stops watching before the descriptor closes.
    std::unique_ptr<QSocketNotifier> m_readable;
    QTimer m_settle;
    int m_changes = 0;
};

} // namespace

QObject* CreateDeviceNotifier(QObject* parent, std::function<void(UINT event)> deliver) {
    return new CDeviceNotifier(parent, std::move(deliver));
}
