// The accessible interfaces of frames, groups, radio-drawn options and decorations.

#include "accessible.h"

#include "widgets.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace ui {

namespace {

bool decoration(const QWidget *widget)
{
    return qobject_cast<const Picture *>(widget) && widget->accessibleName().isEmpty();
}

// A window or a panel: lists the child controls that are not hidden and are
// not decoration, in the order of the widget's children.
class Container : public QAccessibleWidget
{
public:
    Container(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return int(listed().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = listed();
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(listed().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QList<QWidget *> listed() const
    {
        QList<QWidget *> children;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !child->isHidden() && !decoration(child)) {
                children << child;
            }
        }
        return children;
    }
};

// A button of the program's windows. Only a button on screen and enabled can
// be pressed: a screen reader may hold on to a button it saw earlier, and
// pressing it through its action while it is hidden (the results panel's
// buttons during the next session) must do nothing. While hidden it says it
// is neither enabled nor focusable.
class Button : public QAccessibleWidget
{
public:
    explicit Button(QAbstractButton *button, QAccessible::Role role = QAccessible::Button)
        : QAccessibleWidget(button, role)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return button()->text();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (!widget()->isVisible()) {
            state.disabled = true;
            state.focusable = false;
            state.invisible = true;
        }
        return state;
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} << QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction()) {
            if (widget()->isVisible() && widget()->isEnabled()) {
                button()->click();
            }
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

protected:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

// A checkable button drawn as a push button, told as what it is: a radio
// button named by its caption, checked or not, pressed to choose it.
class RadioButton : public Button
{
public:
    explicit RadioButton(QAbstractButton *button) : Button(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = Button::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget) {
        return nullptr;
    }
    if (widget->isWindow() && widget->windowType() == Qt::Window) {
        return new Container(widget, QAccessible::Window);
    }
    if (qobject_cast<Panel *>(widget)) {
        return new Container(widget, QAccessible::Grouping);
    }
    auto *button = qobject_cast<QAbstractButton *>(widget);
    if (qobject_cast<RaisedButton *>(widget) && button->isCheckable()) {
        return new RadioButton(button);
    }
    // Every other button: all of them are the program's own.
    return button ? new Button(button) : nullptr;
}

} // namespace

void describeWindow(QWidget *window)
{
    QAccessible::installFactory(factory); // Qt keeps one of each factory
    // Qt makes a widget's interface as soon as the widget reports a change,
    // often while it is still being built; such an early interface is
    // dropped so that the next question is answered by the rules above.
    if (QAccessibleInterface *early = QAccessible::queryAccessibleInterface(window)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
    }
}

} // namespace ui
