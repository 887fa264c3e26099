#include "drill/session.h"
#include "named_rows.h"
#include "scripted_random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>

namespace drill {
namespace {

using testing::ScriptedRandom;

namespace Option { // the window's options' question counts
constexpr int All = 71, Half = 30, Few = 15;
} // namespace Option

class SessionTest : public ::testing::Test
{
protected:
    ScriptedRandom random;
    Session session{Direction::HiraganaShown, random};
    const WindowState &state = session.state();

    void judge()
    {
        session.JudgeTick();
        session.JudgeTick();
    }
    void answerCorrectly()
    {
        session.Press(session.CurrentIndex);
        judge();
    }
    int wrongIndex() const { return session.CurrentIndex == 1 ? 2 : 1; }
    void answerWrongly()
    {
        session.Press(wrongIndex());
        judge();
    }
    int score() const { return std::stoi(state.score); }
};

TEST_F(SessionTest, LoadShowsTheDesignState)
{
    EXPECT_EQ(state.question, "");
    EXPECT_EQ(state.answer, "");
    EXPECT_EQ(state.score, "0");
    EXPECT_EQ(state.seconds, "0");
    EXPECT_EQ(state.resultSeconds, "");
    EXPECT_EQ(state.resultScore, "");
    EXPECT_TRUE(state.chartEnabled);
    EXPECT_TRUE(state.startEnabled());
    EXPECT_FALSE(state.stopEnabled());
    for (int i = 1; i <= kKanaCount; ++i) {
        EXPECT_FALSE(state.answered[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(state.circleVisible);
    EXPECT_FALSE(state.crossVisible);
    EXPECT_FALSE(state.resultsVisible);
    EXPECT_FALSE(state.running());
}

struct OptionRow
{
    const char *name;
    int option;
    int total;
};

class StartOption : public SessionTest, public ::testing::WithParamInterface<OptionRow>
{
};

TEST_P(StartOption, StartAsksTheFirstQuestionOfTheChosenLength)
{
    random.push(ScriptedRandom::forChoice(6, 71)); // kana index 7, き
    session.Start(GetParam().option);
    EXPECT_EQ(session.QuestionTotal, GetParam().total);
    EXPECT_EQ(session.QuestionNumber, 1);
    EXPECT_EQ(session.QuestionPoints, 10);
    EXPECT_EQ(session.CurrentIndex, 7);
    EXPECT_EQ(state.question, "き");
    EXPECT_EQ(state.score, "0");
    EXPECT_EQ(state.seconds, "0");
    EXPECT_FALSE(state.startEnabled());
    EXPECT_TRUE(state.stopEnabled());
    EXPECT_TRUE(state.running());
    EXPECT_EQ(random.reseeds, 1u);
}

INSTANTIATE_TEST_SUITE_P(Options, StartOption,
                         ::testing::Values(OptionRow{"all", Option::All, 71},
                                           OptionRow{"half", Option::Half, 30},
                                           OptionRow{"few", Option::Few, 15}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionTest, FirstDrawCanYieldEveryKana)
{
    for (int k = 1; k <= kKanaCount; ++k) {
        session.Load();
        random.push(ScriptedRandom::forChoice(k - 1, 71));
        session.Start(Option::Few);
        EXPECT_EQ(session.CurrentIndex, k);
        session.Stop();
    }
}

TEST_F(SessionTest, RandomNumbersAtTheEdgesOfTheRangeStillGiveAValidKana)
{
    const double below1 = std::nextafter(1.0, 0.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, int> cases[] = {{0.0, 1}, {below1, 71}, {1.0, 71}, {-0.5, 1}, {nan, 1}};
    for (const auto &[r, expected] : cases) {
        session.Load();
        random.push(r);
        session.Start(Option::Few);
        EXPECT_EQ(session.CurrentIndex, expected) << r;
        session.Stop();
    }
}

TEST_F(SessionTest, PerfectFifteenQuestionSessionEndsWith150)
{
    session.Start(Option::Few);
    for (int q = 1; q <= 15; ++q) {
        ASSERT_TRUE(session.running()) << q;
        EXPECT_EQ(session.QuestionNumber, q);
        session.Press(session.CurrentIndex);
        session.ClockTick();
        session.ClockTick();
        judge();
    }
    EXPECT_EQ(state.score, "150");
    EXPECT_EQ(state.seconds, "30");
    EXPECT_TRUE(state.resultsVisible);
    EXPECT_EQ(state.resultSeconds, "30");
    EXPECT_EQ(state.resultScore, "150");
    EXPECT_FALSE(state.running());
    // The finished window keeps Stop enabled and Start disabled, and has a
    // further question on display with the chart enabled again.
    EXPECT_TRUE(state.stopEnabled());
    EXPECT_FALSE(state.startEnabled());
    EXPECT_TRUE(state.chartEnabled);
    EXPECT_EQ(state.question, session.questionKana(session.CurrentIndex));
    EXPECT_FALSE(state.answered[static_cast<std::size_t>(session.CurrentIndex)]);
    // The clock has stopped.
    session.ClockTick();
    EXPECT_EQ(state.seconds, "30");
}

struct WrongPressRow
{
    const char *name;
    int wrongPresses;
    int points;
};

class WrongPresses : public SessionTest, public ::testing::WithParamInterface<WrongPressRow>
{
};

TEST_P(WrongPresses, EachWrongPressHalvesWhatTheQuestionIsWorth)
{
    session.Start(Option::Few);
    const int question = session.CurrentIndex;
    for (int i = 0; i < GetParam().wrongPresses; ++i) {
        answerWrongly();
        ASSERT_EQ(session.CurrentIndex, question) << "a wrong answer keeps the question";
    }
    answerCorrectly();
    EXPECT_EQ(score(), GetParam().points);
    EXPECT_EQ(session.QuestionNumber, 2);
    EXPECT_EQ(session.QuestionPoints, 10);
}

INSTANTIATE_TEST_SUITE_P(Halving, WrongPresses,
                         ::testing::Values(WrongPressRow{"none", 0, 10}, WrongPressRow{"one", 1, 5},
                                           WrongPressRow{"two", 2, 2}, WrongPressRow{"three", 3, 1},
                                           WrongPressRow{"four", 4, 0},
                                           WrongPressRow{"seven", 7, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionTest, WrongPressShowsTheCrossAndThePressedKanaUntilJudged)
{
    random.push(ScriptedRandom::forChoice(0, 71)); // あ
    session.Start(Option::Few);
    session.Press(6); // カ
    EXPECT_EQ(state.answer, "カ");
    EXPECT_TRUE(state.crossVisible);
    EXPECT_FALSE(state.circleVisible);
    EXPECT_FALSE(state.chartEnabled);
    EXPECT_FALSE(state.answered[6]);
    judge();
    EXPECT_FALSE(state.crossVisible);
    EXPECT_EQ(state.answer, "");
    EXPECT_TRUE(state.chartEnabled);
    EXPECT_EQ(state.question, "あ");
}

TEST_F(SessionTest, CorrectPressMarksTheKanaAnsweredUntilTheNextStart)
{
    random.push(ScriptedRandom::forChoice(42, 71)); // ろ
    session.Start(Option::Few);
    session.Press(43);
    EXPECT_EQ(state.answer, "ロ");
    EXPECT_TRUE(state.circleVisible);
    EXPECT_FALSE(state.crossVisible);
    EXPECT_TRUE(state.answered[43]);
    EXPECT_EQ(state.score, "10");
    judge();
    EXPECT_FALSE(state.circleVisible);
    EXPECT_TRUE(state.answered[43]);
    session.Stop();
    EXPECT_TRUE(state.answered[43]);
    session.Again();
    EXPECT_TRUE(state.answered[43]);
    session.Start(Option::Few);
    for (int i = 1; i <= kKanaCount; ++i) {
        EXPECT_FALSE(state.answered[static_cast<std::size_t>(i)]) << i;
    }
}

// Whether a case presses the question's own kana or another.
struct PressRow
{
    const char *name;
    bool correct;
};

class JudgeTicks : public SessionTest, public ::testing::WithParamInterface<PressRow>
{
};

TEST_P(JudgeTicks, OnlyTheSecondTickAfterAPressJudgesIt)
{
    session.Start(Option::Few);
    const int question = session.CurrentIndex;
    session.Press(GetParam().correct ? question : wrongIndex());
    const auto countdownStarts = state.judgeCountdownStarts;
    session.JudgeTick();
    EXPECT_EQ(session.JudgeTicks, 1);
    EXPECT_FALSE(state.chartEnabled) << "tick 1 does nothing";
    EXPECT_EQ(state.circleVisible || state.crossVisible, true);
    session.JudgeTick();
    EXPECT_EQ(session.JudgeTicks, 2);
    EXPECT_TRUE(state.chartEnabled) << "tick 2 judges";
    EXPECT_EQ(session.QuestionNumber, GetParam().correct ? 2 : 1);
    const int points = session.QuestionPoints;
    const auto label1 = state.question;
    for (int i = 0; i < 5; ++i) {
        session.JudgeTick(); // ticks 3.. do nothing
    }
    EXPECT_EQ(session.QuestionNumber, GetParam().correct ? 2 : 1);
    EXPECT_EQ(session.QuestionPoints, points);
    EXPECT_EQ(state.question, label1);
    EXPECT_EQ(state.judgeCountdownStarts, countdownStarts);
}

INSTANTIATE_TEST_SUITE_P(Presses, JudgeTicks,
                         ::testing::Values(PressRow{"correct", true}, PressRow{"wrong", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionTest, PressRestartsTheJudgeCountdown)
{
    session.Start(Option::Few);
    const auto afterStart = state.judgeCountdownStarts;
    session.JudgeTick();
    session.Press(wrongIndex());
    EXPECT_EQ(state.judgeCountdownStarts, afterStart + 1);
    EXPECT_EQ(session.JudgeTicks, 0);
}

TEST_F(SessionTest, NoJudgementWithoutAPress)
{
    session.Start(Option::Few);
    const int question = session.CurrentIndex;
    for (int i = 0; i < 600; ++i) { // ten minutes of thinking
        session.JudgeTick();
        session.ClockTick();
    }
    EXPECT_EQ(session.CurrentIndex, question);
    EXPECT_EQ(session.QuestionPoints, 10);
    EXPECT_TRUE(state.chartEnabled);
    EXPECT_FALSE(state.crossVisible);
    answerCorrectly();
    EXPECT_EQ(state.score, "10");
    EXPECT_EQ(state.seconds, "600");
}

struct IdleRow
{
    const char *name;
    std::function<void(SessionTest &, Session &)> setUp;
};

class PressOutsideASession : public SessionTest, public ::testing::WithParamInterface<IdleRow>
{
};

TEST_P(PressOutsideASession, DoesNothing)
{
    GetParam().setUp(*this, session);
    const WindowState before = state;
    const int pressed = session.PressedIndex;
    for (int k : {1, 43, 71, session.CurrentIndex == 0 ? 5 : session.CurrentIndex}) {
        session.Press(k);
    }
    // Nothing was set in motion either: the judge timer's ticks change
    // nothing, unless a press was already waiting before.
    if (!before.crossVisible && !before.circleVisible) {
        session.JudgeTick();
        session.JudgeTick();
    }
    EXPECT_EQ(state.question, before.question);
    EXPECT_EQ(state.answer, before.answer);
    EXPECT_EQ(state.score, before.score);
    EXPECT_EQ(state.chartEnabled, before.chartEnabled);
    EXPECT_EQ(state.crossVisible, before.crossVisible);
    EXPECT_EQ(state.circleVisible, before.circleVisible);
    EXPECT_EQ(state.answered, before.answered);
    EXPECT_EQ(state.resultScore, before.resultScore);
    EXPECT_EQ(session.PressedIndex, pressed);
}

INSTANTIATE_TEST_SUITE_P(States, PressOutsideASession,
                         ::testing::Values(IdleRow{"before_the_first_start",
                                                   [](SessionTest &, Session &) {}},
                                           IdleRow{"after_stop",
                                                   [](SessionTest &, Session &s) {
                                                       s.Start(Option::Few);
                                                       s.Stop();
                                                   }},
                                           IdleRow{"after_again",
                                                   [](SessionTest &, Session &s) {
                                                       s.Start(Option::Few);
                                                       s.Stop();
                                                       s.Again();
                                                   }},
                                           IdleRow{"after_the_last_answer",
                                                   [](SessionTest &, Session &s) {
                                                       s.Start(Option::Few);
                                                       for (int q = 0; q < 15; ++q) {
                                                           s.Press(s.CurrentIndex);
                                                           s.JudgeTick();
                                                           s.JudgeTick();
                                                       }
                                                   }},
                                           IdleRow{"while_a_press_waits",
                                                   [](SessionTest &, Session &s) {
                                                       s.Start(Option::Few);
                                                       s.Press(s.CurrentIndex == 9 ? 8 : 9);
                                                   }}),
                         [](const auto &info) { return std::string(info.param.name); });

class StopDuringJudgement : public SessionTest, public ::testing::WithParamInterface<PressRow>
{
};

TEST_P(StopDuringJudgement, NextStartBeginsClean)
{
    session.Start(Option::Few);
    session.Press(GetParam().correct ? session.CurrentIndex : wrongIndex());
    session.JudgeTick();
    session.Stop();
    EXPECT_FALSE(state.running());
    EXPECT_FALSE(state.circleVisible);
    EXPECT_FALSE(state.chartEnabled) << "stop leaves the chart as it is";
    EXPECT_EQ(state.crossVisible, !GetParam().correct) << "and a cross on display";
    EXPECT_TRUE(state.resultsVisible);
    session.Again();

    random.push(ScriptedRandom::forChoice(20, 71)); // な
    session.Start(Option::Half);
    EXPECT_EQ(session.JudgeTicks, 0);
    EXPECT_EQ(session.PressedIndex, 0);
    EXPECT_FALSE(state.crossVisible);
    EXPECT_FALSE(state.circleVisible);
    EXPECT_TRUE(state.chartEnabled);
    for (int i = 0; i < 4; ++i) {
        session.JudgeTick();
    }
    EXPECT_EQ(session.CurrentIndex, 21);
    EXPECT_EQ(session.QuestionNumber, 1);
    EXPECT_EQ(session.QuestionPoints, 10);
    EXPECT_TRUE(state.chartEnabled);
}

INSTANTIATE_TEST_SUITE_P(Presses, StopDuringJudgement,
                         ::testing::Values(PressRow{"after_a_correct_press", true},
                                           PressRow{"after_a_wrong_press", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionTest, StopShowsTheResultsAndLeavesScoreAndTime)
{
    session.Start(Option::All);
    answerCorrectly();
    answerWrongly();
    answerCorrectly();
    for (int i = 0; i < 7; ++i) {
        session.ClockTick();
    }
    session.Stop();
    EXPECT_EQ(state.question, "");
    EXPECT_EQ(state.answer, "");
    EXPECT_EQ(state.score, "15");
    EXPECT_EQ(state.seconds, "7");
    EXPECT_EQ(state.resultSeconds, "7");
    EXPECT_EQ(state.resultScore, "15");
    EXPECT_TRUE(state.resultsVisible);
    EXPECT_TRUE(state.startEnabled());
    EXPECT_FALSE(state.stopEnabled());
    EXPECT_FALSE(state.running());
    session.ClockTick();
    EXPECT_EQ(state.seconds, "7");
    session.Again();
    EXPECT_FALSE(state.resultsVisible);
    EXPECT_TRUE(state.startEnabled());
    EXPECT_EQ(state.resultScore, "15");
}

TEST_F(SessionTest, AgainAfterTheLastAnswerStopsAndHidesTheResults)
{
    session.Start(Option::Few);
    for (int q = 0; q < 15; ++q) {
        answerCorrectly();
    }
    ASSERT_TRUE(state.resultsVisible);
    session.Again();
    EXPECT_FALSE(state.resultsVisible);
    EXPECT_TRUE(state.startEnabled());
    EXPECT_FALSE(state.stopEnabled());
    EXPECT_EQ(state.question, "");
    EXPECT_EQ(state.score, "150");
}

TEST_F(SessionTest, AgainOrStopWithoutResultsOrSessionDoesNothing)
{
    session.Again();
    session.Stop();
    EXPECT_FALSE(state.resultsVisible);
    EXPECT_EQ(state.resultSeconds, "");
    EXPECT_TRUE(state.startEnabled());
}

TEST_F(SessionTest, StartWhileRunningIsIgnored)
{
    session.Start(Option::Few);
    const int question = session.CurrentIndex;
    answerCorrectly();
    session.Start(Option::All);
    EXPECT_EQ(session.QuestionTotal, 15);
    EXPECT_EQ(session.QuestionNumber, 2);
    EXPECT_EQ(state.score, "10");
    EXPECT_NE(session.CurrentIndex, question);
}

TEST_F(SessionTest, FullSessionAsksEveryKanaOnceAndEndsAfter71CorrectAnswers)
{
    ClockRandom seeded{[] { return std::uint64_t{20261208}; }};
    Session full{Direction::KatakanaShown, seeded};
    full.Start(Option::All);
    std::set<int> asked;
    int correct = 0;
    while (full.running()) {
        ASSERT_TRUE(asked.insert(full.CurrentIndex).second)
            << "kana " << full.CurrentIndex << " asked again";
        ASSERT_FALSE(full.state().answered[static_cast<std::size_t>(full.CurrentIndex)]);
        // A wrong press now and then must not change what is asked.
        if (full.CurrentIndex % 3 == 0) {
            full.Press(full.CurrentIndex == 71 ? 70 : full.CurrentIndex + 1);
            full.JudgeTick();
            full.JudgeTick();
        }
        full.Press(full.CurrentIndex);
        full.JudgeTick();
        full.JudgeTick();
        ++correct;
        ASSERT_LE(correct, 71);
    }
    EXPECT_EQ(correct, 71);
    EXPECT_EQ(asked.size(), 71u);
    for (int i = 1; i <= kKanaCount; ++i) {
        EXPECT_TRUE(full.state().answered[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_TRUE(full.state().resultsVisible);
    EXPECT_EQ(full.state().resultScore, full.state().score);
    // Every kana was answered: the last question stays on display.
    EXPECT_EQ(full.state().question, full.questionKana(full.CurrentIndex));
}

TEST_F(SessionTest, LaterQuestionsAreDrawnUniformlyFromTheKanaStillOpen)
{
    random.push(ScriptedRandom::forChoice(0, 71)); // あ first
    session.Start(Option::Few);
    session.Press(1);
    // Open now: 2..71, 70 kana; the last choice is ぽ, the first い.
    random.push(ScriptedRandom::forChoice(69, 70));
    judge();
    EXPECT_EQ(session.CurrentIndex, 71);
    session.Press(71);
    random.push(ScriptedRandom::forChoice(0, 69));
    judge();
    EXPECT_EQ(session.CurrentIndex, 2);
    EXPECT_EQ(random.reseeds, 3u) << "Start and each advance reseed";
}

struct DirectionRow
{
    const char *name;
    Direction direction;
    const char *question;
    const char *answer;
};

class Directions : public ::testing::TestWithParam<DirectionRow>
{
};

TEST_P(Directions, QuestionAndChartUseOppositeScripts)
{
    ScriptedRandom random{{ScriptedRandom::forChoice(46, 71)}}; // が
    Session session{GetParam().direction, random};
    session.Start(Option::Few);
    EXPECT_EQ(session.state().question, GetParam().question);
    session.Press(47);
    EXPECT_EQ(session.state().answer, GetParam().answer);
    EXPECT_TRUE(session.state().circleVisible);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Directions,
    ::testing::Values(DirectionRow{"hiragana_shown", Direction::HiraganaShown, "が", "ガ"},
                      DirectionRow{"katakana_shown", Direction::KatakanaShown, "ガ", "が"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionTest, ReloadClearsFlagsStopsTheSessionAndKeepsTheMembers)
{
    session.Start(Option::Half);
    answerCorrectly();
    const int done = session.PressedIndex;
    session.Press(session.CurrentIndex);
    session.JudgeTick();
    ASSERT_TRUE(state.answered[static_cast<std::size_t>(done)]);
    const int current = session.CurrentIndex;

    session.Load(); // the window was closed mid-judgement and opened again
    EXPECT_FALSE(session.running());
    EXPECT_NE(session.phase(), Phase::Judging);
    EXPECT_FALSE(state.running());
    EXPECT_FALSE(state.circleVisible);
    EXPECT_EQ(state.question, "");
    EXPECT_EQ(state.score, "0");
    EXPECT_TRUE(state.startEnabled());
    EXPECT_FALSE(state.answered[static_cast<std::size_t>(done)]);
    EXPECT_EQ(session.CurrentIndex, current);
    EXPECT_EQ(session.QuestionTotal, 30);
    EXPECT_EQ(session.QuestionNumber, 2);
    EXPECT_EQ(session.JudgeTicks, 1);
    session.JudgeTick();
    session.JudgeTick();
    EXPECT_EQ(session.QuestionNumber, 2) << "no judgement survives a reload";
}

TEST_F(SessionTest, PressOutsideTheChartIsAProgrammingError)
{
    session.Start(Option::Few);
    for (int k : {0, -3, 72, 75, 76}) {
        EXPECT_THROW(session.Press(k), std::out_of_range) << k;
    }
}

TEST(ClockRandom, DrawsLieInTheUnitIntervalAndReseedsChangeTheStream)
{
    ClockRandom random{[] { return std::uint64_t{42}; }};
    const double first = random.next();
    double low = 1.0;
    double high = 0.0;
    for (int i = 0; i < 10000; ++i) {
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_LT(low, 0.01);
    EXPECT_GT(high, 0.99);
    random.reseed(); // same clock reading, a later reseed
    EXPECT_NE(random.next(), first);
}

} // namespace
} // namespace drill
