#pragma once

// Keeps keys from pressing a practice window's buttons for a moment after
// the results come up, when a child does not mean a press.

#include <QObject>

class QTimer;
class QWidget;

namespace ui {

class KeyGuard : public QObject
{
    Q_OBJECT
public:
    // Watches a window, its buttons and its shortcuts, which must all exist.
    KeyGuard(QWidget *window, int holdOffMs);
    // From now on, for the hold-off interval, no key presses anything.
    void holdOff();
    // Keys press again at once.
    void release();
    // Whether keys are held off now.
    bool holdingOff() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTimer *holdOff_; // runs while the keys are held off
};

} // namespace ui
