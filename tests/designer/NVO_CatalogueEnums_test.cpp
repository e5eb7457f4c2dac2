// Every enumerated property of every control of the catalogue refuses a value outside
// its enumeration, as a misspelt key in a form delivers it: the catalogue is iterated,
// so a control added to it later is checked too.

#include "NVO_Catalogue.h"

#include <QtCore/QMetaProperty>
#include <QtWidgets/QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace nvo;

/// The warnings written while it lives.
class TWarningLog
{
public:
    TWarningLog() : FPrevious(qInstallMessageHandler(&Collect)) { Texts().clear(); }
    ~TWarningLog() { qInstallMessageHandler(FPrevious); }
    static QStringList &Texts()
    {
        static QStringList texts;
        return texts;
    }

private:
    static void Collect(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type == QtWarningMsg)
            Texts() << text;
    }
    QtMessageHandler FPrevious;
};

/// Settings that keep an unknown ordinal on purpose: forms of a later version may carry
/// more display types, and the numeric label shows them as fixed point.
const QStringList KeptOrdinals = {QStringLiteral("nvo::TNumLab.DisplayType")};

TEST(CatalogueEnums, EveryEnumeratedPropertyRefusesAValueOutsideItsEnumeration)
{
    for (const TControlEntry &entry : ControlCatalogue()) {
        std::unique_ptr<QWidget> control(entry.Create(nullptr));
        control->setObjectName(QStringLiteral("probe"));
        // The library's own properties; those of Qt's widgets are Qt's affair.
        std::vector<QMetaProperty> own;
        for (const QMetaObject *m = control->metaObject(); m && QByteArray(m->className()).startsWith("nvo::");
             m = m->superClass())
            for (int i = m->propertyOffset(); i < m->propertyCount(); ++i)
                own.push_back(m->property(i));
        for (const QMetaProperty &property : own) {
            const QString name = entry.ClassName + QLatin1Char('.') + QLatin1String(property.name());
            if (!property.isEnumType() || property.isFlagType() || !property.isWritable()
                || KeptOrdinals.contains(name))
                continue;
            const QVariant before = property.read(control.get());
            const TWarningLog warnings;
            property.write(control.get(), QVariant::fromValue(255).value<int>());
            EXPECT_EQ(property.read(control.get()).toInt(), before.toInt()) << name.toStdString();
            EXPECT_EQ(warnings.Texts().size(), 1) << name.toStdString();
            EXPECT_TRUE(warnings.Texts().value(0).contains(QLatin1String(property.name()))) << name.toStdString();
        }
    }
}

} // namespace
