#pragma once

// The drill session of one practice window: starting a session, choosing
// questions, judging chart presses, scoring, the seconds clock, stopping and
// the results. The window forwards its events to a Session and then renders
// Session::state(), which holds everything the window shows that a session
// changes. Nothing here knows about any toolkit.

#include "kana.h"
#include "random.h"

#include <array>
#include <cstdint>
#include <string>

namespace drill {

// Which script the question box shows; the chart and the answer box show the
// other one.
enum class Direction
{
    HiraganaShown, // the katakana practice window
    KatakanaShown, // the hiragana practice window
};

inline constexpr int kPointsPerQuestion = 10;

// Where a session stands. Idle: no session runs (after load, Stop or Again);
// Start is enabled. Asking: a question waits for a chart press. Judging: a
// press waits for its judgement, the chart locked and its mark shown.
// Finished: the last answer was judged; the results are up while Stop is
// still enabled and Start still disabled.
enum class Phase
{
    Idle,
    Asking,
    Judging,
    Finished,
};

// What the practice window shows, as the session leaves it after each event.
struct WindowState
{
    Phase phase = Phase::Idle;
    std::string question; // the question kana
    std::string answer;   // the kana of the chart button pressed
    std::string score;    // the score
    std::string seconds;  // the seconds
    // The seconds and the score on the results panel; empty until a session's
    // results first come up, while the panel keeps the text it was built with.
    std::string resultSeconds;
    std::string resultScore;

    // Not a copy of the phase: a Stop while a press waits for its judgement
    // leaves the chart locked until the next Start.
    bool chartEnabled = true;
    // By kana index, the kana answered right in this session; [0] unused.
    std::array<bool, kKanaCount + 1> answered{};

    bool circleVisible = false;  // the circle of a correct answer, and the reward picture
    bool crossVisible = false;   // the cross of a wrong answer
    bool resultsVisible = false; // the results panel

    // Counts the moments the judge timer's countdown starts again from a full
    // interval; the window restarts its timer whenever this changes.
    std::uint32_t judgeCountdownStarts = 0;

    bool startEnabled() const { return phase == Phase::Idle; }
    bool stopEnabled() const { return phase != Phase::Idle; }
    // A session runs from Start until its last answer is judged, or Stop; the
    // judge timer and the seconds clock run while it does.
    bool running() const { return phase == Phase::Asking || phase == Phase::Judging; }
};

class Session
{
public:
    Session(Direction direction, RandomSource &random);

    // The window was built anew: fill the tables and show the load state. No
    // session runs and no judgement is pending afterwards.
    void Load();
    void Start(int questionCount); // スタート, 1..71 questions
    void Press(int kanaIndex);     // the chart button of a kana
    void JudgeTick();              // the judge timer
    void ClockTick();              // the seconds clock
    void Stop();                   // ストップ
    void Again();                  // もういちどする on the results panel

    const WindowState &state() const { return state_; }
    Direction direction() const { return direction_; }
    Phase phase() const { return state_.phase; }
    bool running() const { return state_.running(); }

    // The kana a chart button and the answer box show for an index.
    const std::string &answerKana(int kanaIndex) const;
    const std::string &questionKana(int kanaIndex) const;

    // The session's members, named as the window's designer named them.
    int CurrentIndex = 0;           // kana index of the question on display
    std::int16_t PressedIndex = 0;  // kana index of the chart button pressed last
    int JudgeTicks = 0;             // judge-timer ticks since the last press
    int QuestionPoints = 0;         // what the question on display is still worth
    int QuestionNumber = 0;         // 1-based number of the question on display
    std::int16_t QuestionTotal = 0; // questions in this session, as the option chose

private:
    void showScoreAndSeconds();
    void advance();
    void release();
    void drawNextQuestion();
    void stopSession();
    void showResults();
    int drawIndex(int count); // uniform in 0..count-1

    Direction direction_;
    RandomSource &random_;
    Slots<std::string> KanaTables::*questionTable_;
    Slots<std::string> KanaTables::*answerTable_;
    KanaTables tables_;
    WindowState state_;
    int score_ = 0;
    int seconds_ = 0;
};

} // namespace drill
