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

// Colours as 0x00BBGGRR values (red in the low byte).
using Colour = std::uint32_t;
inline constexpr Colour kChartGrey = 0x00E0E0E0;  // a chart button at Start
inline constexpr Colour kChartPeach = 0x00C0E0FF; // a button whose kana was answered

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
    std::string question;      // the question kana
    std::string answer;        // the kana of the chart button pressed
    std::string score;         // the score
    std::string seconds;       // the seconds
    std::string resultSeconds; // the seconds on the results panel
    std::string resultScore;   // the score on the results panel

    bool chartEnabled = true;
    bool startEnabled = true;                         // スタート, only when Idle
    bool stopEnabled = false;                         // ストップ, unless Idle
    std::array<Colour, kKanaCount + 1> chartColour{}; // by kana index; [0] unused

    bool circleVisible = false;  // the circle of a correct answer
    bool rewardVisible = false;  // the reward picture, shown with the circle
    bool crossVisible = false;   // the cross of a wrong answer
    bool resultsVisible = false; // the results panel

    bool judgeTimerRunning = false; // the judge timer, while Asking or Judging
    bool clockRunning = false;      // the seconds clock, likewise
    // Counts the moments the judge timer's countdown starts again from a full
    // interval; the window restarts its timer whenever this changes.
    std::uint32_t judgeCountdownStarts = 0;
};

class Session
{
public:
    Session(Direction direction, RandomSource &random);

    // The window was built anew: fill the tables and show the load state. No
    // session runs and no judgement is pending afterwards.
    void Load();
    void Start(int questionCount); // Command3 "スタート", 1..71 questions
    void Press(int kanaIndex);     // chart button Command1(kanaIndex)
    void JudgeTick();              // Timer1
    void ClockTick();              // Timer2
    void Stop();                   // Command4 "ストップ"
    void Again();                  // Command6 "もういちどする"

    const WindowState &state() const { return state_; }
    Direction direction() const { return direction_; }
    Phase phase() const { return state_.phase; }
    // A session runs from Start until its last answer is judged, or Stop.
    bool running() const { return phase() == Phase::Asking || phase() == Phase::Judging; }

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
    // Moves to a phase and sets what follows from it: Start's and Stop's
    // enabled state and the two timers.
    void enter(Phase phase);
    void setAllChartColours(Colour colour);
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
