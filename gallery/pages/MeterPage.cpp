#include "DemoPage.h"
#include "Editors.h"
#include "NVO_Meter.h"
#include "Pages.h"

namespace gallery {

QWidget *CreateMeterPage(QWidget *parent)
{
    using nvo::TMeter;
    auto *page = new TDemoPage(
        QObject::tr("Analog meter (TMeter)"),
        QObject::tr("A needle over a linear or logarithmic scale on an arc of 90 to 360 degrees, "
                    "with a coloured ring for the low, normal and high ranges and a lamp for "
                    "each threshold. The editors drive the first meter: its range starts at 1 "
                    "so that the logarithmic switch is accepted."),
        parent);

    auto *live = new TMeter;
    live->SetMeterMaxValue(100);
    live->SetMeterMinValue(1);
    live->SetThresholdLow(20);
    live->SetThresholdHigh(80);
    live->SetValue(42);
    live->SetCaption(QStringLiteral("kPa"));
    live->SetScaleBkVisible(true);
    live->SetScaleBkWidth(6);
    page->AddInstance(QObject::tr("Live (90°)"), live);

    auto *bands = new TMeter;
    bands->SetMeterLayout(TMeter::mlCirc270);
    bands->SetMeterMaxValue(100);
    bands->SetThresholdLow(25);
    bands->SetThresholdHigh(75);
    bands->SetScaleBkVisible(true);
    bands->SetScaleBkWidth(10);
    bands->SetCaption(QStringLiteral("°C"));
    bands->SetValue(85);
    bands->GetNeedleLayout()->SetShadowDx(2);
    bands->GetNeedleLayout()->SetShadowDy(2);
    page->AddInstance(QObject::tr("270°, range ring,\nhigh limit passed"), bands);

    auto *logarithmic = new TMeter;
    logarithmic->SetMeterLayout(TMeter::mlCirc120);
    logarithmic->SetMeterMaxValue(1000);
    logarithmic->SetMeterMinValue(1);
    logarithmic->SetLogarithmic(true);
    logarithmic->SetMeterDecPlaces(0);
    logarithmic->SetThresholdHigh(1000);
    logarithmic->SetValue(300);
    logarithmic->GetNeedleLayoutSec()->SetColorBody(0x0080FF);
    logarithmic->GetNeedleLayoutSec()->SetVisible(true);
    logarithmic->SetValueSec(20);
    logarithmic->SetCaption(QStringLiteral("Hz"));
    page->AddInstance(QObject::tr("120°, logarithmic,\nsecond needle"), logarithmic);

    auto *dial = new TMeter;
    dial->SetMeterLayout(TMeter::mlCirc360);
    dial->SetMeterMaxValue(60);
    dial->SetMeterNrTicks(6);
    dial->SetMeterDecPlaces(0);
    dial->SetThresholdHigh(50);
    dial->SetThresholdLow(10);
    dial->SetFrameStyle(nvo::TFrameStyle(4));
    dial->SetValue(17);
    page->AddInstance(QObject::tr("360°, double frame"), dial);

    page->AddEditor(QStringLiteral("Value"), SliderPropertyEditor(live, "Value", 0, 100));
    page->AddEditor(QStringLiteral("MeterLayout"), PropertyEditor(live, "MeterLayout"));
    page->AddEditor(QStringLiteral("Logarithmic"), PropertyEditor(live, "Logarithmic"));
    page->AddEditor(QStringLiteral("MeterMinValue"), PropertyEditor(live, "MeterMinValue"));
    page->AddEditor(QStringLiteral("MeterMaxValue"), PropertyEditor(live, "MeterMaxValue"));
    page->AddEditor(QStringLiteral("ThresholdLow"), SliderPropertyEditor(live, "ThresholdLow", 0, 100));
    page->AddEditor(QStringLiteral("ThresholdHigh"), SliderPropertyEditor(live, "ThresholdHigh", 0, 100));
    page->AddEditor(QStringLiteral("MeterNrTicks"), IntPropertyEditor(live, "MeterNrTicks", 0, 25));
    page->AddEditor(QStringLiteral("MeterDecPlaces"), IntPropertyEditor(live, "MeterDecPlaces", 0, 6));
    page->AddEditor(QStringLiteral("ScaleBkVisible"), PropertyEditor(live, "ScaleBkVisible"));
    page->AddEditor(QStringLiteral("ScaleBkWidth"), SliderPropertyEditor(live, "ScaleBkWidth", 0, 100));
    page->AddEditor(QStringLiteral("Caption"), PropertyEditor(live, "Caption"));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    page->AddEditor(QStringLiteral("ColorScheme"), PropertyEditor(live, "ColorScheme"));
    page->AddEditor(QStringLiteral("ColorBakG"), PropertyEditor(live, "ColorBakG"));
    page->AddEditor(QStringLiteral("ColorScale"), PropertyEditor(live, "ColorScale"));
    return page;
}

} // namespace gallery
