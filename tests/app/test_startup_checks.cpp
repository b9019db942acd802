#include "app/instance_guard.h"
#include "support/temp_folder.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

TEST(InstanceGuard, SecondOwnerRefusedUntilFirstEnds)
{
    TempFolder dir;
    {
        InstanceGuard first(QStringLiteral("kelvocota"), dir.path());
        ASSERT_TRUE(first.acquire());
        InstanceGuard second(QStringLiteral("kelvocota"), dir.path());
        EXPECT_FALSE(second.acquire());
    }
    InstanceGuard third(QStringLiteral("kelvocota"), dir.path());
    EXPECT_TRUE(third.acquire());
}

TEST(InstanceGuard, KilledOwnerDoesNotBlock)
{
    TempFolder dir;
    InstanceGuard probe(QStringLiteral("kelvocota"), dir.path());
    // A separate process takes the lock and is killed; -o keeps the lock out
    // of its child, so the kill alone must release it.
    QProcess holder;
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-o"), probe.lockPath(), QStringLiteral("sleep"), QStringLiteral("5")});
    ASSERT_TRUE(holder.waitForStarted());
    bool refused = false;
    for (int i = 0; i < 100 && !refused; ++i) {
        InstanceGuard g(QStringLiteral("kelvocota"), dir.path());
        refused = !g.acquire();
        if (!refused)
            QThread::msleep(20);
    }
    EXPECT_TRUE(refused);
    holder.kill();
    holder.waitForFinished();
    InstanceGuard after(QStringLiteral("kelvocota"), dir.path());
    bool acquired = false;
    for (int i = 0; i < 100 && !acquired; ++i) {
        acquired = after.acquire();
        if (!acquired)
            QThread::msleep(20);
    }
    EXPECT_TRUE(acquired);
}
