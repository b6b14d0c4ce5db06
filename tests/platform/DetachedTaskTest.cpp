#include "DetachedTask.h"
#include "StoreError.h"

#include <QCoro/QCoroTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

Q_LOGGING_CATEGORY(testLog, "DetachedTaskTest")

QStringList logged;

QCoro::Task<> failingLater()
{
    co_await QCoro::sleepFor(std::chrono::milliseconds(1));
    throw StoreError(QStringLiteral("disk is full"));
}

TEST(DetachedTaskTest, WhatATaskNobodyAwaitsThrowsIsLogged)
{
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { logged.append(message); });
    DetachedTask::start(failingLater(), QStringLiteral("saving the library"), testLog());
    const bool arrived = QTest::qWaitFor([] { return !logged.isEmpty(); }, 10000);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(arrived);
    EXPECT_EQ(logged, QStringList{"saving the library failed: disk is full"});
}

} // namespace
