// Ticking the elapsed-seconds count.
#include "elapsedclock.h"

namespace zarquel {

bool ElapsedClock::tick()
{
    if (seconds_ == Top)
        return false;
    ++seconds_;
    return true;
}

} // namespace zarquel
