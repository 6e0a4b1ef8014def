// main() of the test programs that draw: a QApplication on the offscreen
// platform (no display needed), the program's fonts, then every GoogleTest
// case. QtTest's event helpers (QTest::keyClick, QSignalSpy) work inside.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/application_setup.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    SetUpApplication(app);
    return RUN_ALL_TESTS();
}
