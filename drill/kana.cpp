#include "kana.h"

namespace drill {
namespace {

// The kana in index order, five to a consonant group as in the traditional
// table: a ka sa ta na ha ma, ya (3), ra, wa (3), then the voiced ga za da ba
// and the half-voiced pa.
constexpr std::array<std::string_view, kKanaCount> kHiragana = {
    "あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ",
    "た", "ち", "つ", "て", "と", "な", "に", "ぬ", "ね", "の", "は", "ひ", "ふ", "へ", "ほ",
    "ま", "み", "む", "め", "も", "や", "ゆ", "よ", "ら", "り", "る", "れ", "ろ", "わ", "を",
    "ん", "が", "ぎ", "ぐ", "げ", "ご", "ざ", "じ", "ず", "ぜ", "ぞ", "だ", "ぢ", "づ", "で",
    "ど", "ば", "び", "ぶ", "べ", "ぼ", "ぱ", "ぴ", "ぷ", "ぺ", "ぽ"};

constexpr std::array<std::string_view, kKanaCount> kKatakana = {
    "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ", "ソ",
    "タ", "チ", "ツ", "テ", "ト", "ナ", "ニ", "ヌ", "ネ", "ノ", "ハ", "ヒ", "フ", "ヘ", "ホ",
    "マ", "ミ", "ム", "メ", "モ", "ヤ", "ユ", "ヨ", "ラ", "リ", "ル", "レ", "ロ", "ワ", "ヲ",
    "ン", "ガ", "ギ", "グ", "ゲ", "ゴ", "ザ", "ジ", "ズ", "ゼ", "ゾ", "ダ", "ヂ", "ヅ", "デ",
    "ド", "バ", "ビ", "ブ", "ベ", "ボ", "パ", "ピ", "プ", "ペ", "ポ"};

std::size_t kanaPosition(int kanaIndex)
{
    if (kanaIndex < 1 || kanaIndex > kKanaCount) {
        throw std::out_of_range("kana index " + std::to_string(kanaIndex) + " is outside 1..71");
    }
    return static_cast<std::size_t>(kanaIndex - 1);
}

} // namespace

std::string_view hiraganaAt(int kanaIndex)
{
    return kHiragana[kanaPosition(kanaIndex)];
}
std::string_view katakanaAt(int kanaIndex)
{
    return kKatakana[kanaPosition(kanaIndex)];
}

void KanaTables::Load()
{
    for (int i = 1; i <= kKanaCount; ++i) {
        HiraganaTable[i] = hiraganaAt(i);
        KatakanaTable[i] = katakanaAt(i);
    }
}

} // namespace drill
