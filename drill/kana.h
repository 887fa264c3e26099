#pragma once

// The kana the drill asks: 71 characters in both scripts, selected by one kana
// index 1..71, and the flags that record which of them a session has seen
// answered correctly.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace drill {

inline constexpr int kSlotCount = 76;   // slots 0..75; only 1..71 hold kana
inline constexpr int kKanaCount = 71;   // kana indices 1..71
inline constexpr int kFirstVoiced = 47; // が: 47..66 voiced, 67..71 half-voiced

// A fixed table of 76 slots whose every access is checked: an index outside
// 0..75 is a programming error and throws std::out_of_range instead of reading
// or writing memory that is not the table's.
template <typename T> class Slots
{
public:
    T &operator[](int index) { return slots_.at(checked(index)); }
    const T &operator[](int index) const { return slots_.at(checked(index)); }

private:
    static std::size_t checked(int index)
    {
        if (index < 0 || index >= kSlotCount) {
            throw std::out_of_range("kana slot index " + std::to_string(index) +
                                    " is outside 0..75");
        }
        return static_cast<std::size_t>(index);
    }
    std::array<T, kSlotCount> slots_{};
};

// The two parallel kana tables of one practice window.
struct KanaTables
{
    Slots<std::string> HiraganaTable; // UTF-8, one character per filled slot
    Slots<std::string> KatakanaTable;

    // Fills slots 1..71 of both tables in kana-index order.
    void Load();
};

// The kana of one index in the fixed drill order, as UTF-8; throws for an
// index outside 1..71.
std::string_view hiraganaAt(int kanaIndex);
std::string_view katakanaAt(int kanaIndex);

} // namespace drill
