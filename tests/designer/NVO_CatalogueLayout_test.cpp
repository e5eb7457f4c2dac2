// Every control of the catalogue in a plain QVBoxLayout, as an application lays them
// out: the catalogue is iterated, so a control added to it later is checked too.

#include "NVO_Catalogue.h"

#include <QtTest/QTest>
#include <QtWidgets/QVBoxLayout>
#include <QtWidgets/QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace nvo;

/// The controls that show one line of text or one bar: a layout must keep them at
/// their hinted height, as it keeps a QLineEdit.
const QStringList SingleLineControls = {QStringLiteral("nvo::TNumIO"), QStringLiteral("nvo::TNumIO2"),
                                        QStringLiteral("nvo::TNumLab"), QStringLiteral("nvo::TProgBar"),
                                        QStringLiteral("nvo::TColSel")};

TEST(CatalogueLayout, EveryControlKeepsItsMinimumAndSingleLinesTheirHeight)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    std::vector<std::pair<QString, QWidget *>> controls;
    for (const TControlEntry &entry : ControlCatalogue()) {
        QWidget *control = entry.Create(&window);
        ASSERT_NE(control, nullptr) << entry.ClassName.toStdString();
        layout->addWidget(control);
        controls.emplace_back(entry.ClassName, control);
    }
    for (const auto &[name, control] : controls) {
        const QSize minimum = control->minimumSizeHint();
        EXPECT_GT(minimum.width(), 0) << name.toStdString();
        EXPECT_GT(minimum.height(), 0) << name.toStdString();
        if (SingleLineControls.contains(name))
            EXPECT_EQ(control->sizePolicy().verticalPolicy(), QSizePolicy::Fixed) << name.toStdString();
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // Squeezed to the layout's minimum, at its hint, and tall and wide.
    const QSize hint = layout->sizeHint();
    for (const QSize size : {QSize(1, 1), hint, QSize(hint.width() * 2, hint.height() * 3)}) {
        window.resize(size);
        layout->activate();
        for (const auto &[name, control] : controls) {
            const std::string what = name.toStdString() + " in a window of " + std::to_string(window.width())
                                     + " x " + std::to_string(window.height());
            EXPECT_GT(control->height(), 0) << what;
            EXPECT_GE(control->width(), control->minimumSizeHint().width()) << what;
            EXPECT_GE(control->height(), control->minimumSizeHint().height()) << what;
            if (control->sizePolicy().verticalPolicy() == QSizePolicy::Fixed)
                EXPECT_EQ(control->height(), control->sizeHint().height()) << what;
        }
    }
}

} // namespace
