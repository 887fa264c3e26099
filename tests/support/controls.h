#pragma once

// Finds a window's control by the name the design gives it: "Label1", or an
// element of a control array such as "Command1(43)" or "Image3(2)", whose
// elements share one object name and carry their index as a property.

#include <QRegularExpression>
#include <QString>
#include <QWidget>

namespace testing {

inline QWidget *control(const QWidget *root, const QString &name)
{
    static const QRegularExpression element(QStringLiteral(R"re(^(\w+)\((\d+)\)$)re"));
    const QRegularExpressionMatch match = element.match(name);
    if (!match.hasMatch()) {
        return root->findChild<QWidget *>(name);
    }
    const int index = match.captured(2).toInt();
    for (QWidget *candidate : root->findChildren<QWidget *>(match.captured(1))) {
        if (candidate->property("index").toInt() == index) {
            return candidate;
        }
    }
    return nullptr;
}

} // namespace testing
