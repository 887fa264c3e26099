#pragma once

// A random source for tests: hands out the numbers it was given, in order,
// then a fixed deterministic sequence, and counts the reseeds it is asked for.

#include "drill/random.h"

#include <cstddef>
#include <deque>

namespace drill::testing {

class ScriptedRandom final : public RandomSource
{
public:
    explicit ScriptedRandom(std::deque<double> script = {}) : script_(std::move(script)) {}

    void push(double r) { script_.push_back(r); }
    // The number that makes a uniform draw over `count` choices take choice
    // `position` (0-based).
    static double forChoice(int position, int count) { return (position + 0.5) / count; }

    void reseed() override { ++reseeds; }
    double next() override
    {
        if (!script_.empty()) {
            const double r = script_.front();
            script_.pop_front();
            return r;
        }
        // After the script: a fixed Weyl sequence, spread evenly over [0, 1).
        fallback_ += 0.6180339887498949;
        fallback_ -= static_cast<double>(static_cast<long long>(fallback_));
        return fallback_;
    }

    std::size_t reseeds = 0;

private:
    std::deque<double> script_;
    double fallback_ = 0.0;
};

} // namespace drill::testing
