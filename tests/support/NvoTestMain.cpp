#include "PinnedFont.h"

#include <QtWidgets/QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    // Pixel tests must not depend on the desktop the tests happen to run under.
    for (const char *name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                             "QT_ENABLE_HIGHDPI_SCALING", "QT_AUTO_SCREEN_SCALE_FACTOR"})
        unsetenv(name);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    nvo::test::LoadPinnedFont();
    QApplication::setFont(nvo::test::PinnedFont());
    return RUN_ALL_TESTS();
}
