#include "NVO_Control.h"
#include "NVO_FormLoader.h"
#include "NVO_Meter.h"
#include "NVO_NumLab.h"
#include "PixelProbe.h"
#include "ui_meter_form.h"
#include "ui_numlab_form.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtWidgets/QLabel>
#include <gtest/gtest.h>

#include <memory>

namespace {

using nvo::TNumLab;

std::unique_ptr<QWidget> LoadForm(QIODevice &device)
{
    nvo::TFormLoader loader;
    // Without the plugin folder: the loader itself must know the controls.
    loader.clearPluginPaths();
    std::unique_ptr<QWidget> form(loader.load(&device));
    EXPECT_NE(form, nullptr) << qPrintable(loader.errorString());
    return form;
}

std::unique_ptr<QWidget> LoadFixture(const QString &name)
{
    // An absolute path from the build: __FILE__ may be relative under ccache.
    QFile file(QStringLiteral(NVO_TEST_SOURCES "/designer/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    return LoadForm(file);
}

/// A form holding one numeric label named "label" with the given property elements.
TNumLab *LoadLabel(const QString &properties, std::unique_ptr<QWidget> &form)
{
    QByteArray xml = QStringLiteral(R"(<ui version="4.0"><widget class="QWidget" name="form">)"
                                    R"(<widget class="nvo::TNumLab" name="label">%1</widget></widget></ui>)")
                         .arg(properties)
                         .toUtf8();
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    form = LoadForm(buffer);
    return form ? form->findChild<TNumLab *>(QStringLiteral("label")) : nullptr;
}

/// The values numlab_form.ui gives its two labels, whichever way the form was built.
void ExpectFixtureValues(const QWidget &form)
{
    const TNumLab *voltage = form.findChild<TNumLab *>(QStringLiteral("voltage"));
    ASSERT_NE(voltage, nullptr);
    EXPECT_EQ(voltage->GetValue(), -1234.5);
    EXPECT_EQ(voltage->GetDisplayType(), TNumLab::dtExp);
    EXPECT_EQ(voltage->GetPrecision(), 4);
    EXPECT_TRUE(voltage->GetComma());
    EXPECT_EQ(voltage->GetLabelWidth(), 120);
    EXPECT_EQ(voltage->GetLeftText(), QStringLiteral("U₁"));
    EXPECT_EQ(voltage->GetRightText(), QStringLiteral("mV"));
    EXPECT_EQ(voltage->GetFrameStyle(), nvo::fsRaised);
    EXPECT_EQ(voltage->GetColorLabBakG(), nvo::RGBColor(0xFF, 0xF0, 0xD0));
    EXPECT_EQ(voltage->geometry(), QRect(10, 30, 250, 28));
    // What the form leaves out keeps its default.
    EXPECT_EQ(voltage->GetLeftSpace(), 35);
    EXPECT_EQ(voltage->GetColorLabText(), nvo::clr::Black);

    // The second label spells its enums as numbers; its precision goes through the
    // setter's clamp like any assignment; the value reaches the formatting.
    const TNumLab *current = form.findChild<TNumLab *>(QStringLiteral("current"));
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->GetDisplayType(), TNumLab::dtInt);
    EXPECT_EQ(current->GetPrecision(), 15);
    EXPECT_EQ(current->GetFrameStyle(), nvo::fsEmbossed);
    EXPECT_EQ(current->GetColorLabBakG(), nvo::clr::DkShadow3D);
    EXPECT_EQ(current->DisplayText(), QStringLiteral("2"));

    // Controls of a running application; other classes are Qt's own.
    EXPECT_FALSE(nvo::IsDesigning(voltage));
    const QLabel *caption = form.findChild<QLabel *>(QStringLiteral("caption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), QStringLiteral("Supply"));
}

TEST(FormLoader, LoadsTheNumLabFixtureWithExactlyItsValues)
{
    const std::unique_ptr<QWidget> form = LoadFixture(QStringLiteral("numlab_form.ui"));
    ASSERT_NE(form, nullptr);
    ExpectFixtureValues(*form);
}

TEST(FormLoader, UicBuildsTheSameFormFromTheFixture)
{
    QWidget form;
    Ui::NumLabForm ui;
    ui.setupUi(&form);
    ExpectFixtureValues(form);
}

/// The meter of meter_form.ui as a program sets it up, range first. The form lists
/// the same properties in an order that setters clamping at once would spoil: the
/// value and thresholds before the range, the logarithmic scale before a minimum
/// with a logarithm, the rims after the layout, the ring's width before the ring.
void SetUpTheFormsMeter(nvo::TMeter &meter)
{
    meter.resize(320, 240);
    meter.SetRimTop(20);
    meter.SetMeterLayout(nvo::TMeter::mlCirc270);
    meter.SetMeterMinValue(10);
    meter.SetMeterMaxValue(20);
    meter.SetLogarithmic(true);
    meter.SetThresholdLow(12);
    meter.SetThresholdHigh(18);
    meter.SetValue(19);
    meter.SetScaleBkVisible(true);
    meter.SetScaleBkWidth(12);
    meter.SetMeterDecPlaces(0);
    meter.SetCaption(QStringLiteral("bar"));
    meter.SetColorSclBkHigh(nvo::RGBColor(0x80, 0, 0x80));
}

/// The form's meter has every property, the lamps, the geometry and the picture of
/// the meter set up in code.
void ExpectTheMeterSetUpInCode(const QWidget &form)
{
    auto *loaded = form.findChild<nvo::TMeter *>(QStringLiteral("meter"));
    ASSERT_NE(loaded, nullptr);
    nvo::TMeter coded;
    SetUpTheFormsMeter(coded);
    EXPECT_TRUE(nvo::test::Grab(loaded) == nvo::test::Grab(&coded)) << "the pictures differ";
    const QMetaObject *meta = coded.metaObject();
    for (int i = nvo::TControl::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.metaType().flags().testFlag(QMetaType::PointerToQObject))
            continue; // the needle layouts: each meter has its own
        const QVariant value = property.read(loaded), expected = property.read(&coded);
        EXPECT_EQ(value, expected) << property.name() << ": " << qPrintable(value.toString()) << " instead of "
                                   << qPrintable(expected.toString());
    }
    EXPECT_TRUE(loaded->Overflow()); // 19 passes the high threshold 18
    EXPECT_EQ(loaded->Overflow(), coded.Overflow());
    EXPECT_EQ(loaded->Underflow(), coded.Underflow());
    const nvo::TMeterGeometry g = loaded->Geometry(), expected = coded.Geometry();
    EXPECT_EQ(QRect(g.CenterX, g.CenterY, g.Sweep, qRound(g.Radius * 1000)),
              QRect(expected.CenterX, expected.CenterY, expected.Sweep, qRound(expected.Radius * 1000)));
}

TEST(FormLoader, AMeterFormInAnyOrderGivesTheMeterSetUpInCode)
{
    const std::unique_ptr<QWidget> form = LoadFixture(QStringLiteral("meter_form.ui"));
    ASSERT_NE(form, nullptr);
    ExpectTheMeterSetUpInCode(*form);
}

TEST(FormLoader, UicBuildsTheSameMeterFromTheForm)
{
    QWidget form;
    Ui::MeterForm ui;
    ui.setupUi(&form);
    ExpectTheMeterSetUpInCode(form);
}

// Which spellings of enum and colour values a form may use at run time. Enums
// declared with Q_ENUM in the control's class and with Q_ENUM_NS in the library's
// namespace take the key with or without its scope, or the ordinal as a number
// (uic pastes an <enum> into C++, so a form that is also compiled needs the fully
// qualified key, as Designer writes it). A TColor is an unsigned 32-bit value:
// system colours (top byte 0xFF) need <UInt>, as Designer writes it; plain RGB
// values also load from <number>.
TEST(FormLoader, AcceptsTheEnumAndColourSpellingsFormsUse)
{
    const struct {
        const char *property;
        const char *element;
        quint32 expected;
    } cases[] = {
        {"DisplayType", "<enum>nvo::TNumLab::dtExp</enum>", TNumLab::dtExp},
        {"DisplayType", "<enum>TNumLab::dtHex</enum>", TNumLab::dtHex},
        {"DisplayType", "<enum>dtBin</enum>", TNumLab::dtBin},
        {"DisplayType", "<number>5</number>", TNumLab::dtInt},
        {"FrameStyle", "<enum>nvo::fsRaised</enum>", nvo::fsRaised},
        {"FrameStyle", "<enum>nvo::TFrameStyle::fsEngraved</enum>", nvo::fsEngraved},
        {"FrameStyle", "<enum>fsNone</enum>", nvo::fsNone},
        {"FrameStyle", "<number>1</number>", nvo::fsSimple},
        {"ColorScheme", "<enum>nvo::csSystem</enum>", nvo::csSystem},
        {"ColorLabText", "<UInt>4278190095</UInt>", nvo::clr::BtnFace},
        {"ColorLabText", "<number>255</number>", nvo::clr::Red},
        {"LeftTextAlignment", "<number>2</number>", nvo::taCenter},
        {"Alignment", "<enum>nvo::taLeftJustify</enum>", nvo::taLeftJustify},
        {"RightTextAlignment", "<enum>taRightJustify</enum>", nvo::taRightJustify},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.property) + " " + c.element);
        std::unique_ptr<QWidget> form;
        const TNumLab *label = LoadLabel(QStringLiteral(R"(<property name="%1" stdset="0">%2</property>)")
                                             .arg(QLatin1String(c.property), QLatin1String(c.element)),
                                         form);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->property(c.property).toUInt(), c.expected);
    }
}

TEST(FormLoader, ReportsAFailingConstructorAndKeepsAStandIn)
{
    // A control that cannot be built must not throw through Qt's form builder.
    struct FailingLoader : nvo::TFormLoader {
        QWidget *CreateLibraryControl(const QString &, QWidget *) override
        {
            throw nvo::Exception(QStringLiteral("Component \"label\": not enough memory on heap"));
        }
    };
    QString reported;
    nvo::SetApplicationExceptionHandler([&](const std::exception &error) { reported = QString::fromUtf8(error.what()); });
    QByteArray xml = QByteArrayLiteral(R"(<ui version="4.0"><widget class="QWidget" name="form">)"
                                       R"(<widget class="nvo::TNumLab" name="label"/></widget>)"
                                       R"(<customwidgets><customwidget><class>nvo::TNumLab</class>)"
                                       R"(<extends>QWidget</extends></customwidget></customwidgets></ui>)");
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    FailingLoader loader;
    const std::unique_ptr<QWidget> form(loader.load(&buffer));
    nvo::SetApplicationExceptionHandler(nullptr);

    ASSERT_NE(form, nullptr);
    EXPECT_EQ(reported, QStringLiteral("Component \"label\": not enough memory on heap"));
    const QWidget *standIn = form->findChild<QWidget *>(QStringLiteral("label"));
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(qobject_cast<const TNumLab *>(standIn), nullptr);
}

} // namespace
