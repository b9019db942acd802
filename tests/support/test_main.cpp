#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Every test binary runs on the offscreen platform under Brazilian regional
// settings, also when gtest_discover_tests runs it outside CTest's environment.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
