#include "NVO_FormLoader.h"
#include "NVO_replistview.h"
#include "ui_replistview_form.h"

#include <QtCore/QFile>
#include <gtest/gtest.h>

#include <memory>

namespace {

using nvo::TReportListView;

void ExpectFormValues(const QWidget &form)
{
    const auto *view = form.findChild<TReportListView *>(QStringLiteral("orders"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetNrOfRows(), 12);
    EXPECT_EQ(view->GetNrOfColumns(), 3);
    EXPECT_EQ(view->GetCommonHeader(), QStringLiteral("Orders"));
    EXPECT_TRUE(view->GetCommonHeaderVisible());
    EXPECT_EQ(view->GetCommonHeaderAlignment(), nvo::taLeftJustify);
    EXPECT_EQ(view->GetColumnHeadersHeight(), 127); // clamped
    EXPECT_EQ(view->GetRowSelectMode(), 2);
    EXPECT_EQ(view->GetColorBkgdShaded(), nvo::TColor(13693183));
    // The grid follows the store, whatever order the form set the counts in.
    EXPECT_EQ(view->GetRowCount(), 14);
    EXPECT_EQ(view->GetColCount(), 3);
    EXPECT_EQ(view->GetRowHeights(1), 127);
}

} // namespace

TEST(ReportListViewForm, LoadsFromAUiFileWithItsValues)
{
    QFile file(QStringLiteral(NVO_TEST_SOURCES "/designer/replistview_form.ui"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    nvo::TFormLoader loader;
    loader.clearPluginPaths();
    const std::unique_ptr<QWidget> form(loader.load(&file));
    ASSERT_NE(form, nullptr) << qPrintable(loader.errorString());
    ExpectFormValues(*form);
}

TEST(ReportListViewForm, UicBuildsTheSameForm)
{
    QWidget form;
    Ui::ReportListForm ui;
    ui.setupUi(&form);
    ExpectFormValues(form);
}
