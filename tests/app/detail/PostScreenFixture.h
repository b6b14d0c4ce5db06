#pragma once

#include "../library/LibraryFixture.h"
#include "PostDetailView.h"
#include "UndoableDelete.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A library with one post screen at a time, shown as on the desktop.
class PostScreenFixture : public LibraryFixture {
protected:
    // The view shown in an active window, so focus behaves as on screen.
    std::unique_ptr<PostDetailView> show(const std::shared_ptr<Post> &post)
    {
        auto view = std::make_unique<PostDetailView>(post, context, pendingDelete);
        view->resize(1100, 700);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        return view;
    }

    // Where the application delivers a key: the focused widget, else the
    // active window (the preview may take activation from the screen).
    static void press(Qt::Key key)
    {
        QWidget *target =
            QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key);
    }

    UndoableDelete pendingDelete;
};
