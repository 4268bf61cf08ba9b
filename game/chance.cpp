// The real random generator and the real time of day.
#include "chance.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>

namespace zarquel {

void StandardRandomSource::reseed(float seed)
{
    // The float's own bits, copied rather than std::bit_cast: not every libc++ has it yet.
    static_assert(sizeof(std::uint32_t) == sizeof(float));
    std::uint32_t bits = 0;
    std::memcpy(&bits, &seed, sizeof bits);
    std::seed_seq sequence {bits};
    engine_.seed(sequence);
}

float StandardRandomSource::next()
{
    // The top 24 bits fill a float's mantissa exactly, so 1.0 can never come
    // out (std::generate_canonical<float> can round up to it).
    return static_cast<float>(engine_() >> 8) * 0x1p-24f;
}

float SystemTimeOfDay::secondsSinceMidnight() const
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &whole);
#else
    localtime_r(&whole, &local);
#endif
    const auto fraction = duration<double>(now - system_clock::from_time_t(whole)).count();
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
    return static_cast<float>(seconds);
}

const TimeOfDay& systemTimeOfDay()
{
    static const SystemTimeOfDay clock;
    return clock;
}

} // namespace zarquel
