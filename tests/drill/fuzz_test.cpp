// Randomised sessions: a thousand seeded players each send a thousand events
// to one Session, in any order a window could deliver them, and after every
// event the state must still obey the rules of scoring, judging, the timers
// and the chart.
//
// Events are written compactly so that a failing run can be read and replayed:
//   L  Load          S71 S30 S15  Start with that many questions
//   P<k>  Press(k)   J  JudgeTick          C  ClockTick
//   T  Stop          A  Again
//
// Environment:
//   POKOMOJI_FUZZ_SEED=n     run only seed n and print its events
//   POKOMOJI_FUZZ_EVENTS=".." with a seed: send these events instead of the
//                            generated ones (e.g. a shortened failing list)
//   POKOMOJI_FUZZ_SEEDS=n    run seeds 1..n instead of 1..1000

#include "drill/session.h"

#include <gtest/gtest.h>

#include <bitset>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace drill {
namespace {

constexpr int kDefaultSeeds = 1000;
constexpr int kEventsPerSeed = 1000;

enum class Kind
{
    Load,
    Start,
    Press,
    JudgeTick,
    ClockTick,
    Stop,
    Again
};

struct Event
{
    Kind kind;
    int arg = 0; // the option's question count for Start, the kana index for Press
};

std::string toText(const Event &e)
{
    switch (e.kind) {
    case Kind::Load:
        return "L";
    case Kind::Start:
        return "S" + std::to_string(e.arg);
    case Kind::Press:
        return "P" + std::to_string(e.arg);
    case Kind::JudgeTick:
        return "J";
    case Kind::ClockTick:
        return "C";
    case Kind::Stop:
        return "T";
    case Kind::Again:
        return "A";
    }
    return "?";
}

std::string toText(const std::vector<Event> &events)
{
    std::string text;
    for (const Event &e : events) {
        if (!text.empty()) {
            text += ' ';
        }
        text += toText(e);
    }
    return text;
}

std::optional<Event> parseEvent(const std::string &word)
{
    if (word == "L")
        return Event{Kind::Load};
    if (word == "J")
        return Event{Kind::JudgeTick};
    if (word == "C")
        return Event{Kind::ClockTick};
    if (word == "T")
        return Event{Kind::Stop};
    if (word == "A")
        return Event{Kind::Again};
    if (word.size() >= 2 && (word[0] == 'S' || word[0] == 'P')) {
        const int n = std::atoi(word.c_str() + 1);
        if (word[0] == 'S' && (n == 71 || n == 30 || n == 15))
            return Event{Kind::Start, n};
        if (word[0] == 'P' && n >= 1 && n <= kKanaCount)
            return Event{Kind::Press, n};
    }
    return std::nullopt;
}

void send(Session &session, const Event &e)
{
    switch (e.kind) {
    case Kind::Load:
        session.Load();
        break;
    case Kind::Start:
        session.Start(e.arg);
        break;
    case Kind::Press:
        session.Press(e.arg);
        break;
    case Kind::JudgeTick:
        session.JudgeTick();
        break;
    case Kind::ClockTick:
        session.ClockTick();
        break;
    case Kind::Stop:
        session.Stop();
        break;
    case Kind::Again:
        session.Again();
        break;
    }
}

// "0", "7", "150": no sign, no leading zero, no fraction.
bool isPlainDecimal(const std::string &text)
{
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return text.size() == 1 || text[0] != '0';
}

// How one seeded player behaves: how often they know the answer, stop early
// or close the window. Some never stop, so that 71-question sessions finish.
struct Player
{
    unsigned rightPermille;
    unsigned stopPermille;
    unsigned loadPermille;
    unsigned noisePermille; // an event of any kind, wanted or not
};

Player playerFor(std::mt19937 &rng)
{
    static constexpr unsigned right[] = {500, 750, 900, 980};
    static constexpr unsigned stop[] = {0, 0, 2, 10, 40};
    static constexpr unsigned load[] = {0, 0, 1, 5};
    static constexpr unsigned noise[] = {0, 20, 60};
    return Player{right[rng() % 4], stop[rng() % 5], load[rng() % 4], noise[rng() % 3]};
}

int optionCount(std::mt19937 &rng)
{
    static constexpr int counts[] = {71, 30, 15};
    return counts[rng() % 3];
}

// The next event, chosen from what the window shows now so that sessions
// progress: mostly answers and the judge ticks that follow them.
Event nextEvent(std::mt19937 &rng, const Player &player, const Session &session)
{
    const auto permille = [&rng](unsigned p) { return rng() % 1000 < p; };
    const auto anyKana = [&rng] { return static_cast<int>(rng() % kKanaCount) + 1; };
    const WindowState &s = session.state();

    if (permille(player.stopPermille))
        return {Kind::Stop};
    if (permille(player.loadPermille))
        return {Kind::Load};
    if (permille(player.noisePermille)) {
        switch (rng() % 7) {
        case 0:
            return {Kind::Load};
        case 1:
            return {Kind::Start, optionCount(rng)};
        case 2:
            return {Kind::Press, anyKana()};
        case 3:
            return {Kind::JudgeTick};
        case 4:
            return {Kind::ClockTick};
        case 5:
            return {Kind::Stop};
        default:
            return {Kind::Again};
        }
    }
    if (!session.running()) {
        if (permille(100))
            return {Kind::Press, anyKana()};
        if (permille(100))
            return {rng() % 2 ? Kind::JudgeTick : Kind::ClockTick};
        if (s.startEnabled() && !permille(200))
            return {Kind::Start, optionCount(rng)};
        return {Kind::Again};
    }
    if (!s.chartEnabled) { // a press waits for its judgement
        const unsigned r = rng() % 100;
        if (r < 75)
            return {Kind::JudgeTick};
        if (r < 90)
            return {Kind::ClockTick};
        if (r < 95)
            return {Kind::Press, session.CurrentIndex};
        return {Kind::Press, anyKana()};
    }
    const unsigned r = rng() % 100;
    if (r < 55) {
        return {Kind::Press, permille(player.rightPermille) ? session.CurrentIndex : anyKana()};
    }
    if (r < 70)
        return {Kind::JudgeTick};
    if (r < 95)
        return {Kind::ClockTick};
    return {Kind::Start, optionCount(rng)}; // ignored while a session runs
}

// What the window showed before an event.
struct Before
{
    WindowState state;
    bool running;
    bool pending;
    int current;
    int points;
    int number;
    int total;
};

Before capture(const Session &session)
{
    return {session.state(),      session.running(),      session.phase() == Phase::Judging,
            session.CurrentIndex, session.QuestionPoints, session.QuestionNumber,
            session.QuestionTotal};
}

// What the test itself has seen happen, kept from the events alone: which
// press waits for a judgement, what was answered, the score and the seconds
// the window should show.
struct Ledger
{
    enum class Waiting
    {
        Nothing,
        Correct,
        Wrong
    };
    Waiting waiting = Waiting::Nothing;
    int waitingTicks = 0;   // judge ticks since the press that waits
    int correctPresses = 0; // in this session, judged or not
    int judgedCorrect = 0;  // correct answers judged since Start
    int score = 0;
    int seconds = 0;
    bool started = false;           // a Start was accepted since the session was built
    bool resultsShown = false;      // the results panel was filled since Load
    bool chartLeftDisabled = false; // Stop or Again came while a press waited
    std::bitset<kKanaCount + 1> answered;
};

// Run totals, so the test can tell it reached the situations it is meant to
// check and did not spend its events idling.
struct Coverage
{
    long judgedCorrect = 0;
    long judgedWrong = 0;
    long zeroPointAnswers = 0;
    long finished[3] = {0, 0, 0}; // 71, 30, 15 questions answered to the end
    long everyKanaAnswered = 0;
    long stoppedWhileWaiting = 0;
    long loadedWhileWaiting = 0;
    long ignoredPresses = 0;
};

int finishedSlot(int total)
{
    return total == 71 ? 0 : total == 30 ? 1 : 2;
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            return std::string(#condition);                                                        \
        }                                                                                          \
    } while (false)

// Applies the event to the ledger and checks the session's state after it.
// Returns a description of the first rule broken, or an empty string.
std::string checkEvent(const Event &e, const Before &b, const Session &session, Ledger &ledger,
                       Coverage &coverage)
{
    const WindowState &s = session.state();

    // The ledger follows the event, judged by the state before it.
    bool startAccepted = false;
    bool pressAccepted = false;
    bool judgedCorrectNow = false;
    bool judgedWrongNow = false;
    switch (e.kind) {
    case Kind::Load:
        if (ledger.waiting != Ledger::Waiting::Nothing && b.running) {
            ++coverage.loadedWhileWaiting;
        }
        ledger.waiting = Ledger::Waiting::Nothing;
        ledger.correctPresses = 0;
        ledger.score = 0;
        ledger.seconds = 0;
        ledger.resultsShown = false;
        ledger.chartLeftDisabled = false;
        ledger.answered.reset();
        break;
    case Kind::Start:
        startAccepted = b.state.startEnabled();
        if (startAccepted) {
            const bool resultsShown = ledger.resultsShown;
            ledger = Ledger{};
            ledger.started = true;
            ledger.resultsShown = resultsShown;
        }
        break;
    case Kind::Press:
        pressAccepted = b.running && b.state.chartEnabled;
        if (pressAccepted) {
            const bool correct = e.arg == b.current;
            ledger.waiting = correct ? Ledger::Waiting::Correct : Ledger::Waiting::Wrong;
            ledger.waitingTicks = 0;
            if (correct) {
                ++ledger.correctPresses;
                ledger.answered.set(static_cast<std::size_t>(e.arg));
                ledger.score += b.points;
            }
        } else {
            ++coverage.ignoredPresses;
        }
        break;
    case Kind::JudgeTick:
        if (ledger.waiting != Ledger::Waiting::Nothing && b.state.running() &&
            ++ledger.waitingTicks == 2) {
            judgedCorrectNow = ledger.waiting == Ledger::Waiting::Correct;
            judgedWrongNow = !judgedCorrectNow;
            ledger.waiting = Ledger::Waiting::Nothing;
            if (judgedCorrectNow) {
                ++ledger.judgedCorrect;
                ++coverage.judgedCorrect;
                coverage.zeroPointAnswers += b.points == 0;
            } else {
                ++coverage.judgedWrong;
            }
        }
        break;
    case Kind::ClockTick:
        ledger.seconds += b.state.running() ? 1 : 0;
        break;
    case Kind::Stop:
    case Kind::Again:
        if ((e.kind == Kind::Stop ? b.state.stopEnabled() : b.state.resultsVisible)) {
            if (ledger.waiting != Ledger::Waiting::Nothing) {
                ledger.chartLeftDisabled = true;
                ++coverage.stoppedWhileWaiting;
            }
            ledger.waiting = Ledger::Waiting::Nothing;
            ledger.resultsShown = true;
        }
        break;
    }
    const bool waiting = ledger.waiting != Ledger::Waiting::Nothing;

    // Captions are plain decimal numbers; the results captions are empty
    // until the first results since Load.
    FUZZ_CHECK(isPlainDecimal(s.score));
    FUZZ_CHECK(isPlainDecimal(s.seconds));
    if (ledger.resultsShown || s.resultsVisible) {
        FUZZ_CHECK(isPlainDecimal(s.resultSeconds));
        FUZZ_CHECK(isPlainDecimal(s.resultScore));
    } else {
        FUZZ_CHECK(s.resultSeconds == "");
        FUZZ_CHECK(s.resultScore == "");
    }
    if (s.resultsVisible && !b.state.resultsVisible) {
        FUZZ_CHECK(s.resultSeconds == s.seconds);
        FUZZ_CHECK(s.resultScore == s.score);
    }

    // The score: only a correct press adds to it, by what the question was
    // still worth, and it never passes 10 points per correct answer.
    const int score = std::stoi(s.score);
    FUZZ_CHECK(score <= kPointsPerQuestion * ledger.correctPresses);
    const int before = std::stoi(b.state.score);
    if (pressAccepted && e.arg == b.current) {
        FUZZ_CHECK(score == before + b.points);
    } else if (!startAccepted && e.kind != Kind::Load) {
        FUZZ_CHECK(score == before);
    }
    FUZZ_CHECK(score == ledger.score);
    FUZZ_CHECK(session.QuestionPoints == 10 || session.QuestionPoints == 5 ||
               session.QuestionPoints == 2 || session.QuestionPoints == 1 ||
               session.QuestionPoints == 0);

    // The seconds: one a clock tick while the clock runs.
    FUZZ_CHECK(std::stoi(s.seconds) == ledger.seconds);

    // Each judgement is applied once, on the second judge tick after its
    // press: a correct one moves to the next question, a wrong one halves
    // what the question is worth, and between judgements neither changes.
    FUZZ_CHECK((session.phase() == Phase::Judging) == waiting);
    const int stepped = session.QuestionNumber - b.number;
    if (startAccepted) {
        FUZZ_CHECK(session.QuestionNumber == 1);
        FUZZ_CHECK(session.QuestionPoints == kPointsPerQuestion);
    } else if (judgedCorrectNow) {
        FUZZ_CHECK(stepped == 1);
        FUZZ_CHECK(session.QuestionPoints == kPointsPerQuestion);
    } else if (judgedWrongNow) {
        FUZZ_CHECK(stepped == 0);
        FUZZ_CHECK(session.QuestionPoints == b.points / 2);
        FUZZ_CHECK(session.CurrentIndex == b.current);
    } else {
        FUZZ_CHECK(stepped == 0);
        FUZZ_CHECK(session.QuestionPoints == b.points);
        FUZZ_CHECK(session.CurrentIndex == b.current);
    }
    if (ledger.started) {
        FUZZ_CHECK(session.QuestionTotal == 71 || session.QuestionTotal == 30 ||
                   session.QuestionTotal == 15);
        FUZZ_CHECK(session.QuestionNumber == 1 + ledger.judgedCorrect);
        FUZZ_CHECK(session.QuestionNumber <= session.QuestionTotal + 1);
    }

    // The session runs from an accepted Start until its last answer is
    // judged or it is stopped or reloaded; the clock runs exactly while it
    // runs, and the judge timer too, so that a waiting press is judged.
    if (session.running()) {
        FUZZ_CHECK(ledger.started);
        FUZZ_CHECK(session.QuestionNumber <= session.QuestionTotal);
    }
    if (startAccepted) {
        FUZZ_CHECK(session.running());
    }
    if (!b.running && !startAccepted) {
        FUZZ_CHECK(!session.running());
    }
    if (judgedCorrectNow && session.QuestionNumber == session.QuestionTotal + 1) {
        FUZZ_CHECK(!session.running());
        FUZZ_CHECK(s.resultsVisible);
        ledger.resultsShown = true;
        ++coverage.finished[finishedSlot(session.QuestionTotal)];
        coverage.everyKanaAnswered += session.QuestionTotal == kKanaCount;
    } else if (b.running && !session.running()) {
        FUZZ_CHECK(e.kind == Kind::Stop || e.kind == Kind::Load);
    }
    // A session starts with the results put away: none hides the chart.
    if (startAccepted) {
        FUZZ_CHECK(!s.resultsVisible);
    }
    // The phase: Finished only when the last answer was judged, with the
    // results up and Stop still enabled; Idle exactly when Start is enabled.
    FUZZ_CHECK(session.phase() == s.phase);
    FUZZ_CHECK((s.phase == Phase::Finished) == (!session.running() && s.stopEnabled()));
    FUZZ_CHECK(s.phase != Phase::Finished || s.resultsVisible);
    FUZZ_CHECK((s.phase == Phase::Idle) == s.startEnabled());
    if (e.kind == Kind::Load) {
        FUZZ_CHECK(!s.running());
        FUZZ_CHECK(session.phase() != Phase::Judging);
    }
    if (session.running()) {
        FUZZ_CHECK(!s.startEnabled() && s.stopEnabled());
    } else {
        // The window is never stuck: Start, or Again and then Start, works.
        FUZZ_CHECK(s.startEnabled() || s.resultsVisible);
    }

    // The chart: while a session runs it is disabled exactly while a press
    // waits for its judgement, with the mark of that press on display. Out of
    // a session nothing waits, and the chart stays disabled only when Stop or
    // Again interrupted a waiting press, until the next Start or Load.
    if (session.running()) {
        FUZZ_CHECK(s.chartEnabled == !waiting);
        const bool correctMark = ledger.waiting == Ledger::Waiting::Correct;
        const bool wrongMark = ledger.waiting == Ledger::Waiting::Wrong;
        FUZZ_CHECK(s.circleVisible == correctMark);
        FUZZ_CHECK(s.crossVisible == wrongMark);
        FUZZ_CHECK(s.answer.empty() == !waiting);
    } else {
        FUZZ_CHECK(session.phase() != Phase::Judging);
        FUZZ_CHECK(s.chartEnabled || ledger.chartLeftDisabled);
        FUZZ_CHECK(!s.circleVisible);
    }

    // No kana answered correctly is asked again: while a session runs and
    // asks, its question is one still open, and the question box shows it.
    if (session.running()) {
        FUZZ_CHECK(session.CurrentIndex >= 1 && session.CurrentIndex <= kKanaCount);
        FUZZ_CHECK(s.question == session.questionKana(session.CurrentIndex));
        if (!waiting) {
            FUZZ_CHECK(!ledger.answered.test(static_cast<std::size_t>(session.CurrentIndex)));
        }
    }
    // Exactly the kana answered correctly since the last Start or Load are
    // marked answered.
    for (std::size_t i = 1; i <= kKanaCount; ++i) {
        FUZZ_CHECK(s.answered[i] == ledger.answered.test(i));
    }

    // A press the chart does not take changes nothing.
    if (e.kind == Kind::Press && !pressAccepted) {
        FUZZ_CHECK(s.answer == b.state.answer);
        FUZZ_CHECK(s.chartEnabled == b.state.chartEnabled);
        FUZZ_CHECK(s.crossVisible == b.state.crossVisible);
        FUZZ_CHECK(s.circleVisible == b.state.circleVisible);
        FUZZ_CHECK(s.answered == b.state.answered);
        FUZZ_CHECK(s.judgeCountdownStarts == b.state.judgeCountdownStarts);
    }
    if (pressAccepted) {
        FUZZ_CHECK(s.judgeCountdownStarts == b.state.judgeCountdownStarts + 1);
        FUZZ_CHECK(s.answer == session.answerKana(e.arg));
    }
    return {};
}

#undef FUZZ_CHECK

std::optional<long> envNumber(const char *name)
{
    const char *text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    char *end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*end != '\0') {
        ADD_FAILURE() << name << "=" << text << " is not a number";
        return std::nullopt;
    }
    return n;
}

std::optional<std::vector<Event>> envEvents()
{
    const char *text = std::getenv("POKOMOJI_FUZZ_EVENTS");
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    std::vector<Event> events;
    std::istringstream words{text};
    for (std::string word; words >> word;) {
        const auto e = parseEvent(word);
        if (!e) {
            ADD_FAILURE() << "POKOMOJI_FUZZ_EVENTS: cannot read \"" << word << "\"";
            return std::vector<Event>{};
        }
        events.push_back(*e);
    }
    return events;
}

// Plays one seed. The events are generated as they go, from the state the
// session shows, unless a list is given. Returns false after reporting a
// failure with the seed and every event sent so far.
bool playSeed(std::uint32_t seed, const std::optional<std::vector<Event>> &script, bool verbose,
              Coverage &coverage)
{
    std::mt19937 rng{seed};
    const Player player = playerFor(rng);
    // The session's questions come from the program's own source, driven by
    // a clock that is a function of the seed alone.
    ClockRandom random{
        [seed, tick = std::uint64_t{0}]() mutable { return (std::uint64_t{seed} << 32) + tick++; }};
    const Direction direction = seed % 2 ? Direction::KatakanaShown : Direction::HiraganaShown;
    Session session{direction, random};
    Ledger ledger;
    std::vector<Event> sent;
    const std::size_t count = script ? script->size() : kEventsPerSeed;
    sent.reserve(count);

    for (std::size_t i = 0; i < count; ++i) {
        const Event e = script ? (*script)[i] : nextEvent(rng, player, session);
        sent.push_back(e);
        const Before before = capture(session);
        std::string broken;
        try {
            send(session, e);
            broken = checkEvent(e, before, session, ledger, coverage);
        } catch (const std::exception &ex) {
            broken = std::string("the engine threw: ") + ex.what();
        }
        if (!broken.empty()) {
            ADD_FAILURE() << "seed " << seed << ", event " << i + 1 << " (" << toText(e)
                          << "): " << broken << "\n  events: " << toText(sent)
                          << "\n  replay: POKOMOJI_FUZZ_SEED=" << seed << " POKOMOJI_FUZZ_EVENTS=\""
                          << toText(sent) << "\"";
            return false;
        }
    }
    if (verbose) {
        std::cout << "seed " << seed << ": " << toText(sent) << "\n";
    }
    return true;
}

TEST(SessionFuzz, EveryEventKeepsTheSessionRules)
{
    Coverage coverage;
    if (const auto seed = envNumber("POKOMOJI_FUZZ_SEED")) {
        playSeed(static_cast<std::uint32_t>(*seed), envEvents(), true, coverage);
        return;
    }
    const long seeds = envNumber("POKOMOJI_FUZZ_SEEDS").value_or(kDefaultSeeds);
    for (long seed = 1; seed <= seeds; ++seed) {
        if (!playSeed(static_cast<std::uint32_t>(seed), std::nullopt, false, coverage)) {
            return; // one failing seed with its events is enough to read
        }
    }
    std::cout << "judged " << coverage.judgedCorrect << " correct and " << coverage.judgedWrong
              << " wrong presses, " << coverage.zeroPointAnswers << " for no points; finished "
              << coverage.finished[0] << "/" << coverage.finished[1] << "/" << coverage.finished[2]
              << " sessions of 71/30/15, stopped " << coverage.stoppedWhileWaiting
              << " and reloaded " << coverage.loadedWhileWaiting << " while a press waited, "
              << coverage.ignoredPresses << " presses ignored\n";

    // The players must have reached every situation the rules speak about,
    // or the run above proves little.
    if (seeds >= kDefaultSeeds) {
        EXPECT_GT(coverage.judgedCorrect, 100'000);
        EXPECT_GT(coverage.judgedWrong, 10'000);
        EXPECT_GT(coverage.zeroPointAnswers, 100);
        EXPECT_GT(coverage.everyKanaAnswered, 50);
        EXPECT_GT(coverage.finished[1], 100);
        EXPECT_GT(coverage.finished[2], 100);
        EXPECT_GT(coverage.stoppedWhileWaiting, 100);
        EXPECT_GT(coverage.loadedWhileWaiting, 50);
        EXPECT_GT(coverage.ignoredPresses, 10'000);
    }
}

} // namespace
} // namespace drill
