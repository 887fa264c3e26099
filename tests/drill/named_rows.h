#pragma once

// Parameter rows print as their names, so that test names stay readable.

#include <ostream>

// In the unnamed namespace of drill, where the tests' rows live, so that
// argument-dependent lookup finds it.
namespace drill {
namespace {

template <typename Row>
requires requires(const Row &row)
{
    row.name;
}
std::ostream &operator<<(std::ostream &os, const Row &row)
{
    return os << row.name;
}

} // namespace
} // namespace drill
