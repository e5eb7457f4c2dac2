#ifdef NVO_PLUGIN_DIR

#include "NVO_ColorEditor.h"

#include "NVO_Color.h"
#include "NVO_ProgBar.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <gtest/gtest.h>

namespace {

using namespace nvo;
using namespace nvo::designer;

TEST(ColorEditor, ListsTheColourPropertiesOnly)
{
    const TProgBar bar;
    // Not the mapping mode, the colour scheme or the gradient switch, though their
    // names say "Color" too.
    EXPECT_EQ(ColorPropertyNames(&bar),
              QStringList({"ColorBackGnd", "ColorGrid", "ColorMargin", "ColorMin", "ColorMax"}));
    const QLabel label;
    EXPECT_TRUE(ColorPropertyNames(&label).isEmpty());
}

TEST(ColorEditor, ReportsOnlyTheColoursTheUserChangedAndLeavesTheControlAlone)
{
    TProgBar bar;
    const TColor originalMin = bar.GetColorMin();
    TColorPropertiesDialog dialog(&bar);
    dialog.ChooseColor(QStringLiteral("ColorGrid"), clr::BtnFace);
    dialog.ChooseColor(QStringLiteral("ColorMargin"), RGBColor(1, 2, 3));
    dialog.ChooseColor(QStringLiteral("ColorMin"), clr::Red);
    dialog.ChooseColor(QStringLiteral("ColorMin"), originalMin); // changed back
    dialog.ChooseColor(QStringLiteral("NoSuchProperty"), clr::Red);

    const QMap<QString, quint32> expected{{QStringLiteral("ColorGrid"), clr::BtnFace},
                                          {QStringLiteral("ColorMargin"), RGBColor(1, 2, 3)}};
    EXPECT_EQ(dialog.ChangedColors(), expected);
    EXPECT_EQ(bar.GetColorMin(), originalMin);

    // The lists name what is chosen: a system colour by its name, any other colour
    // by its number.
    QStringList shown;
    for (const QComboBox *names : dialog.findChildren<QComboBox *>())
        shown.append(names->currentText());
    EXPECT_TRUE(shown.contains(QStringLiteral("Button face"))) << qPrintable(shown.join(u','));
    EXPECT_TRUE(shown.contains(ColorToString(RGBColor(1, 2, 3)))) << qPrintable(shown.join(u','));
}

} // namespace

#endif // NVO_PLUGIN_DIR
