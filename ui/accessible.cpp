// The accessible interfaces of frames, groups, radio-drawn options and decorations.

#include "accessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

#include <optional>

namespace ui {

namespace {

const char *const kKindProperty = "pokomojiAccessibleKind";

std::optional<AccessibleKind> kindOf(const QObject *object)
{
    const QVariant kind = object->property(kKindProperty);
    if (!kind.isValid()) {
        return std::nullopt;
    }
    return static_cast<AccessibleKind>(kind.toInt());
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
            if (child && !child->isWindow() && !child->isHidden() &&
                kindOf(child) != AccessibleKind::Decoration) {
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
    const std::optional<AccessibleKind> kind = widget ? kindOf(widget) : std::nullopt;
    if (!kind) {
        // Every other button: all of them are the program's own.
        if (auto *button = qobject_cast<QAbstractButton *>(object)) {
            return new Button(button);
        }
        return nullptr;
    }
    switch (*kind) {
    case AccessibleKind::Frame:
        return new Container(widget, QAccessible::Window);
    case AccessibleKind::Group:
        return new Container(widget, QAccessible::Grouping);
    case AccessibleKind::RadioButton:
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            return new RadioButton(button);
        }
        return nullptr;
    case AccessibleKind::Standard:
    case AccessibleKind::Decoration:
        return nullptr;
    }
    return nullptr;
}

} // namespace

void setAccessibleKind(QWidget *widget, AccessibleKind kind)
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kKindProperty, static_cast<int>(kind));
    // Qt makes a widget's interface as soon as the widget reports a change,
    // often while it is still being built; such an early interface is
    // dropped so that the next question is answered by the kind set here.
    if (QAccessibleInterface *early = QAccessible::queryAccessibleInterface(widget)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
    }
}

} // namespace ui
