#include "DemoPage.h"
#include "Editors.h"
#include "NVO_NumIO.h"
#include "Pages.h"

#include <QtWidgets/QLabel>

namespace gallery {

namespace {

nvo::TNumIO *MakeField(nvo::TNumIO::TInFormat format, double low, double high, double value)
{
    auto *field = new nvo::TNumIO;
    field->resize(180, field->sizeHint().height());
    field->SetInputFormat(format);
    field->SetRangeHigh(high);
    field->SetRangeLow(low);
    field->SetValue(value);
    return field;
}

} // namespace

QWidget *CreateNumIOPage(QWidget *parent)
{
    using nvo::TNumIO;
    auto *page = new TDemoPage(
        QObject::tr("Numeric edit field (TNumIO)"),
        QObject::tr("An edit box that only ever holds a number of its input format within "
                    "RangeLow..RangeHigh (zero always passes). A keystroke that makes the text "
                    "invalid is undone at once; with Beep it also sounds. In itDynamic the first "
                    "character chooses: $ hexadecimal, % binary, & octal."),
        parent);

    TNumIO *live = MakeField(TNumIO::itDynamic, -1000, 1000, 12.5);
    live->SetBeep(true);
    page->AddInstance(QObject::tr("Live"), live);
    auto *liveValue = new QLabel;
    const auto showValue = [live, liveValue] {
        liveValue->setText(QObject::tr("Value = %1").arg(live->GetValue(), 0, 'g', 12));
    };
    live->OnChange = [showValue](QObject *) { showValue(); };
    QObject::connect(live, &TNumIO::ValueChanged, liveValue, showValue);
    showValue();
    page->AddInstance(QObject::tr("Live value"), liveValue);

    TNumIO *fixPoint = MakeField(TNumIO::itFixPoint, 0, 1000, 123.45);
    page->AddInstance(QObject::tr("Fixed point, 2 decimals, 0..1000"), fixPoint);

    TNumIO *hex = MakeField(TNumIO::itHex, -1e12, 1e12, 255);
    page->AddInstance(QObject::tr("Hexadecimal"), hex);

    TNumIO *comma = MakeField(TNumIO::itFloat, -100, 100, 1.5);
    comma->SetDecPlaceSep(nvo::dsComma);
    comma->SetValue(1.5); // written again with the separator the field now accepts
    page->AddInstance(QObject::tr("Decimal comma only"), comma);

    TNumIO *integer = MakeField(TNumIO::itInt, -10, 10, 7);
    page->AddInstance(QObject::tr("Integer, -10..10"), integer);

    page->AddEditor(QStringLiteral("InputFormat"), PropertyEditor(live, "InputFormat"));
    // Wider than the property's range, to show that 0 is stored as 1 and 12 as 8.
    page->AddEditor(QStringLiteral("FixPointDecPlaces"), IntPropertyEditor(live, "FixPointDecPlaces", -2, 12));
    page->AddEditor(QStringLiteral("RangeLow"), PropertyEditor(live, "RangeLow"));
    page->AddEditor(QStringLiteral("RangeHigh"), PropertyEditor(live, "RangeHigh"));
    page->AddEditor(QStringLiteral("DecPlaceSep"), PropertyEditor(live, "DecPlaceSep"));
    page->AddEditor(QStringLiteral("Beep"), PropertyEditor(live, "Beep"));
    page->AddEditor(QStringLiteral("Value"), SliderPropertyEditor(live, "Value", -1000, 1000));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "enabled"));
    page->AddEditor(QStringLiteral("ReadOnly"), PropertyEditor(live, "readOnly"));
    return page;
}

} // namespace gallery
