#pragma once

#include <QCheckBox>
#include <QString>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
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

// Clicks the switch's box, where a user clicks: a switch spans its row, but
// only its box and text take clicks.
inline void clickSwitch(QCheckBox *box)
{
    ASSERT_TRUE(box);
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}
