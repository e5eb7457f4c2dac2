#include "DemoPage.h"
#include "Editors.h"
#include "NVO_sevenseg.h"
#include "Pages.h"

#include <QtCore/QTime>
#include <QtCore/QTimer>

namespace gallery {

namespace {

nvo::TSevenSeg *MakeDisplay(const QString &caption, int numDigits, QSize size)
{
    auto *display = new nvo::TSevenSeg;
    display->resize(size);
    display->SetNumDigits(numDigits);
    display->SetCaption(caption);
    return display;
}

} // namespace

QWidget *CreateSevenSegPage(QWidget *parent)
{
    using nvo::TSevenSeg;
    auto *page = new TDemoPage(
        QObject::tr("Seven-segment display (TSevenSeg)"),
        QObject::tr("A row of slanted seven-segment digits with decimal points. Glyphs are composed "
                    "once from segment pictures and reduced into a cache; a paint only copies "
                    "cache cells. Shows 0-9, A-F, \"-\", \"+\", \":\" and \"\u00B0\"."),
        parent);

    TSevenSeg *live = MakeDisplay(QStringLiteral("8.8.8.8."), 4, QSize(216, 76));
    page->AddInstance(QObject::tr("Live"), live);

    TSevenSeg *clock = MakeDisplay(QString(), 8, QSize(320, 64));
    clock->SetColorText(nvo::clr::Lime);
    clock->SetColorBackGnd(nvo::RGBColor(0x10, 0x18, 0x10));
    clock->SetInterDigDist(4);
    const auto showTime = [clock] { clock->SetCaption(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); };
    showTime();
    auto *tick = new QTimer(clock);
    QObject::connect(tick, &QTimer::timeout, clock, showTime);
    tick->start(1000);
    page->AddInstance(QObject::tr("Clock"), clock);

    TSevenSeg *temperature = MakeDisplay(QStringLiteral("-12.5\u00B0C"), 6, QSize(240, 60));
    temperature->SetColorText(nvo::RGBColor(0xFF, 0xB0, 0x20));
    temperature->SetColorBackGnd(nvo::clr::Black);
    temperature->SetFrameStyle(nvo::fsRaised);
    page->AddInstance(QObject::tr("Degree sign, amber"), temperature);

    TSevenSeg *hex = MakeDisplay(QStringLiteral("dEAd.bEEF"), 8, QSize(280, 44));
    hex->SetColorText(nvo::RGBColor(0x40, 0xC0, 0xFF));
    hex->SetColorBackGnd(nvo::RGBColor(0x08, 0x10, 0x20));
    hex->SetMargin(4);
    page->AddInstance(QObject::tr("Hexadecimal, lower case"), hex);

    TSevenSeg *crowded = MakeDisplay(QStringLiteral("1234567890"), 32, QSize(216, 40));
    crowded->SetInterDigDist(8);
    page->AddInstance(QObject::tr("No room: background and frame only"), crowded);

    page->AddEditor(QStringLiteral("Caption"), PropertyEditor(live, "Caption"));
    page->AddEditor(QStringLiteral("NumDigits"), IntPropertyEditor(live, "NumDigits", 0, 33));
    page->AddEditor(QStringLiteral("Margin"), IntPropertyEditor(live, "Margin", 0, 40));
    page->AddEditor(QStringLiteral("InterDigDist"), IntPropertyEditor(live, "InterDigDist", 0, 40));
    page->AddEditor(QStringLiteral("ColorText"), PropertyEditor(live, "ColorText"));
    page->AddEditor(QStringLiteral("ColorBackGnd"), PropertyEditor(live, "ColorBackGnd"));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    return page;
}

} // namespace gallery
