#include "ControlContract.h"
#include "EventRecorder.h"
#include "HandlerProbe.h"
#include "NVO_MiniCal.h"
#include "PaintCounter.h"
#include "PinnedFont.h"
#include "PixelProbe.h"

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace nvo;
using namespace nvo::test;

namespace {

using Cal = TMiniCal;

/// Easter Sunday by the anonymous Gregorian computus (Meeus, Jones, Butcher): a
/// second, independent way to the same dates.
QDate ReferenceEaster(int year)
{
    const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

/// A calendar on screen with `date` selected (Whit Monday 2025 unless told otherwise).
std::unique_ptr<TMiniCal> MakeCal(QDate date = QDate(2025, 6, 9))
{
    auto cal = std::make_unique<TMiniCal>();
    cal->setObjectName(QStringLiteral("cal"));
    cal->SetSelectedDate(date);
    cal->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(cal.get()));
    QCoreApplication::processEvents();
    return cal;
}

QPoint CentreOf(const TMiniCal &cal, int col, int row) { return cal.CellRect(col, row).center(); }

void Click(TMiniCal &cal, int col, int row)
{
    QTest::mouseClick(cal.viewport(), Qt::LeftButton, {}, CentreOf(cal, col, row));
}

} // namespace

// ---- Easter and the holidays --------------------------------------------------------------

TEST(MiniCalEaster, KnownDatesAndTheFormulasExceptions)
{
    struct Case {
        int year, day, month;
    };
    const Case cases[] = {
        {1583, 10, 4}, {1609, 19, 4},  // the first Gregorian year; an April-26 exception
        {1818, 22, 3},                 // the earliest possible Easter
        {1954, 18, 4}, {1981, 19, 4},  // the April-25 and April-26 exceptions
        {2000, 23, 4}, {2024, 31, 3}, {2025, 20, 4}, {2026, 5, 4},
        {2038, 25, 4},                 // the latest possible Easter
        {2049, 18, 4}, {2076, 19, 4}, {2285, 22, 3}, {9999, 28, 3},
    };
    for (const Case &c : cases) {
        int day = 0, month = 0;
        CalcEasterSunday(c.year, day, month);
        EXPECT_EQ(QDate(c.year, month, day), QDate(c.year, c.month, c.day)) << c.year;
    }
}

TEST(MiniCalEaster, AgreesWithAnIndependentComputusInEveryAcceptedYear)
{
    for (int year = kFirstEasterYear; year <= kLastEasterYear; ++year) {
        int day = 0, month = 0;
        CalcEasterSunday(year, day, month);
        ASSERT_EQ(QDate(year, month, day), ReferenceEaster(year)) << year;
    }
}

TEST(MiniCalEaster, YearsBeforeTheGregorianReckoningAreRefused)
{
    for (const int year : {1582, 1000, 1, 0, -4, 10000}) {
        int day = 7, month = 7;
        EXPECT_THROW(CalcEasterSunday(year, day, month), EConvertError) << year;
        EXPECT_EQ(day, 7);
        EXPECT_EQ(month, 7);
    }
    try {
        int day = 0, month = 0;
        CalcEasterSunday(1500, day, month);
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Easter Sunday is computed for the years 1583 to 9999, not for 1500"));
    }
    // No feast is shown where Easter cannot be reckoned.
    EXPECT_FALSE(MovableFeast(1500, 4, 19, lgEnglish).has_value());
}

TEST(MiniCalEaster, MovableFeastsOf2025InEveryLanguage)
{
    struct Case {
        int month, day;
        TLanguage language;
        const char *caption;
    };
    const Case cases[] = {
        {4, 20, lgEnglish, "Easter Day"},
        {4, 21, lgGerman, "Ostermontag"},
        {5, 29, lgFrench, "Ascension du Christ"},
        {6, 8, lgSpanish, "Domingo de Pentecostés"},
        {6, 9, lgEnglish, "Whit Monday"},
        {6, 9, lgGerman, "Pfingstmontag"},
        {6, 19, lgSpanish, "Corpus Cristi"},
        {6, 19, TLanguage(9), "Corpus Christi"}, // no such language: English
        {6, 19, lgUnspecified, "Corpus Christi"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MovableFeast(2025, c.month, c.day, c.language), QString::fromUtf8(c.caption))
            << c.month << "-" << c.day;
    for (const QDate date : {QDate(2025, 4, 19), QDate(2025, 6, 10), QDate(2025, 7, 20), QDate(2025, 3, 20)})
        EXPECT_FALSE(MovableFeast(date.year(), date.month(), date.day(), lgEnglish).has_value()) << date.toString(Qt::ISODate).toStdString();
    EXPECT_FALSE(MovableFeast(2025, 6, 31, lgEnglish).has_value());
}

TEST(MiniCalHolidays, EightDefaultsPerLanguageEnglishForUnknownLanguages)
{
    struct Case {
        TLanguage language;
        const char *first, *last;
    };
    const Case cases[] = {
        {lgEnglish, "Christmas Day", "Labor Day"},
        {lgGerman, "Weihnachten", "Tag der Arbeit"},
        {lgFrench, "Noël", "Fête du Travail"},
        {lgSpanish, "Navidad", "Día del Trabajo"},
        {lgUnspecified, "Christmas Day", "Labor Day"},
        {TLanguage(200), "Christmas Day", "Labor Day"},
    };
    for (const Case &c : cases) {
        const std::vector<THoliday> holidays = DefaultHolidays(c.language);
        ASSERT_EQ(holidays.size(), 8u);
        EXPECT_EQ(holidays.front(), (THoliday{25, 12, THoliday::RepeatYear, QString::fromUtf8(c.first)}));
        EXPECT_EQ(holidays.back(), (THoliday{1, 5, THoliday::RepeatYear, QString::fromUtf8(c.last)}));
    }
}

TEST(MiniCalHolidays, FirstEntryWinsThenTheMovableFeasts)
{
    std::vector<THoliday> holidays = DefaultHolidays(lgEnglish);
    holidays.push_back({9, 6, 2025, QStringLiteral("Town fair")});
    holidays.push_back({9, 6, 2025, QStringLiteral("Second entry")});
    holidays.push_back({3, 10, THoliday::RepeatYear, QStringLiteral("Unity Day")});
    struct Case {
        QDate date;
        bool movable;
        std::optional<QString> caption;
    };
    const Case cases[] = {
        {QDate(2025, 6, 9), true, QStringLiteral("Town fair")}, // a fixed entry beats Whit Monday
        {QDate(2024, 5, 20), true, QStringLiteral("Whit Monday")},
        {QDate(2024, 5, 20), false, std::nullopt},
        {QDate(2026, 6, 9), true, std::nullopt},                // the town fair was in 2025 only
        {QDate(1990, 10, 3), true, QStringLiteral("Unity Day")}, // repeating: every year
        {QDate(2990, 10, 3), false, QStringLiteral("Unity Day")},
        {QDate(2025, 12, 25), false, QStringLiteral("Christmas Day")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FindHoliday(holidays, c.date.year(), c.date.month(), c.date.day(), c.movable, lgEnglish),
                  c.caption)
            << c.date.toString(Qt::ISODate).toStdString() << " " << c.movable;
}

// ---- The cell map -------------------------------------------------------------------------

TEST(MiniCalMonth, DayOneStandsInRowTwoUnderItsWeekday)
{
    struct Case {
        QDate date;
        Cal::TDayOfWeek first;
        int column;
    };
    const Case cases[] = {
        {QDate(2024, 4, 10), Cal::dwMon, 1}, // April 2024 starts on a Monday
        {QDate(2025, 6, 9), Cal::dwMon, 7},  // June 2025 on a Sunday
        {QDate(2025, 6, 9), Cal::dwSun, 1},
        {QDate(2025, 2, 14), Cal::dwMon, 6}, // a Saturday
        {QDate(2025, 2, 14), Cal::dwSat, 1},
        {QDate(2025, 2, 14), Cal::dwWed, 4},
    };
    for (const Case &c : cases) {
        const TMiniCalMonth month(c.date, c.first);
        EXPECT_EQ(month.CellOfDay(1), (TGridCoord{c.column, 2})) << c.date.toString().toStdString();
        EXPECT_EQ(month.DayOfCell(c.column, 2), 1);
        EXPECT_EQ(month.MonOfs(), 2 - c.column);
        EXPECT_EQ(month.WeekDayOfColumn(c.column), QDate(c.date.year(), c.date.month(), 1).dayOfWeek() - 1);
        for (int day = 1; day <= month.DaysInMonth(); ++day) {
            const TGridCoord cell = month.CellOfDay(day);
            ASSERT_EQ(month.DayOfCell(cell.X, cell.Y), day);
            ASSERT_GE(cell.X, 1);
            ASSERT_LE(cell.Y, 7);
        }
    }
}

TEST(MiniCalMonth, GreyDaysAndWeekNumbers)
{
    const TMiniCalMonth june(QDate(2025, 6, 9), Cal::dwMon);
    EXPECT_EQ(june.DateOfDay(june.DayOfCell(1, 2)), QDate(2025, 5, 26));
    EXPECT_EQ(june.DateOfDay(june.DayOfCell(7, 7)), QDate(2025, 7, 6));
    EXPECT_EQ(june.WeekNumberOfRow(2), 22);
    EXPECT_EQ(june.WeekNumberOfRow(7), 27);
    const TMiniCalMonth january(QDate(2027, 1, 20), Cal::dwMon); // January 1 is a Friday
    EXPECT_EQ(january.DateOfDay(january.DayOfCell(1, 2)), QDate(2026, 12, 28));
    EXPECT_EQ(january.WeekNumberOfRow(2), 53);
    EXPECT_EQ(january.WeekNumberOfRow(3), 1);
}

TEST(MiniCalMonth, CellsShareTheClientAreaAndTheFirstOnesTakeTheRest)
{
    struct Case {
        QSize client;
        int line;
        TMiniCalCellSizes want;
    };
    const Case cases[] = {
        {{296, 176}, 1, {36, 36, 21, 21}},
        {{300, 180}, 1, {36, 40, 21, 25}},
        {{300, 180}, 2, {35, 39, 20, 24}},
        {{10, 4}, 1, {0, 2, 0, 0}},
        {{0, 0}, 1, {0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MiniCalCellSizes(c.client, c.line), c.want) << c.client.width() << " " << c.line;
        const TMiniCalCellSizes s = c.want;
        if (s.ColWidth > 0)
            EXPECT_EQ(s.FirstColWidth + 7 * s.ColWidth + 8 * c.line, c.client.width());
    }
}

// ---- The control --------------------------------------------------------------------------

TEST(MiniCal, DefaultsAtConstruction)
{
    TMiniCal cal;
    EXPECT_EQ(cal.SelectedDate(), QDate::currentDate());
    EXPECT_TRUE(cal.GetAutoSwitch());
    EXPECT_EQ(cal.GetFirstDayOfWeek(), Cal::dwMon);
    EXPECT_EQ(cal.GetLanguage(), lgEnglish);
    EXPECT_TRUE(cal.GetIndicateHolidays());
    EXPECT_TRUE(cal.GetShowHolidayHint());
    EXPECT_TRUE(cal.GetShowMovableHolidays());
    EXPECT_TRUE(cal.GetMarkToday());
    EXPECT_TRUE(cal.GetShowMonthShort());
    EXPECT_TRUE(cal.GetCtl3D());
    EXPECT_EQ(cal.GetColorActiveMonth(), 0x000000u);
    EXPECT_EQ(cal.GetColorInactiveMonth(), 0xC0C0C0u);
    EXPECT_EQ(cal.GetColorWeekNoBg(), 0xC0C0C0u);
    EXPECT_EQ(cal.GetColorWeekNoFg(), 0x000000u);
    EXPECT_EQ(cal.GetColorDayIdBg(), 0xC0C0C0u);
    EXPECT_EQ(cal.GetColorDayIdFg(), 0x000000u);
    EXPECT_EQ(cal.GetColorSelectedBg(), 0xD0A040u);
    EXPECT_EQ(cal.GetColorSelectedFg(), 0xFFFFFFu);
    EXPECT_EQ(cal.GetColorHolidayBg(), 0x9BD8F1u);
    EXPECT_EQ(cal.GetColorHolidayFg(), 0x0000C0u);
    EXPECT_EQ(cal.GetColorToday(), 0x0000FFu);
    EXPECT_EQ(cal.GetDayColors(Cal::dwMon), 0xF8F8F8u);
    EXPECT_EQ(cal.GetDayColors(Cal::dwSat), 0xBBDDEEu);
    EXPECT_EQ(cal.GetDayColors(Cal::dwSun), 0xCCEEFFu);
    EXPECT_EQ(cal.GetDayColors(Cal::TDayOfWeek(7)), 0u);
    EXPECT_EQ(cal.GetNumHolidays(), 8);
    EXPECT_EQ(cal.size(), QSize(300, 180));
    EXPECT_EQ(cal.GetColCount(), 8);
    EXPECT_EQ(cal.GetRowCount(), 8);
    EXPECT_EQ(cal.GetFixedCols(), 1);
    EXPECT_EQ(cal.GetFixedRows(), 2);
    EXPECT_EQ(cal.GetScrollBars(), Cal::ssNone);
    EXPECT_FALSE(cal.GetDefaultDrawing());
    EXPECT_FALSE(cal.GetOptions().testFlag(Cal::goRangeSelect));
    EXPECT_TRUE(cal.GetOptions().testFlag(Cal::goDrawFocusSelected));
    EXPECT_EQ(cal.GetDate(), EncodeDate(cal.GetYear(), cal.GetMonth(), cal.GetDay()));
}

TEST(MiniCal, YearMonthAndDayKeepTheOldPartWhenOutOfRange)
{
    struct Case {
        QDate from;
        const char *property;
        int value;
        QDate want;
    };
    const Case cases[] = {
        {QDate(2025, 4, 10), "Day", 31, QDate(2025, 4, 10)},  // April has 30 days
        {QDate(2025, 4, 10), "Day", 30, QDate(2025, 4, 30)},
        {QDate(2025, 4, 10), "Day", -3, QDate(2025, 4, 10)},
        {QDate(2025, 4, 10), "Month", 13, QDate(2025, 4, 10)},
        {QDate(2025, 4, 10), "Month", -1, QDate(2025, 4, 10)},
        {QDate(2025, 4, 10), "Month", 12, QDate(2025, 12, 10)},
        {QDate(2025, 4, 10), "Year", -1, QDate(2025, 4, 10)},
        {QDate(2025, 4, 10), "Year", 1066, QDate(1066, 4, 10)},
        {QDate(2024, 2, 29), "Year", 2028, QDate(2028, 2, 29)},
    };
    for (const Case &c : cases) {
        TMiniCal cal;
        cal.SetSelectedDate(c.from);
        cal.setProperty(c.property, c.value);
        EXPECT_EQ(cal.SelectedDate(), c.want) << c.property << " " << c.value;
    }
}

TEST(MiniCal, APartThatMakesNoDateRaisesAndChangesNothing)
{
    struct Case {
        QDate from;
        void (TMiniCal::*setter)(int);
        int value;
        const char *message;
    };
    const Case cases[] = {
        {QDate(2025, 4, 10), &TMiniCal::SetDay, 0, "Component \"cal\": no valid date of year 2025, month 4, day 0"},
        {QDate(2025, 4, 10), &TMiniCal::SetMonth, 0, "Component \"cal\": no valid date of year 2025, month 0, day 10"},
        {QDate(2025, 4, 10), &TMiniCal::SetYear, 0, "Component \"cal\": no valid date of year 0, month 4, day 10"},
        {QDate(2025, 4, 10), &TMiniCal::SetYear, 10000, "Component \"cal\": no valid date of year 10000, month 4, day 10"},
        {QDate(2025, 1, 31), &TMiniCal::SetMonth, 2, "Component \"cal\": no valid date of year 2025, month 2, day 31"},
        {QDate(2024, 2, 29), &TMiniCal::SetYear, 2023, "Component \"cal\": no valid date of year 2023, month 2, day 29"},
    };
    for (const Case &c : cases) {
        auto cal = MakeCal(c.from);
        EventRecorder events;
        cal->OnChange = events.Recorder(QStringLiteral("OnChange"));
        PaintCounter paints(cal->viewport());
        try {
            (cal.get()->*c.setter)(c.value);
            ADD_FAILURE() << c.message;
        } catch (const EConvertError &error) {
            EXPECT_EQ(error.Message(), QString::fromUtf8(c.message));
        }
        EXPECT_EQ(cal->SelectedDate(), c.from) << c.message;
        EXPECT_TRUE(events.Events().isEmpty());
        EXPECT_EQ(paints.Count, 0);
    }
    auto cal = MakeCal();
    for (const double bad : {std::nan(""), 1e12, -1e9})
        EXPECT_THROW(cal->SetDate(bad), EConvertError);
    EXPECT_EQ(cal->SelectedDate(), QDate(2025, 6, 9));
}

TEST(MiniCal, DateIsTheFramesDateTimeWithoutTheTimeOfDay)
{
    auto cal = MakeCal();
    EXPECT_EQ(cal->GetDate(), EncodeDate(2025, 6, 9));
    QList<double> notified;
    QObject::connect(cal.get(), &TMiniCal::DateChanged, [&](double date) { notified << date; });
    cal->SetDate(EncodeDate(2024, 2, 29) + 0.75);
    EXPECT_EQ(cal->SelectedDate(), QDate(2024, 2, 29));
    EXPECT_EQ(cal->GetDate(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(cal->property("Date").toDouble(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(notified, QList<double>{EncodeDate(2024, 2, 29)});
    EXPECT_EQ(cal->metaObject()->userProperty().name(), QByteArray("Date"));
}

TEST(MiniCal, MonthAndYearStepsKeepTheDayWhereTheTargetHasIt)
{
    struct Case {
        QDate from;
        void (*step)(TMiniCal &);
        QDate want;
    };
    const Case cases[] = {
        {QDate(2024, 1, 31), [](TMiniCal &c) { c.NextMonth(); }, QDate(2024, 2, 29)},
        {QDate(2025, 1, 31), [](TMiniCal &c) { c.NextMonth(); }, QDate(2025, 2, 28)},
        {QDate(2024, 3, 31), [](TMiniCal &c) { c.PrevMonth(); }, QDate(2024, 2, 29)},
        {QDate(2024, 12, 15), [](TMiniCal &c) { c.NextMonth(); }, QDate(2025, 1, 15)},
        {QDate(2024, 1, 15), [](TMiniCal &c) { c.PrevMonth(); }, QDate(2023, 12, 15)},
        {QDate(2024, 1, 31), [](TMiniCal &c) { c.MonthStep(3); }, QDate(2024, 4, 30)},
        {QDate(2024, 5, 31), [](TMiniCal &c) { c.MonthStep(-15); }, QDate(2023, 2, 28)},
        {QDate(2024, 5, 31), [](TMiniCal &c) { c.MonthStep(0); }, QDate(2024, 5, 31)},
        {QDate(2024, 2, 29), [](TMiniCal &c) { c.NextYear(); }, QDate(2025, 2, 28)},
        {QDate(2024, 2, 29), [](TMiniCal &c) { c.PrevYear(); }, QDate(2023, 2, 28)},
        {QDate(2025, 8, 31), [](TMiniCal &c) { c.PrevYear(); }, QDate(2024, 8, 31)},
        {QDate(2025, 4, 3), [](TMiniCal &c) { c.LastDayOfMonth(); }, QDate(2025, 4, 30)},
        {QDate(2024, 2, 3), [](TMiniCal &c) { c.LastDayOfMonth(); }, QDate(2024, 2, 29)},
    };
    for (const Case &c : cases) {
        TMiniCal cal;
        cal.SetSelectedDate(c.from);
        c.step(cal);
        EXPECT_EQ(cal.SelectedDate(), c.want) << c.from.toString(Qt::ISODate).toStdString();
    }
}

TEST(MiniCal, StepsBeyondTheValidYearsRaiseAndKeepTheDate)
{
    struct Case {
        QDate from;
        void (*step)(TMiniCal &);
    };
    const Case cases[] = {
        {QDate(9999, 12, 31), [](TMiniCal &c) { c.NextMonth(); }},
        {QDate(9999, 6, 30), [](TMiniCal &c) { c.NextYear(); }},
        {QDate(1, 1, 1), [](TMiniCal &c) { c.PrevMonth(); }},
        {QDate(1, 6, 1), [](TMiniCal &c) { c.PrevYear(); }},
        {QDate(5000, 6, 1), [](TMiniCal &c) { c.MonthStep(2'000'000'000); }},
    };
    for (const Case &c : cases) {
        TMiniCal cal;
        cal.SetSelectedDate(c.from);
        EXPECT_THROW(c.step(cal), EConvertError) << c.from.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(cal.SelectedDate(), c.from);
    }
}

TEST(MiniCal, OnChangeFiresForDatesFirstDayOfWeekAndDayColorsOnly)
{
    auto cal = MakeCal();
    EventRecorder events;
    cal->OnChange = events.Recorder(QStringLiteral("OnChange"));
    cal->SetSelectedDate(QDate(2025, 6, 9)); // the same date
    cal->SetMarkToday(false);
    cal->SetColorToday(clr::Blue);
    cal->SetLanguage(lgGerman);
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 0);
    cal->SetDay(10);
    cal->NextMonth();
    cal->SetFirstDayOfWeek(Cal::dwSun);
    cal->SetFirstDayOfWeek(Cal::dwSun);
    cal->SetDayColors(Cal::dwTue, clr::Yellow);
    cal->SetDayColors(Cal::TDayOfWeek(9), clr::Yellow);
    EXPECT_EQ(events.Count(QStringLiteral("OnChange")), 4);
    EXPECT_EQ(cal->GetDayColors(Cal::dwTue), clr::Yellow);
}

TEST(MiniCal, SettersRepaintOnceOnChangeAndNeverOnEqualValues)
{
    auto cal = MakeCal();
    PaintCounter paints(cal->viewport());
    cal->SetColorSelectedBg(clr::Lime);
    EXPECT_EQ(paints.Count, 1);
    cal->SetColorSelectedBg(clr::Lime);
    cal->SetMarkToday(true);
    cal->SetIndicateHolidays(true);
    cal->SetSelectedDate(QDate(2025, 6, 9));
    EXPECT_EQ(paints.Count, 1);
    cal->SetDay(12);
    EXPECT_EQ(paints.Count, 2);
    cal->AddHoliday(13, 6, 2025, QStringLiteral("Fair"));
    EXPECT_EQ(paints.Count, 3);
}

TEST(MiniCal, EnumeratedSettersRefuseOrdinalsOutsideTheirRange)
{
    auto cal = MakeCal();
    cal->SetFirstDayOfWeek(Cal::dwWed);
    cal->setProperty("FirstDayOfWeek", 7);
    EXPECT_EQ(cal->GetFirstDayOfWeek(), Cal::dwWed);
    cal->SetLanguage(lgFrench);
    cal->SetLanguage(TLanguage(9)); // a value from a form or a cast: English, never past the tables
    EXPECT_EQ(cal->GetLanguage(), lgEnglish);
    QString caption;
    EXPECT_TRUE(cal->CheckHoliday(2025, 12, 25, caption));
    EXPECT_EQ(caption, QStringLiteral("Christmas Day"));
    cal->setProperty("Language", 0);
    EXPECT_EQ(cal->GetLanguage(), lgEnglish);
    EXPECT_EQ(cal->GetCellText(1, 1), QStringLiteral("Wed"));
}

TEST(MiniCal, LanguageReplacesTheHolidayListByItsDefaults)
{
    auto cal = MakeCal();
    cal->AddRepeatHoliday(3, 10, QStringLiteral("Unity Day"));
    EXPECT_EQ(cal->GetNumHolidays(), 9);
    cal->SetLanguage(lgSpanish);
    EXPECT_EQ(cal->GetNumHolidays(), 8);
    QString caption;
    EXPECT_FALSE(cal->CheckHoliday(2025, 10, 3, caption));
    EXPECT_EQ(caption, QString());
    EXPECT_TRUE(cal->CheckHoliday(2025, 6, 9, caption));
    EXPECT_EQ(caption, QStringLiteral("Lunes de Pentecostés"));
    EXPECT_EQ(cal->GetCellText(5, 0), QStringLiteral("Junio 2025"));
}

TEST(MiniCal, HolidayListIsAddedToRetrievedAndCleared)
{
    auto cal = MakeCal();
    cal->AddHoliday(4, 7, 2025, QStringLiteral("Picnic"));
    cal->AddRepeatHoliday(3, 10, QStringLiteral("Unity Day"));
    int day = -1, month = -1, year = -1;
    bool repeats = true;
    QString caption = QStringLiteral("untouched");
    for (const int index : {0, -1, 11}) {
        EXPECT_FALSE(cal->RetrieveHoliday(index, day, month, year, repeats, caption));
        EXPECT_EQ(day, -1);
        EXPECT_EQ(caption, QStringLiteral("untouched"));
    }
    ASSERT_TRUE(cal->RetrieveHoliday(9, day, month, year, repeats, caption));
    EXPECT_EQ(QDate(year, month, day), QDate(2025, 7, 4));
    EXPECT_FALSE(repeats);
    EXPECT_EQ(caption, QStringLiteral("Picnic"));
    ASSERT_TRUE(cal->RetrieveHoliday(10, day, month, year, repeats, caption));
    EXPECT_TRUE(repeats);
    EXPECT_EQ(year, THoliday::RepeatYear);
    ASSERT_TRUE(cal->RetrieveHoliday(1, day, month, year, repeats, caption));
    EXPECT_EQ(caption, QStringLiteral("Christmas Day"));
    EXPECT_TRUE(cal->CheckHoliday(2025, 7, 4, caption));
    EXPECT_FALSE(cal->CheckHoliday(2026, 7, 4, caption));
    cal->ClearHolidayList();
    EXPECT_EQ(cal->GetNumHolidays(), 0);
    EXPECT_FALSE(cal->CheckHoliday(2025, 12, 25, caption));
    EXPECT_TRUE(cal->CheckHoliday(2025, 6, 9, caption)); // the movable feasts stay
    cal->SetShowMovableHolidays(false);
    EXPECT_FALSE(cal->CheckHoliday(2025, 6, 9, caption));
}

TEST(MiniCal, TheHintNamesTheSelectedHoliday)
{
    auto cal = MakeCal();
    EXPECT_EQ(cal->toolTip(), QStringLiteral("Whit Monday"));
    cal->SetDay(10);
    EXPECT_EQ(cal->toolTip(), QString());
    cal->AddHoliday(10, 6, 2025, QStringLiteral("Fair"));
    EXPECT_EQ(cal->toolTip(), QStringLiteral("Fair"));
    cal->SetIndicateHolidays(false);
    EXPECT_EQ(cal->toolTip(), QString());
    cal->SetIndicateHolidays(true);
    cal->SetShowHolidayHint(false);
    EXPECT_EQ(cal->toolTip(), QString());
    cal->SetDay(9);
    EXPECT_EQ(cal->toolTip(), QString());
}

TEST(MiniCal, ClicksOnCellCentres)
{
    struct Case {
        bool autoSwitch;
        int col, row;
        QDate want;
    };
    // June 2025 from Monday: May 26 .. July 6, June 1 in column 7 of row 2.
    const QDate june9(2025, 6, 9);
    const Case cases[] = {
        {true, 3, 3, QDate(2025, 6, 4)},
        {true, 1, 2, QDate(2025, 5, 26)}, // a grey day of May
        {false, 1, 2, june9},
        {true, 7, 7, QDate(2025, 7, 6)},  // a grey day of July
        {false, 7, 7, june9},
        {false, 7, 2, QDate(2025, 6, 1)},
        {true, 0, 4, june9},              // a week number
        {true, 3, 1, june9},              // a weekday heading
        {true, 4, 0, june9},              // the caption
        {true, 1, 0, QDate(2024, 6, 9)},
        {true, 2, 0, QDate(2025, 5, 9)},
        {true, 6, 0, QDate(2025, 7, 9)},
        {true, 7, 0, QDate(2026, 6, 9)},
        {true, 0, 1, QDate::currentDate()},
        {true, 0, 0, QDate::currentDate()}, // the upper half of "#"
    };
    for (const Case &c : cases) {
        auto cal = MakeCal(june9);
        cal->SetAutoSwitch(c.autoSwitch);
        Click(*cal, c.col, c.row);
        EXPECT_EQ(cal->SelectedDate(), c.want) << c.col << "," << c.row << " " << c.autoSwitch;
        const TGridCoord selected = TMiniCalMonth(cal->SelectedDate(), Cal::dwMon).CellOfDay(cal->GetDay());
        EXPECT_EQ((TGridCoord{cal->GetCol(), cal->GetRow()}), selected);
    }
}

TEST(MiniCal, KeysMoveTheDayAndPagesTheMonth)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        QDate want;
    };
    const Case cases[] = {
        {Qt::Key_Right, {}, QDate(2025, 2, 1)},
        {Qt::Key_Left, {}, QDate(2025, 1, 30)},
        {Qt::Key_Down, {}, QDate(2025, 2, 7)},
        {Qt::Key_Up, {}, QDate(2025, 1, 24)},
        {Qt::Key_PageDown, {}, QDate(2025, 2, 28)},
        {Qt::Key_PageUp, {}, QDate(2024, 12, 31)},
        {Qt::Key_PageDown, Qt::ControlModifier, QDate(2026, 1, 31)},
        {Qt::Key_PageUp, Qt::ControlModifier, QDate(2024, 1, 31)},
        {Qt::Key_Home, {}, QDate(2025, 1, 1)},
        {Qt::Key_End, {}, QDate(2025, 1, 31)},
    };
    for (const Case &c : cases) {
        auto cal = MakeCal(QDate(2025, 1, 31));
        QTest::keyClick(cal.get(), Qt::Key(c.key), c.modifiers);
        EXPECT_EQ(cal->SelectedDate(), c.want) << c.key;
    }
}

// ---- Pixels -------------------------------------------------------------------------------

TEST(MiniCalPaint, SelectedDayHolidayAndSelectedHolidayColours)
{
    auto cal = MakeCal(QDate(2025, 6, 10));
    cal->SetMarkToday(false);
    const auto corner = [&](int col, int row) {
        const QRect r = cal->CellRect(col, row);
        return PixelAt(Grab(cal->viewport()), r.left() + 1, r.top() + 1);
    };
    EXPECT_EQ(corner(2, 4), 0xD0A040u);    // June 10, selected
    EXPECT_EQ(corner(1, 4), 0x9BD8F1u);    // June 9, Whit Monday
    EXPECT_EQ(corner(3, 4), 0xF8F8F8u);    // June 11, a plain Wednesday
    EXPECT_EQ(corner(6, 4), 0xBBDDEEu);    // a Saturday
    EXPECT_EQ(corner(7, 4), 0xCCEEFFu);    // a Sunday
    EXPECT_EQ(corner(1, 2), 0xF8F8F8u);    // a grey day keeps its weekday colour
    EXPECT_EQ(corner(7, 3), 0x9BD8F1u);    // June 8, Pentecost, a Sunday
    cal->SetDay(9);
    EXPECT_EQ(corner(1, 4), 0xB5BC98u);    // the mean of the selection and holiday backgrounds
    cal->SetIndicateHolidays(false);
    EXPECT_EQ(corner(1, 4), 0xD0A040u);
    EXPECT_EQ(corner(7, 3), 0xCCEEFFu);    // no longer marked
    // The day's text is drawn in the selection's text colour.
    const QRect day = cal->CellRect(1, 4);
    EXPECT_GT(CountPixels(Grab(cal->viewport()), day, clr::White), 0);
    EXPECT_EQ(CountPixels(Grab(cal->viewport()), day, clr::Black), 0);
}

TEST(MiniCalPaint, TodayGetsARing)
{
    const QDate today = QDate::currentDate();
    auto cal = MakeCal(QDate(today.year(), today.month(), today.day() == 1 ? 2 : 1));
    cal->SetColorToday(clr::Lime);
    const TGridCoord cell = TMiniCalMonth(today, Cal::dwMon).CellOfDay(today.day());
    const QRect r = cal->CellRect(cell.X, cell.Y);
    // The ring's left edge is two pixels inside the cell.
    const QImage image = Grab(cal->viewport());
    EXPECT_GT(CountPixels(image, QRect(r.left() + 2, r.top(), 1, r.height()), clr::Lime), 0);
    EXPECT_EQ(CountPixels(image, QRect(r.left(), r.top(), 2, r.height()), clr::Lime), 0);
    cal->SetMarkToday(false);
    EXPECT_EQ(CountPixels(Grab(cal->viewport()), r, clr::Lime), 0);
    cal->SetMarkToday(true);
    cal->NextMonth();
    EXPECT_EQ(CountPixels(Grab(cal->viewport()), cal->viewport()->rect(), clr::Lime), 0);
}

TEST(MiniCalPaint, CaptionAndTodayButtonCoverTheLinesBetweenTheirCells)
{
    auto cal = MakeCal();
    const QImage image = Grab(cal->viewport());
    const QRect col3 = cal->CellRect(3, 0), col4 = cal->CellRect(4, 0);
    const QColor face = cal->palette().color(QPalette::Button);
    // The grid line between columns 3 and 4 of row 0, and between rows 0 and 1 of column 0.
    EXPECT_EQ(PixelAt(image, col3.right() + 1, col3.top() + 2), FromQColor(face));
    const QRect hash = cal->CellRect(0, 1);
    EXPECT_EQ(PixelAt(image, hash.left() + 5, hash.top() - 1), FromQColor(face));
    // The 3-D frame: white top-left, dark grey on the lines after the cell.
    const QRect next = cal->CellRect(6, 0);
    EXPECT_EQ(PixelAt(image, next.left(), next.top() + 4), clr::White);
    EXPECT_EQ(PixelAt(image, next.right() + 1, next.top() + 4), 0x686868u);
    EXPECT_EQ(PixelAt(image, next.left() + 4, next.bottom() + 1), 0x686868u);
    cal->SetCtl3D(false);
    EXPECT_EQ(PixelAt(Grab(cal->viewport()), next.left(), next.top() + 4), FromQColor(face));
}

TEST(MiniCal, ScreenReadersHearTheSelectedDateAndItsHoliday)
{
    auto cal = MakeCal();
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(cal.get());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Value), QStringLiteral("9 June 2025, Whit Monday"));
    QAccessibleTableInterface *cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->cellAt(0, 1)->text(QAccessible::Name), QStringLiteral("Previous year"));
    EXPECT_EQ(cells->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("Today"));
    EXPECT_EQ(cells->cellAt(0, 5)->text(QAccessible::Name), QStringLiteral("June 2025"));
    EXPECT_EQ(cells->cellAt(2, 0)->text(QAccessible::Name), QStringLiteral("22"));
    EXPECT_EQ(cells->cellAt(2, 1)->text(QAccessible::Name), QStringLiteral("26 May 2025"));
    cal->SetDay(10);
    EXPECT_EQ(table->text(QAccessible::Value), QStringLiteral("10 June 2025"));
}

TEST(MiniCal, AssignCopiesSettingsHolidaysAndDate)
{
    auto source = MakeCal(QDate(2030, 3, 3));
    source->SetLanguage(lgFrench);
    source->AddHoliday(4, 3, 2030, QStringLiteral("Fête"));
    source->SetFirstDayOfWeek(Cal::dwSun);
    source->SetColorHolidayBg(clr::Aqua);
    source->SetDayColors(Cal::dwMon, clr::Yellow);
    auto target = MakeCal();
    target->Assign(source.get());
    EXPECT_EQ(target->SelectedDate(), QDate(2030, 3, 3));
    EXPECT_EQ(target->GetLanguage(), lgFrench);
    EXPECT_EQ(target->GetNumHolidays(), 9);
    EXPECT_EQ(target->GetFirstDayOfWeek(), Cal::dwSun);
    EXPECT_EQ(target->GetColorHolidayBg(), clr::Aqua);
    EXPECT_EQ(target->GetDayColors(Cal::dwMon), clr::Yellow);
    EXPECT_EQ(target->toolTip(), QString());
    EXPECT_EQ(target->GetCellText(1, 1), QStringLiteral("Dim"));
    QWidget other;
    EXPECT_THROW(target->Assign(&other), EConvertError);
    EXPECT_THROW(source->AssignTo(&other), EConvertError);
    EXPECT_EQ(target->GetLanguage(), lgFrench);
}

TEST(MiniCal, SizeHintFollowsTheFont)
{
    TMiniCal cal;
    cal.setFont(PinnedFont(13));
    const QSize small = cal.sizeHint();
    cal.setFont(PinnedFont(20));
    const QSize large = cal.sizeHint();
    EXPECT_GT(large.width(), small.width());
    EXPECT_GT(large.height(), small.height());
    EXPECT_LE(cal.minimumSizeHint().width(), large.width());
}

TEST(MiniCal, ExceptionsOfClicksStopAtTheEventBorder)
{
    HandlerProbe probe;
    auto cal = MakeCal(QDate(9999, 12, 20));
    Click(*cal, 7, 0);
    EXPECT_EQ(probe.Messages, QStringList{QStringLiteral(
                                  "Component \"cal\": no valid date of year 10000, month 12, day 20")});
    EXPECT_EQ(cal->SelectedDate(), QDate(9999, 12, 20));
}

// ---- What every control promises ------------------------------------------------------------

TEST(MiniCal, DateIsTheNotifyingUserProperty)
{
    auto cal = MakeCal();
    ExpectNotifyingUserProperty(*cal, "Date", QVariant(EncodeDate(2030, 1, 1)));
}

TEST(MiniCal, KeyAndMouseEventsFireAsForEveryControl)
{
    ExpectInputEvents<TMiniCal>();
}

TEST(MiniCal, SettingsPaintOnlyWhereThePictureShowsThem)
{
    using Setting = TShownSetting<TMiniCal>;
    const QDate today = QDate::currentDate();
    const auto make = [today] {
        auto cal = std::make_unique<TMiniCal>();
        cal->SetSelectedDate(today.addMonths(2));
        cal->SetIndicateHolidays(false);
        return cal;
    };
    const auto showToday = [today](TMiniCal &c) { c.SetSelectedDate(today); };
    ExpectPaintsOnlyWhereShown<TMiniCal>(make, {
        Setting{"ColorToday", showToday, [](TMiniCal &c) { c.SetColorToday(clr::Lime); }},
        Setting{"MarkToday", showToday, [](TMiniCal &c) { c.SetMarkToday(false); }},
        Setting{"ColorHolidayBg", [](TMiniCal &c) { c.SetIndicateHolidays(true); },
                [](TMiniCal &c) { c.SetColorHolidayBg(clr::Lime); }},
        Setting{"ColorHolidayFg", [](TMiniCal &c) { c.SetIndicateHolidays(true); },
                [](TMiniCal &c) { c.SetColorHolidayFg(clr::Lime); }},
        Setting{"AutoSwitch", nullptr, [](TMiniCal &c) { c.SetAutoSwitch(false); }},
    });
}

TEST(MiniCalPaint, ChangesShowAsOnFreshCalendars)
{
    ExpectChangesShowAsOnFreshControls<TMiniCal>({
        [](TMiniCal &c) { c.SetSelectedDate(QDate(2025, 6, 9)); },
        [](TMiniCal &c) { c.SetLanguage(lgGerman); },
        [](TMiniCal &c) { c.SetFirstDayOfWeek(Cal::dwSat); },
        [](TMiniCal &c) { c.AddHoliday(c.GetDay() % 28 + 1, c.GetMonth(), c.GetYear(), QStringLiteral("x")); },
        [](TMiniCal &c) { c.ClearHolidayList(); },
        [](TMiniCal &c) { c.SetShowMovableHolidays(false); },
        [](TMiniCal &c) { c.SetDayColors(Cal::dwWed, clr::Aqua); },
        [](TMiniCal &c) { c.resize(400, 250); },
        [](TMiniCal &c) { c.setFont(PinnedFont(9)); },
    });
}
