#include <QApplication>
#include <QByteArray>
#include <gtest/gtest.h>

// The tests of this program see a system whose language is English: the environment is set
// before Qt reads the locale, whatever the shell running them speaks.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "en_US.UTF-8");
    for (const char *overriding : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        qunsetenv(overriding);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
