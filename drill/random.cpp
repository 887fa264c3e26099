#include "random.h"

#include <chrono>

namespace drill {

ClockRandom::ClockRandom(Clock clock) : clock_(std::move(clock))
{
    reseed();
}

void ClockRandom::reseed()
{
    // Two reseeds within one clock step must still give different streams, so
    // the count of reseeds is mixed into the seed.
    const std::uint64_t now = clock_();
    ++reseeds_;
    std::seed_seq seq{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                      static_cast<std::uint32_t>(reseeds_)};
    engine_.seed(seq);
}

double ClockRandom::next()
{
    return std::generate_canonical<double, 53>(engine_) * (1.0 - 0x1p-53); // never exactly 1
}

ClockRandom::Clock ClockRandom::systemClock()
{
    return [] {
        return static_cast<std::uint64_t>(
            std::chrono::system_clock::now().time_since_epoch().count());
    };
}

} // namespace drill
