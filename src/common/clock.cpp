#include "common/clock.h"

namespace {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

const SystemClock systemClock;
const Clock *currentClock = &systemClock;

} // namespace

const Clock &Clock::current()
{
    return *currentClock;
}

void Clock::setCurrent(const Clock *clock)
{
    currentClock = clock ? clock : &systemClock;
}
