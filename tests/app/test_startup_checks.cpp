#include "app/instance_guard.h"
#include "support/fixtures.h"
#include "support/temp_folder.h"

#include <QProcess>

#include <gtest/gtest.h>

TEST(InstanceGuard, SecondOwnerRefusedUntilFirstEnds)
{
    TempFolder dir;
    {
        InstanceGuard first(QStringLiteral("kelvocota"), dir.path());
        ASSERT_TRUE(first.acquire());
        EXPECT_TRUE(first.acquire());
        InstanceGuard second(QStringLiteral("kelvocota"), dir.path());
        EXPECT_FALSE(second.acquire());
    }
    InstanceGuard third(QStringLiteral("kelvocota"), dir.path());
    EXPECT_TRUE(third.acquire());
}

TEST(InstanceGuard, KilledOwnerDoesNotBlock)
{
    TempFolder dir;
    QProcess holder;
    holder.start(instanceHolderPath(), { dir.path() });
    ASSERT_TRUE(holder.waitForReadyRead(30000)) << "the holder said nothing";
    ASSERT_EQ(holder.readLine().trimmed(), "held");

    // Another program's copy that is alive keeps the lock.
    InstanceGuard whileAlive(QStringLiteral("kelvocota"), dir.path());
    EXPECT_FALSE(whileAlive.acquire());

    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(30000));
    InstanceGuard after(QStringLiteral("kelvocota"), dir.path());
    EXPECT_TRUE(after.acquire());
}

TEST(InstanceGuard, NoPlaceForTheLockNeverKeepsTheSupplierOut)
{
    TempFolder dir;
    InstanceGuard guard(QStringLiteral("kelvocota"), dir.file(QStringLiteral("no/such/folder")));
    EXPECT_TRUE(guard.acquire());
}
