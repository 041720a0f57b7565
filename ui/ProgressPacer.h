#pragma once

#include <QtGlobal>

// Decides when a long command lets its progress window paint. Painting after every row
// would cost more than the rows themselves on a large base; never painting would leave a
// frozen window. So: paint once what the bar shows has changed, and no oftener than once
// per interval (a change within the interval is painted at the next chance after it).
class ProgressPacer
{
public:
    explicit ProgressPacer(qint64 intervalMs = 20) : m_intervalMs(intervalMs) {}

    // `shownChanged`: the last value changed what the bar shows; `nowMs`: a monotonic
    // clock. Returns true when the window should paint now.
    bool shouldPaint(bool shownChanged, qint64 nowMs)
    {
        m_pending = m_pending || shownChanged;
        if (!m_pending || (m_painted && nowMs - m_lastPaintMs < m_intervalMs))
            return false;
        m_pending = false;
        m_painted = true;
        m_lastPaintMs = nowMs;
        return true;
    }

private:
    qint64 m_intervalMs;
    qint64 m_lastPaintMs = 0;
    bool m_painted = false;
    bool m_pending = false;
};
