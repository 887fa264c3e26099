#include "session.h"

#include <algorithm>
#include <cmath>

namespace drill {

// By Direction, the script asked; the chart and the answer box show the other one.
constexpr std::array kAskedScript{&KanaTables::HiraganaTable, &KanaTables::KatakanaTable};

Session::Session(Direction direction, RandomSource &random)
    : direction_(direction), random_(random),
      questionTable_(kAskedScript[static_cast<std::size_t>(direction)]),
      answerTable_(kAskedScript[1 - static_cast<std::size_t>(direction)])
{
    Load();
}

const std::string &Session::questionKana(int kanaIndex) const
{
    return (tables_.*questionTable_)[kanaIndex];
}

const std::string &Session::answerKana(int kanaIndex) const
{
    return (tables_.*answerTable_)[kanaIndex];
}

void Session::Load()
{
    tables_.Load();

    // The window's controls are built anew in their design state. The
    // members keep their values; no session runs and nothing waits to be
    // judged, so timers that ran when the window was closed stay stopped.
    const std::uint32_t countdownStarts = state_.judgeCountdownStarts;
    state_ = WindowState{};
    state_.judgeCountdownStarts = countdownStarts;
    score_ = 0;
    seconds_ = 0;
    showScoreAndSeconds();
}

void Session::Start(int questionCount)
{
    if (phase() != Phase::Idle) {
        return;
    }
    state_.answered.fill(false);
    QuestionTotal = static_cast<std::int16_t>(questionCount);
    QuestionNumber = 1;
    random_.reseed();
    // The first question may be any of the 71 kana.
    CurrentIndex = drawIndex(kKanaCount) + 1;
    state_.question = questionKana(CurrentIndex);
    QuestionPoints = kPointsPerQuestion;
    score_ = 0;
    seconds_ = 0;
    showScoreAndSeconds();
    state_.phase = Phase::Asking;
    ++state_.judgeCountdownStarts;

    // A session begins with nothing waiting to be judged, whatever the last
    // one was doing when it was stopped: no press recorded, no mark shown and
    // the chart ready for the first answer.
    JudgeTicks = 0;
    PressedIndex = 0;
    state_.circleVisible = false;
    state_.crossVisible = false;
    state_.chartEnabled = true;
    // The results of the last session are put away: left up, they would hide
    // part of the chart and end the new session with their もういちどする.
    state_.resultsVisible = false;
}

void Session::Press(int kanaIndex)
{
    if (kanaIndex < 1 || kanaIndex > kKanaCount) {
        throw std::out_of_range("chart button index " + std::to_string(kanaIndex) +
                                " is outside 1..71");
    }
    // Outside a running session, and while a press waits to be judged, the
    // chart does nothing.
    if (phase() != Phase::Asking) {
        return;
    }
    PressedIndex = static_cast<std::int16_t>(kanaIndex);
    JudgeTicks = 0;
    ++state_.judgeCountdownStarts;
    state_.answer = answerKana(kanaIndex);
    state_.chartEnabled = false;
    state_.phase = Phase::Judging;

    if (PressedIndex == CurrentIndex) {
        state_.circleVisible = true;
        state_.answered[static_cast<std::size_t>(PressedIndex)] = true;
        score_ += QuestionPoints;
        showScoreAndSeconds();
    } else {
        state_.crossVisible = true;
    }
}

void Session::JudgeTick()
{
    // The mark stays up for two ticks of the judge timer after a press; the
    // second tick judges it, and only a press sets that in motion.
    if (phase() != Phase::Judging) {
        return;
    }
    ++JudgeTicks;
    if (JudgeTicks != 2) {
        return;
    }
    if (PressedIndex == CurrentIndex) {
        advance();
    } else {
        release();
    }
}

void Session::advance()
{
    random_.reseed();
    drawNextQuestion();
    state_.question = questionKana(CurrentIndex);
    state_.answer.clear();
    state_.circleVisible = false;
    QuestionPoints = kPointsPerQuestion;
    ++QuestionNumber;
    if (QuestionNumber == QuestionTotal + 1) {
        state_.phase = Phase::Finished;
        showResults();
    } else {
        state_.phase = Phase::Asking;
    }
    state_.chartEnabled = true;
}

void Session::release()
{
    state_.crossVisible = false;
    state_.answer.clear();
    QuestionPoints /= 2;
    state_.chartEnabled = true;
    state_.phase = Phase::Asking;
}

void Session::drawNextQuestion()
{
    // Uniform over the kana not yet answered correctly in this session; when
    // every one has been, the question on display stays.
    std::array<int, kKanaCount> open{};
    int count = 0;
    for (int i = 1; i <= kKanaCount; ++i) {
        if (!state_.answered[static_cast<std::size_t>(i)]) {
            open[static_cast<std::size_t>(count++)] = i;
        }
    }
    if (count > 0) {
        CurrentIndex = open[static_cast<std::size_t>(drawIndex(count))];
    }
}

int Session::drawIndex(int count)
{
    double r = random_.next();
    // A source that strays outside [0, 1) still yields a valid index.
    if (!(r >= 0.0)) {
        r = 0.0;
    }
    const int drawn = static_cast<int>(std::floor(std::min(r, 1.0) * count));
    return std::min(drawn, count - 1);
}

void Session::ClockTick()
{
    if (!running()) {
        return;
    }
    ++seconds_;
    showScoreAndSeconds();
}

void Session::Stop()
{
    if (phase() == Phase::Idle) {
        return;
    }
    stopSession();
}

void Session::Again()
{
    if (!state_.resultsVisible) {
        return;
    }
    stopSession();
    state_.resultsVisible = false;
}

void Session::stopSession()
{
    // The chart's enabled state and answered kana, a cross on display, the score
    // and the seconds stay as they are for the results.
    state_.phase = Phase::Idle;
    state_.question.clear();
    state_.answer.clear();
    state_.circleVisible = false;
    showResults();
}

void Session::showResults()
{
    state_.resultsVisible = true;
    state_.resultSeconds = state_.seconds;
    state_.resultScore = state_.score;
}

void Session::showScoreAndSeconds()
{
    // Plain decimal: "0", "10", "125".
    state_.score = std::to_string(score_);
    state_.seconds = std::to_string(seconds_);
}

} // namespace drill
