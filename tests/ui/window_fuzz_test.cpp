// Randomised play through a real practice window: seeded players click the
// chart (often twice in a row), Start, Stop, Again and the options, let the
// shortened timers run, and close and reopen the window in the middle of a
// session. After every event what the window shows must be exactly what its
// session says, and the rules a child relies on must hold.
//
// Events, as printed for a failing seed:
//   P<k> click chart button k      D<k> two clicks on it at once
//   K    Space on the focused widget
//   O<n> click option n           S Start   T Stop   A Again
//   J    judge tick               C clock tick
//   W    let the real timers run for a moment
//   R    close with とじる and open anew   E close with おわる and open anew
//
// POKOMOJI_WINDOW_FUZZ_SEED=n runs only seed n.

#include "../support/controls.h"
#include "drill/session.h"
#include "ui/look.h"
#include "ui/practicewindow.h"
#include "ui/secondsclock.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <random>

namespace {

using testing::Part;

constexpr int kSeeds = 30;
constexpr int kEvents = 300;

class Player
{
public:
    explicit Player(unsigned seed)
        : rng_(seed), random_([seed] { return std::uint64_t{seed}; }),
          session_(seed % 2 ? drill::Direction::KatakanaShown : drill::Direction::HiraganaShown,
                   random_)
    {
        open();
    }
    ~Player() { delete window_.data(); }

    // Plays one event; returns what it did, or an empty string if it failed
    // to keep the window consistent (the reason is in failure()).
    QString step()
    {
        const int roll = pick(100);
        const bool pendingBefore = session_.phase() == drill::Phase::Judging;
        QString event; // empty if the window could not go on
        if (roll < 30) {
            const int k = rightAnswer() ? session_.CurrentIndex : 1 + pick(71);
            event = QStringLiteral("P%1").arg(k);
            click(window_->chartButton(k));
        } else if (roll < 38) {
            const int k = rightAnswer() ? session_.CurrentIndex : 1 + pick(71);
            event = QStringLiteral("D%1").arg(k);
            click(window_->chartButton(k));
            click(window_->chartButton(k));
        } else if (roll < 42) {
            event = QStringLiteral("K");
            if (QWidget *focused = QApplication::focusWidget()) {
                QPointer<QWidget> alive = window_.data();
                QTest::keyClick(focused, Qt::Key_Space);
                if (!window_->isVisible()) { // Space on とじる or おわる closed it
                    if (!QTest::qWaitFor([&] { return alive.isNull(); })) {
                        return {}; // the closed window was never destroyed
                    }
                    open();
                }
            }
        } else if (roll < 46) {
            const int n = 1 + pick(3);
            event = QStringLiteral("O%1").arg(n);
            click(control(Part::Option, n));
        } else if (roll < 54) {
            event = QStringLiteral("S");
            click(control(Part::Start));
        } else if (roll < 58) {
            event = QStringLiteral("T");
            click(control(Part::Stop));
        } else if (roll < 62) {
            event = QStringLiteral("A");
            click(control(Part::Again));
        } else if (roll < 82) {
            event = QStringLiteral("J");
            window_->judgeTick();
        } else if (roll < 90) {
            event = QStringLiteral("C");
            window_->clockTick();
        } else if (roll < 94) {
            event = QStringLiteral("W");
            QTest::qWait(25);
        } else if (roll < 97) {
            event = QStringLiteral("R");
            reopen(Part::Close);
        } else {
            event = QStringLiteral("E");
            reopen(Part::Finish);
        }
        startedJudgement_ = !pendingBefore && (session_.phase() == drill::Phase::Judging);
        return event;
    }

    // Checks the window against its session; an empty string when all holds.
    QString check() const
    {
        const drill::WindowState &s = session_.state();
        const auto text = [&](Part part) { return testing::text(window_.data(), part); };
        const auto qs = [](const std::string &v) { return QString::fromStdString(v); };
        // Until the first results the panel keeps the text it was built with.
        const auto result = [&](const std::string &v, const char *atLoad) {
            return v.empty() ? QString::fromLatin1(atLoad) : qs(v);
        };
        if (text(Part::Question) != qs(s.question) || text(Part::Answer) != qs(s.answer) ||
            text(Part::Score) != qs(s.score) || text(Part::Seconds) != qs(s.seconds) ||
            text(Part::ResultSeconds) != result(s.resultSeconds, "Label10") ||
            text(Part::ResultScore) != result(s.resultScore, "Label11")) {
            return QStringLiteral("a caption differs from the session");
        }
        if (control(Part::Start)->isEnabled() != s.startEnabled() ||
            control(Part::Stop)->isEnabled() != s.stopEnabled()) {
            return QStringLiteral("Start or Stop is in the wrong state");
        }
        int peach = 0;
        for (int k = 1; k <= drill::kKanaCount; ++k) {
            const ui::RaisedButton *button = window_->chartButton(k);
            if (button->isEnabled() != s.chartEnabled) {
                return QStringLiteral("chart button %1 enabled wrongly").arg(k);
            }
            const bool answered = s.answered[static_cast<std::size_t>(k)];
            if (button->face() != ui::bgr(answered ? ui::colour::Peach : ui::colour::LightGrey)) {
                return QStringLiteral("chart button %1 has the wrong colour").arg(k);
            }
            peach += answered ? 1 : 0;
        }
        if (control(Part::Circle)->isVisible() != s.circleVisible ||
            control(Part::Reward)->isVisible() != s.circleVisible ||
            control(Part::Cross, 1)->isVisible() != s.crossVisible ||
            control(Part::Cross, 2)->isVisible() != s.crossVisible ||
            control(Part::Results)->isVisible() != s.resultsVisible) {
            return QStringLiteral("marks shown %1%2%3%4, the session says %5%6%7")
                .arg(control(Part::Circle)->isVisible())
                .arg(control(Part::Reward)->isVisible())
                .arg(control(Part::Cross, 1)->isVisible())
                .arg(control(Part::Results)->isVisible())
                .arg(s.circleVisible)
                .arg(s.crossVisible)
                .arg(s.resultsVisible);
        }
        if (window_->judgeTimer()->isActive() != s.running() ||
            window_->clock()->isActive() != s.running()) {
            return QStringLiteral("a timer runs when it should not, or the reverse");
        }
        // Each right answer colours one button and adds at most 10 points.
        if (std::stoi(s.score) > 10 * peach) {
            return QStringLiteral("score %1 with %2 right answers").arg(qs(s.score)).arg(peach);
        }
        // The keyboard focus never rests on a button that cannot be pressed,
        // and a chart press does not hand it on to another button, where the
        // next Enter would press that.
        const QWidget *focused = QApplication::focusWidget();
        if (focused && !focused->isEnabled()) {
            return QStringLiteral("the focus is on a disabled control");
        }
        if (startedJudgement_ && focused && focused != window_ &&
            qobject_cast<const QAbstractButton *>(focused)) {
            return QStringLiteral("the focus is on %1 during a judgement")
                .arg(focused->objectName());
        }
        return {};
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool rightAnswer() { return session_.CurrentIndex > 0 && pick(100) < 60; }

    QWidget *control(Part part, int index = -1) const
    {
        return testing::control(window_.data(), part, index);
    }

    // A click as a child makes it: only on a control that can be seen.
    void click(QWidget *control)
    {
        if (control->isVisible()) {
            QTest::mouseClick(control, Qt::LeftButton);
        }
    }

    void open()
    {
        window_ = new ui::PracticeWindow(session_, {20, 25});
        window_->show();
        window_->activateWindow();
    }

    void reopen(Part closer)
    {
        QPointer<ui::PracticeWindow> closing = window_.data();
        QWidget *button = control(closer);
        if (!button->isVisible()) {
            return;
        }
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(closing.isNull());
        open();
    }

    std::mt19937 rng_;
    drill::ClockRandom random_; // seeded from the player's seed
    drill::Session session_;
    QPointer<ui::PracticeWindow> window_;
    bool startedJudgement_ = false; // the last event was a chart press now being judged
};

} // namespace

class WindowFuzzTest : public QObject
{
    Q_OBJECT

private slots:
    void randomPlayKeepsTheWindowTrue();
};

void WindowFuzzTest::randomPlayKeepsTheWindowTrue()
{
    unsigned first = 1;
    unsigned last = kSeeds;
    if (const QByteArray only = qgetenv("POKOMOJI_WINDOW_FUZZ_SEED"); !only.isEmpty()) {
        first = last = only.toUInt();
    }
    for (unsigned seed = first; seed <= last; ++seed) {
        Player player(seed);
        QStringList events;
        for (int i = 0; i < kEvents; ++i) {
            const QString event = player.step();
            events << (event.isEmpty() ? QStringLiteral("?") : event);
            const QString broken = event.isEmpty()
                                       ? QStringLiteral("a closed window was not destroyed")
                                       : player.check();
            if (!broken.isEmpty()) {
                QFAIL(qPrintable(QStringLiteral("seed %1, event %2: %3\nevents: %4\nreplay: "
                                                "POKOMOJI_WINDOW_FUZZ_SEED=%1")
                                     .arg(seed)
                                     .arg(i + 1)
                                     .arg(broken, events.join(QLatin1Char(' ')))));
            }
        }
    }
}

QTEST_MAIN(WindowFuzzTest)
#include "window_fuzz_test.moc"
