#pragma once

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

// The view's descendant of that object name; the test fails when there is none.
template <typename T = QWidget> T *part(const QWidget &view, const QString &name)
{
    T *widget = view.findChild<T *>(name);
    EXPECT_TRUE(widget) << name.toStdString();
    return widget;
}

// Whether the part is not hidden; its window need not be on screen.
inline bool shows(const QWidget &view, const QString &name)
{
    QWidget *widget = part(view, name);
    return widget && !widget->isHidden();
}
