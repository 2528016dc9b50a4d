#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs with a QApplication so that painting, fonts and widgets work;
// the offscreen platform keeps it independent of any display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
