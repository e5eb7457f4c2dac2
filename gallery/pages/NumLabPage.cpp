#include "DemoPage.h"
#include "Editors.h"
#include "NVO_NumLab.h"
#include "Pages.h"

namespace gallery {

namespace {

nvo::TNumLab *MakeLabel(const QString &left, double value, const QString &right)
{
    auto *label = new nvo::TNumLab;
    label->resize(260, 28);
    label->SetLabelWidth(130);
    label->SetLeftText(left);
    label->SetRightText(right);
    label->SetValue(value);
    return label;
}

} // namespace

QWidget *CreateNumLabPage(QWidget *parent)
{
    using nvo::TNumLab;
    auto *page = new TDemoPage(
        QObject::tr("Numeric label (TNumLab)"),
        QObject::tr("One value in a framed box between two texts. The value is formatted by "
                    "DisplayType and Precision; a text too wide for the box shows the overflow "
                    "indicator."),
        parent);

    TNumLab *live = MakeLabel(QStringLiteral("U"), 12.345, QStringLiteral("V"));
    page->AddInstance(QObject::tr("Live"), live);

    TNumLab *comma = MakeLabel(QStringLiteral("P"), 1234.5, QStringLiteral("kW"));
    comma->SetPrecision(1);
    comma->SetComma(true);
    comma->SetForcePlusSign(true);
    page->AddInstance(QObject::tr("Comma, plus sign"), comma);

    TNumLab *exponent = MakeLabel(QStringLiteral("f"), 1234.5, QStringLiteral("Hz"));
    exponent->SetDisplayType(TNumLab::dtExp);
    exponent->SetPrecision(3);
    page->AddInstance(QObject::tr("Scientific"), exponent);

    TNumLab *overflow = MakeLabel(QStringLiteral("n"), 123456789.0, QStringLiteral("rpm"));
    overflow->SetLabelWidth(60);
    page->AddInstance(QObject::tr("Overflow"), overflow);

    TNumLab *state = MakeLabel(QStringLiteral("Pump"), 0, QString());
    state->SetLeftSpace(50);
    state->SetDisplayType(TNumLab::dtState);
    state->SetStateText(QStringLiteral("running"));
    state->SetColorLabBakG(nvo::RGBColor(0xC8, 0xF0, 0xC8));
    state->SetFrameStyle(nvo::fsRaised);
    page->AddInstance(QObject::tr("State, raised frame"), state);

    TNumLab *disabled = MakeLabel(QStringLiteral("T"), -3.5, QStringLiteral("°C"));
    disabled->SetEnabled(false);
    page->AddInstance(QObject::tr("Disabled"), disabled);

    TNumLab *empty = MakeLabel(QStringLiteral("I"), 0, QStringLiteral("A"));
    empty->SetEmpty(true);
    empty->SetColorScheme(nvo::csSystem);
    page->AddInstance(QObject::tr("Empty, system colours"), empty);

    page->AddEditor(QStringLiteral("Value"), SliderPropertyEditor(live, "Value", -1000, 1000));
    page->AddEditor(QStringLiteral("DisplayType"), PropertyEditor(live, "DisplayType"));
    // Wider than the property's range, to show that 20 is stored as 15 and -1 is ignored.
    page->AddEditor(QStringLiteral("Precision"), IntPropertyEditor(live, "Precision", -5, 25));
    page->AddEditor(QStringLiteral("LabelWidth"), IntPropertyEditor(live, "LabelWidth", 0, 260));
    page->AddEditor(QStringLiteral("LeftText"), PropertyEditor(live, "LeftText"));
    page->AddEditor(QStringLiteral("RightText"), PropertyEditor(live, "RightText"));
    page->AddEditor(QStringLiteral("Comma"), PropertyEditor(live, "Comma"));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    page->AddEditor(QStringLiteral("ColorLabBakG"), PropertyEditor(live, "ColorLabBakG"));
    page->AddEditor(QStringLiteral("ColorLabText"), PropertyEditor(live, "ColorLabText"));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "Enabled"));
    return page;
}

} // namespace gallery
