#include "drill/kana.h"
#include "named_rows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace drill {
namespace {

struct KanaRow
{
    const char *name;
    int index;
    const char *hiragana;
    const char *katakana;
};

class KanaOrder : public ::testing::TestWithParam<KanaRow>
{
};

TEST_P(KanaOrder, LoadPutsEachKanaAtItsIndex)
{
    KanaTables tables;
    tables.Load();
    const KanaRow &row = GetParam();
    EXPECT_EQ(tables.HiraganaTable[row.index], row.hiragana);
    EXPECT_EQ(tables.KatakanaTable[row.index], row.katakana);
    EXPECT_EQ(hiraganaAt(row.index), row.hiragana);
    EXPECT_EQ(katakanaAt(row.index), row.katakana);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KanaOrder,
    ::testing::Values(KanaRow{"first", 1, "あ", "ア"}, KanaRow{"end_of_a_row", 5, "お", "オ"},
                      KanaRow{"ka", 6, "か", "カ"}, KanaRow{"mo", 35, "も", "モ"},
                      KanaRow{"ya", 36, "や", "ヤ"}, KanaRow{"yo", 38, "よ", "ヨ"},
                      KanaRow{"ra", 39, "ら", "ラ"}, KanaRow{"ro", 43, "ろ", "ロ"},
                      KanaRow{"wa", 44, "わ", "ワ"}, KanaRow{"wo", 45, "を", "ヲ"},
                      KanaRow{"n", 46, "ん", "ン"}, KanaRow{"first_voiced", 47, "が", "ガ"},
                      KanaRow{"di", 58, "ぢ", "ヂ"}, KanaRow{"bo", 66, "ぼ", "ボ"},
                      KanaRow{"first_half_voiced", 67, "ぱ", "パ"},
                      KanaRow{"last", 71, "ぽ", "ポ"}),
    [](const auto &info) { return std::string(info.param.name); });

// Decodes one UTF-8 string into code points; fails the test on bad UTF-8.
std::u32string decode(const std::string &s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(s.at(i + k)) & 0x3F);
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

TEST(KanaTables, EveryEntryIsOneKanaAndBothScriptsAreDistinct)
{
    KanaTables tables;
    tables.Load();
    std::set<std::string> hiragana;
    std::set<std::string> katakana;
    for (int i = 1; i <= kKanaCount; ++i) {
        const std::u32string h = decode(tables.HiraganaTable[i]);
        const std::u32string k = decode(tables.KatakanaTable[i]);
        ASSERT_EQ(h.size(), 1u) << "hiragana " << i;
        ASSERT_EQ(k.size(), 1u) << "katakana " << i;
        EXPECT_TRUE(h[0] >= U'\u3041' && h[0] <= U'\u3093') << i; // one BMP code unit each
        EXPECT_TRUE(k[0] >= U'\u30A1' && k[0] <= U'\u30F3') << i;
        // The katakana block mirrors the hiragana block at a fixed distance.
        EXPECT_EQ(k[0] - h[0], 0x60) << i;
        hiragana.insert(tables.HiraganaTable[i]);
        katakana.insert(tables.KatakanaTable[i]);
    }
    EXPECT_EQ(hiragana.size(), 71u);
    EXPECT_EQ(katakana.size(), 71u);
}

TEST(KanaTables, UnusedSlotsStayEmpty)
{
    KanaTables tables;
    tables.Load();
    for (int i : {0, 72, 73, 74, 75}) {
        EXPECT_TRUE(tables.HiraganaTable[i].empty()) << i;
        EXPECT_TRUE(tables.KatakanaTable[i].empty()) << i;
    }
}

TEST(KanaTables, AccessOutsideTheSlotsThrows)
{
    KanaTables tables;
    for (int i : {-1, 76, 1000}) {
        EXPECT_THROW((void)tables.HiraganaTable[i], std::out_of_range) << i;
        EXPECT_THROW((void)tables.KatakanaTable[i], std::out_of_range) << i;
    }
    EXPECT_THROW((void)hiraganaAt(0), std::out_of_range);
    EXPECT_THROW((void)katakanaAt(72), std::out_of_range);
}

} // namespace
} // namespace drill
