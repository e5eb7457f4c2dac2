#include "DemoPage.h"
#include "Editors.h"
#include "NVO_NumIO2.h"
#include "Pages.h"

#include <QtWidgets/QLabel>

namespace gallery {

namespace {

nvo::TNumIO2 *MakeField(nvo::TInFormat format, double value)
{
    auto *field = new nvo::TNumIO2;
    field->resize(240, 28);
    field->SetInputFormat(format);
    field->SetValue(value);
    return field;
}

} // namespace

QWidget *CreateNumIO2Page(QWidget *parent)
{
    using nvo::TNumIO2;
    auto *page = new TDemoPage(
        QObject::tr("Custom numeric field (TNumIO2)"),
        QObject::tr("A field that draws everything itself: side texts, the number with caret and "
                    "selection, spin buttons and a gauge. A keystroke that leaves no number of the "
                    "input format is undone; a value outside RangeLow..RangeHigh shows in the "
                    "warning colours. Click the spin buttons, or drag along the gauge."),
        parent);

    TNumIO2 *live = MakeField(TNumIO2::itFloat, 250);
    live->resize(240, 40);
    live->SetLeftText(QStringLiteral("U ="));
    live->SetRightText(QStringLiteral("V"));
    live->SetButVisible(true);
    live->SetGaugeVisible(true);
    live->SetGaugeWidth(158);
    live->SetButIncrem(25);
    live->SetBeep(true);
    page->AddInstance(QObject::tr("Live: spin buttons and gauge"), live);
    auto *liveValue = new QLabel;
    const auto showValue = [live, liveValue] {
        liveValue->setText(QObject::tr("Value = %1").arg(live->GetValue(), 0, 'g', 12));
    };
    QObject::connect(live, &TNumIO2::ValueChanged, liveValue, showValue);
    showValue();
    page->AddInstance(QObject::tr("Live value"), liveValue);

    TNumIO2 *pivots = MakeField(TNumIO2::itFixPoint, 10);
    pivots->resize(240, 40);
    pivots->ButtonPivots = {0, 10, 20, 50, 100, 200, 500, 1000};
    pivots->SetButVisible(true);
    pivots->SetGaugeVisible(true);
    pivots->SetGaugeWidth(158);
    pivots->SetGaugeFrameStyle(nvo::fsRaised);
    pivots->SetLeftText(QStringLiteral("R ="));
    pivots->SetRightText(QStringLiteral("\u03A9"));
    page->AddInstance(QObject::tr("Fixed point, pivots 0 10 20 50 ... 1000"), pivots);

    TNumIO2 *dynamic = MakeField(TNumIO2::itDynamic, 31);
    dynamic->SetText(QStringLiteral("$1F"));
    dynamic->SetRangeLow(-1e9);
    dynamic->SetRangeHigh(1e9);
    dynamic->SetLeftText(QStringLiteral("n ="));
    page->AddInstance(QObject::tr("Dynamic: $ hex, % binary, & octal"), dynamic);

    TNumIO2 *warn = MakeField(TNumIO2::itExp, 1234.5);
    warn->SetLeftText(QStringLiteral("f ="));
    warn->SetTextBoxWidth(110);
    warn->SetAlignment(nvo::taRightJustify);
    page->AddInstance(QObject::tr("Exponent, out of range"), warn);

    page->AddEditor(QStringLiteral("InputFormat"), PropertyEditor(live, "InputFormat"));
    page->AddEditor(QStringLiteral("FixPointDecPlaces"), IntPropertyEditor(live, "FixPointDecPlaces", 0, 20));
    page->AddEditor(QStringLiteral("DecPlaceSep"), PropertyEditor(live, "DecPlaceSep"));
    page->AddEditor(QStringLiteral("Value"), SliderPropertyEditor(live, "Value", -100, 1100));
    page->AddEditor(QStringLiteral("Alignment"), PropertyEditor(live, "Alignment"));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    page->AddEditor(QStringLiteral("GaugeFrameStyle"), PropertyEditor(live, "GaugeFrameStyle"));
    page->AddEditor(QStringLiteral("ButVisible"), PropertyEditor(live, "ButVisible"));
    page->AddEditor(QStringLiteral("GaugeVisible"), PropertyEditor(live, "GaugeVisible"));
    page->AddEditor(QStringLiteral("ReadOnly"), PropertyEditor(live, "ReadOnly"));
    page->AddEditor(QStringLiteral("HideSelection"), PropertyEditor(live, "HideSelection"));
    page->AddEditor(QStringLiteral("ColorScheme"), PropertyEditor(live, "ColorScheme"));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "Enabled"));
    return page;
}

} // namespace gallery
