// What assistive technology reads from every control of the catalogue: the catalogue is
// iterated, so a control added to it later is checked too.

#include "NVO_Catalogue.h"

#include <QtCore/QMetaProperty>
#include <QtGui/QAccessible>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>
#include <QtWidgets/QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using namespace nvo;

/// Controls named by their own caption, as Qt's buttons and trees are, not by a label.
const QStringList NamedByOwnText = {QStringLiteral("nvo::TOnOffBut"), QStringLiteral("nvo::TRepSpeedButton"),
                                    QStringLiteral("nvo::TFolderTree")};

TEST(CatalogueAccessibility, EveryControlAnswersWithRoleNameAndValue)
{
    for (const TControlEntry &entry : ControlCatalogue()) {
        const std::string what = entry.ClassName.toStdString();
        QWidget form;
        auto *layout = new QVBoxLayout(&form);
        QWidget *control = entry.Create(&form);
        layout->addWidget(control);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(iface, nullptr) << what;
        EXPECT_NE(iface->role(), QAccessible::Client) << what;
        // Named by its caption or a description without help (an edit field or a table
        // is named by its label, as Qt's own are), and by the label that names the
        // control as its buddy; buttons and trees carry their own text instead.
        if (!NamedByOwnText.contains(entry.ClassName)) {
            if (iface->role() != QAccessible::EditableText && iface->role() != QAccessible::Table)
                EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty()) << what;
            auto *label = new QLabel(QStringLiteral("&Reading"), &form);
            label->setBuddy(control);
            EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Reading")) << what;
        }
        // A numeric control's value interface holds its main value.
        const QMetaProperty user = control->metaObject()->userProperty();
        if (QAccessibleValueInterface *value = iface->valueInterface()) {
            ASSERT_TRUE(user.isValid()) << what;
            EXPECT_EQ(value->currentValue().toDouble(), user.read(control).toDouble()) << what;
            EXPECT_LE(value->minimumValue().toDouble(), value->maximumValue().toDouble()) << what;
        }
    }
}

TEST(CatalogueAccessibility, AValueSetThroughTheValueInterfaceReachesTheControl)
{
    // (The value change events the controls send cannot be watched here: Qt drops them
    // unless a platform accessibility bridge is active, which the offscreen one is not.)
    for (const TControlEntry &entry : ControlCatalogue()) {
        const std::string what = entry.ClassName.toStdString();
        std::unique_ptr<QWidget> control(entry.Create(nullptr));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control.get());
        ASSERT_NE(iface, nullptr) << what;
        QAccessibleValueInterface *value = iface->valueInterface();
        if (!value)
            continue;
        // Halfway through the range, or one more where the range has no middle.
        const double low = value->minimumValue().toDouble(), high = value->maximumValue().toDouble();
        const double before = value->currentValue().toDouble();
        const double wanted = low < high && std::isfinite(high - low) ? low + (high - low) / 2 : before + 1;
        value->setCurrentValue(wanted);
        const QVariant now = control->metaObject()->userProperty().read(control.get());
        if (now.toDouble() != before) // else refused, as by a field whose range holds only 0
            EXPECT_EQ(now.toDouble(), wanted) << what;
        EXPECT_EQ(value->currentValue().toDouble(), now.toDouble()) << what;
    }
}

} // namespace
