#include "DemoPage.h"
#include "Editors.h"
#include "NVO_MiniCal.h"
#include "Pages.h"

namespace gallery {

namespace {

nvo::TMiniCal *MakeCalendar(nvo::TLanguage language, const QDate &date)
{
    auto *calendar = new nvo::TMiniCal;
    calendar->SetLanguage(language);
    calendar->SetSelectedDate(date);
    return calendar;
}

} // namespace

QWidget *CreateMiniCalPage(QWidget *parent)
{
    using nvo::TMiniCal;
    auto *page = new TDemoPage(
        QObject::tr("Mini calendar (TMiniCal)"),
        QObject::tr("One month with ISO week numbers and weekday headings in English, German, "
                    "French or Spanish. The buttons step a year or a month, \"#\" goes to today; "
                    "a click on a grey day switches to its month. Holidays (eight by default, "
                    "and the feasts that move with Easter) are shaded and named in the tool tip; "
                    "today has a red ring. Keys: arrows, Page Up/Down, Ctrl+Page Up/Down, Home, End."),
        parent);

    auto *live = new TMiniCal;
    page->AddInstance(QObject::tr("Live (English)"), live);

    TMiniCal *german = MakeCalendar(nvo::lgGerman, QDate(2025, 6, 9));
    german->SetShowMonthShort(false);
    page->AddInstance(QObject::tr("German, Whit Monday"), german);

    TMiniCal *french = MakeCalendar(nvo::lgFrench, QDate(2025, 4, 21));
    page->AddInstance(QObject::tr("French, Easter Monday"), french);

    TMiniCal *spanish = MakeCalendar(nvo::lgSpanish, QDate(2025, 12, 8));
    spanish->SetFirstDayOfWeek(TMiniCal::dwSun);
    page->AddInstance(QObject::tr("Spanish, from Sunday"), spanish);

    TMiniCal *own = MakeCalendar(nvo::lgEnglish, QDate(2025, 7, 4));
    own->AddHoliday(4, 7, 2025, QStringLiteral("Company picnic"));
    own->AddRepeatHoliday(14, 7, QStringLiteral("Summer fair"));
    own->AddRepeatHoliday(31, 7, QStringLiteral("Founders' day"));
    own->SetColorHolidayBg(nvo::RGBColor(0xC8, 0xF0, 0xC8));
    own->SetColorHolidayFg(nvo::RGBColor(0x00, 0x60, 0x00));
    own->SetShowMovableHolidays(false);
    page->AddInstance(QObject::tr("Added holidays,\nno movable feasts"), own);

    page->AddEditor(QStringLiteral("Year"), IntPropertyEditor(live, "Year", -1, 10000));
    page->AddEditor(QStringLiteral("Month"), IntPropertyEditor(live, "Month", -1, 13));
    page->AddEditor(QStringLiteral("Day"), IntPropertyEditor(live, "Day", -1, 32));
    for (const char *property :
         {"Language", "FirstDayOfWeek", "AutoSwitch", "IndicateHolidays", "ShowHolidayHint",
          "ShowMovableHolidays", "MarkToday", "ShowMonthShort", "Ctl3D", "ColorActiveMonth",
          "ColorInactiveMonth", "ColorWeekNoBg", "ColorWeekNoFg", "ColorDayIdBg", "ColorDayIdFg",
          "ColorSelectedBg", "ColorSelectedFg", "ColorHolidayBg", "ColorHolidayFg", "ColorToday"})
        page->AddEditor(QString::fromLatin1(property), PropertyEditor(live, property));
    return page;
}

} // namespace gallery
