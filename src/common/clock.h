#pragma once

#include <QDateTime>

// The time the program reads: the system clock, or a fixed time in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // The process-wide clock; the system clock unless a test sets another.
    static const Clock &current();
    // Sets the process-wide clock; nullptr restores the system clock.
    static void setCurrent(const Clock *clock);
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at)
        : m_at(std::move(at))
    {
    }
    QDateTime now() const override { return m_at; }
    void set(QDateTime at) { m_at = std::move(at); }

private:
    QDateTime m_at;
};
