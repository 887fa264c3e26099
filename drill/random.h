#pragma once

// Where the drill's random numbers come from. The session asks for a fresh
// seed at the two moments a new question is chosen (Start and each advance),
// then draws uniform numbers in [0, 1). Tests pass a scripted source so that
// every question of a scenario is known in advance.

#include <cstdint>
#include <functional>
#include <random>

namespace drill {

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual void reseed() = 0;
    // A uniform number r with 0 <= r < 1.
    virtual double next() = 0;
};

// The program's source: a Mersenne Twister reseeded from a clock that is
// passed in (nanoseconds), so that even it can be driven from a test.
class ClockRandom final : public RandomSource
{
public:
    using Clock = std::function<std::uint64_t()>;
    explicit ClockRandom(Clock clock = systemClock());
    void reseed() override;
    double next() override;

    static Clock systemClock();

private:
    Clock clock_;
    std::mt19937_64 engine_;
    std::uint64_t reseeds_ = 0;
};

} // namespace drill
