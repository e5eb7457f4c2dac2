#pragma once

#include "NVO_Corvane.h"
#include "NVO_Format.h"
#include "NVO_Grid.h"

#include <QtCore/QDate>
#include <QtCore/QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace nvo {

/// One month as a grid of day cells with ISO week numbers, weekday headings in one of
/// four languages, buttons for the previous and next month and year, a "#" button
/// that goes to today, and marks for holidays and for today:
///
///     col:  0      1      2      3     4     5      6      7
///     row 0 |      | <<   | <    |  month caption    | >    | >>   |
///     row 1 |  #   | Mon  | Tue  | Wed | Thu | Fri  | Sat  | Sun  |
///     rows 2..7    week number, then seven day cells per row
///
/// Row 2 always holds day 1; the days of the previous and next month fill the rest in
/// `ColorInactiveMonth`. The selected day is painted in the selection colours, a
/// holiday (from the holiday list, or a feast that moves with Easter) in the holiday
/// colours, a selected holiday in the mean of both backgrounds, and today gets a ring.
///
/// Colours: the day cells take their background from `DayColors` and their text from
/// the colour properties; the buttons and the caption are painted in the palette's
/// button colour (Button) with button text (ButtonText), framed in fixed 3-D lines
/// while `Ctl3D` is on. With visual styles on, the style's button and panel text
/// colours take their place. The grid's own lines are black between the fixed cells
/// and silver between the day cells.
///
/// Cache: the holidays of the shown month are looked up once when the month, the
/// holiday list, the language or `ShowMovableHolidays` change, not per cell and paint.
///
/// Dates: the selected date is kept as a QDate (the time of day is not kept); `Date`
/// exchanges it as the frame's date-time value. Every date the control takes lies
/// between 0001-01-01 and 9999-12-31; anything else raises EConvertError and leaves
/// the selected date as it was.
///
/// Keys: the arrows move the day (Up and Down by a week), Page Up and Page Down the
/// month, with Ctrl the year; Home and End go to the first and last day of the month.
class NVO_EXPORT TMiniCal : public TCustomDrawGrid
{
    Q_OBJECT
    // Published, with their stored defaults.
    /// Clicking a day of the previous or next month switches to that month.
    Q_PROPERTY(bool AutoSwitch READ GetAutoSwitch WRITE SetAutoSwitch)                         // true
    /// The weekday of the first column.
    Q_PROPERTY(TDayOfWeek FirstDayOfWeek READ GetFirstDayOfWeek WRITE SetFirstDayOfWeek)       // dwMon
    /// The language of the month names, weekday headings and default holidays; setting it
    /// resets the holiday list.
    Q_PROPERTY(nvo::TLanguage Language READ GetLanguage WRITE SetLanguage)                      // lgEnglish
    /// Holidays drawn in the holiday colours.
    Q_PROPERTY(bool IndicateHolidays READ GetIndicateHolidays WRITE SetIndicateHolidays)       // true
    /// The holiday's caption shown as the tool tip of its day.
    Q_PROPERTY(bool ShowHolidayHint READ GetShowHolidayHint WRITE SetShowHolidayHint)          // true
    /// The feasts that move with Easter count as holidays.
    Q_PROPERTY(bool ShowMovableHolidays READ GetShowMovableHolidays WRITE SetShowMovableHolidays) // true
    /// A ring in ColorToday around today.
    Q_PROPERTY(bool MarkToday READ GetMarkToday WRITE SetMarkToday)                            // true
    /// The caption shows the month's short name.
    Q_PROPERTY(bool ShowMonthShort READ GetShowMonthShort WRITE SetShowMonthShort)             // true
    /// The buttons and the caption framed in 3-D lines.
    Q_PROPERTY(bool Ctl3D READ GetCtl3D WRITE SetCtl3D)                                        // true
    /// Days of the shown month.
    Q_PROPERTY(nvo::TColor ColorActiveMonth READ GetColorActiveMonth WRITE SetColorActiveMonth)       // 0x000000
    /// Days of the previous and next month.
    Q_PROPERTY(nvo::TColor ColorInactiveMonth READ GetColorInactiveMonth WRITE SetColorInactiveMonth) // 0xC0C0C0
    /// Ground of the week-number column.
    Q_PROPERTY(nvo::TColor ColorWeekNoBg READ GetColorWeekNoBg WRITE SetColorWeekNoBg)       // 0xC0C0C0
    /// The week numbers.
    Q_PROPERTY(nvo::TColor ColorWeekNoFg READ GetColorWeekNoFg WRITE SetColorWeekNoFg)       // 0x000000
    /// Ground of the weekday heading row.
    Q_PROPERTY(nvo::TColor ColorDayIdBg READ GetColorDayIdBg WRITE SetColorDayIdBg)          // 0xC0C0C0
    /// The weekday headings.
    Q_PROPERTY(nvo::TColor ColorDayIdFg READ GetColorDayIdFg WRITE SetColorDayIdFg)          // 0x000000
    /// Ground of the selected day.
    Q_PROPERTY(nvo::TColor ColorSelectedBg READ GetColorSelectedBg WRITE SetColorSelectedBg) // 0xD0A040
    /// The selected day's number.
    Q_PROPERTY(nvo::TColor ColorSelectedFg READ GetColorSelectedFg WRITE SetColorSelectedFg) // 0xFFFFFF
    /// Ground of a holiday.
    Q_PROPERTY(nvo::TColor ColorHolidayBg READ GetColorHolidayBg WRITE SetColorHolidayBg)    // 0x9BD8F1
    /// A holiday's number.
    Q_PROPERTY(nvo::TColor ColorHolidayFg READ GetColorHolidayFg WRITE SetColorHolidayFg)    // 0x0000C0
    /// The ring around today.
    Q_PROPERTY(nvo::TColor ColorToday READ GetColorToday WRITE SetColorToday)                // 0x0000FF
    // Parts of the selected date; not streamed.
    /// The selected date's year.
    Q_PROPERTY(int Year READ GetYear WRITE SetYear STORED false)
    /// The selected date's month, 1..12.
    Q_PROPERTY(int Month READ GetMonth WRITE SetMonth STORED false)
    /// The selected date's day of the month.
    Q_PROPERTY(int Day READ GetDay WRITE SetDay STORED false)
    // Public, not streamed.
    /// The selected date, as days since 1899-12-30.
    Q_PROPERTY(double Date READ GetDate WRITE SetDate NOTIFY DateChanged USER true STORED false DESIGNABLE false)
    /// Number of entries in the holiday list.
    Q_PROPERTY(int NumHolidays READ GetNumHolidays STORED false DESIGNABLE false)

public:
    enum TDayOfWeek : quint8 { dwMon, dwTue, dwWed, dwThu, dwFri, dwSat, dwSun };
    Q_ENUM(TDayOfWeek)
    /// The background of the day cells, one colour per weekday from Monday on.
    using TDayColors = std::array<TColor, 7>;

    explicit TMiniCal(QWidget *parent = nullptr);
    ~TMiniCal() override;

    bool GetAutoSwitch() const;
    /// Whether a click on a day of the previous or next month selects that day.
    void SetAutoSwitch(bool on);
    TDayOfWeek GetFirstDayOfWeek() const;
    /// The weekday of column 1; fires OnChange. Ordinals beyond dwSun are refused.
    void SetFirstDayOfWeek(TDayOfWeek day);
    TLanguage GetLanguage() const;
    /// Also replaces the holiday list by the eight default holidays of the language,
    /// dropping holidays the application added. A language other than English,
    /// German, French and Spanish is taken as English.
    void SetLanguage(TLanguage language);
    bool GetIndicateHolidays() const;
    void SetIndicateHolidays(bool on);
    bool GetShowHolidayHint() const;
    /// The tool tip then names the holiday of the selected date.
    void SetShowHolidayHint(bool on);
    bool GetShowMovableHolidays() const;
    /// Whether the feasts that move with Easter count as holidays.
    void SetShowMovableHolidays(bool on);
    bool GetMarkToday() const;
    void SetMarkToday(bool on);
    bool GetShowMonthShort() const;
    /// The caption with the month's short name rather than its full name.
    void SetShowMonthShort(bool on);
    bool GetCtl3D() const;
    /// Whether the buttons and the caption get their 3-D frame.
    void SetCtl3D(bool on);
    TColor GetColorActiveMonth() const;
    void SetColorActiveMonth(TColor color);
    TColor GetColorInactiveMonth() const;
    void SetColorInactiveMonth(TColor color);
    TColor GetColorWeekNoBg() const;
    void SetColorWeekNoBg(TColor color);
    TColor GetColorWeekNoFg() const;
    void SetColorWeekNoFg(TColor color);
    TColor GetColorDayIdBg() const;
    void SetColorDayIdBg(TColor color);
    TColor GetColorDayIdFg() const;
    void SetColorDayIdFg(TColor color);
    TColor GetColorSelectedBg() const;
    void SetColorSelectedBg(TColor color);
    TColor GetColorSelectedFg() const;
    void SetColorSelectedFg(TColor color);
    TColor GetColorHolidayBg() const;
    void SetColorHolidayBg(TColor color);
    TColor GetColorHolidayFg() const;
    void SetColorHolidayFg(TColor color);
    TColor GetColorToday() const;
    /// The ring around today.
    void SetColorToday(TColor color);

    int GetYear() const;
    /// A negative year keeps the old one; a year that gives no valid date with the
    /// month and day (0, 10000, February 29 of a common year) raises EConvertError.
    void SetYear(int year);
    int GetMonth() const;
    /// A month outside 0..12 keeps the old one; 0, or a month too short for the day,
    /// raises EConvertError.
    void SetMonth(int month);
    int GetDay() const;
    /// A day outside 0..days of the month keeps the old one; 0 raises EConvertError.
    void SetDay(int day);

    /// The selected date as a date-time value (days since 1899-12-30, no time of day).
    TDateTime GetDate() const;
    /// Takes the date part of `date`; a value outside the valid dates raises EConvertError.
    void SetDate(TDateTime date);
    /// The selected date.
    QDate SelectedDate() const;
    void SetSelectedDate(const QDate &date);

    int GetNumHolidays() const;
    /// The background of weekday `day`'s cells; 0 outside dwMon..dwSun.
    TColor GetDayColors(TDayOfWeek day) const;
    /// Ignored outside dwMon..dwSun; fires OnChange.
    void SetDayColors(TDayOfWeek day, TColor color);

    /// Steps `n` months from the selected date, keeping its day where the new month
    /// has it and taking the month's last day otherwise (January 31 + 1 gives
    /// February 28 or 29).
    void MonthStep(int n);
    void PrevMonth();
    void NextMonth();
    /// A year back / ahead; February 29 becomes February 28.
    void PrevYear();
    void NextYear();
    /// Selects the last day of the shown month.
    void LastDayOfMonth();

    /// Empties the holiday list, the eight defaults included.
    void ClearHolidayList();
    /// A holiday on one date; one that never matches a date (31.2.) is kept but shows nowhere.
    void AddHoliday(int Day, int Month, int Year, const QString &Caption);
    /// A holiday on the same day every year.
    void AddRepeatHoliday(int Day, int Month, const QString &Caption);
    /// Entry `HDIndex` (1..NumHolidays) of the holiday list; false and the outputs
    /// untouched for any other index.
    bool RetrieveHoliday(int HDIndex, int &Day, int &Month, int &Year, bool &IsRepeatHDay,
                         QString &Description) const;
    /// Whether the date is a holiday: the first entry of the list on that date, else
    /// (with ShowMovableHolidays) a feast that moves with Easter; its caption goes to
    /// `Caption` ("" when none).
    bool CheckHoliday(int Year, int Month, int Day, QString &Caption) const;

    /// Copies every published setting, the day colours, the holiday list and the
    /// selected date of another TMiniCal (not the events) and repaints. Throws
    /// EConvertError for any other source, leaving this control unchanged.
    void Assign(const QObject *source);
    /// `dest->Assign(this)` for a TMiniCal; EConvertError for anything else.
    void AssignTo(QObject *dest) const;

    /// Day, month and year of the cell for screen readers ("9 June 2025, Whit Monday"),
    /// the buttons by their purpose, the headings and week numbers as shown.
    QString GetCellText(int col, int row) const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// Every change of the selected date, FirstDayOfWeek and DayColors.
    TNotifyEvent OnChange;

Q_SIGNALS:
    void DateChanged(double date);

protected:
    void DrawCell(TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState state) override;
    void KeyPressed(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Private;

    /// Lays the shown month out again, refreshes the holiday cache, puts the grid's
    /// current cell on the selected day, sets the hint and repaints.
    void UpdateCal();
    /// Fires OnChange.
    void Changed();
    /// Steps `n` years, February 29 becoming the 28th.
    void YearStep(int n);
    /// Whether the shown month is the current one, whose today ring shows.
    bool ShowsToday() const;
    /// Selects the date of year, month and day, or raises EConvertError naming them.
    void SelectParts(int year, int month, int day);
    void ResetHolidays();
    void LayoutCells();
    void DrawButton(TCanvas &canvas, const QRect &rect, const QString &text);
    void DrawDay(TCanvas &canvas, int col, int row, const QRect &rect);
    void ClickCell(int col, int row);

    std::unique_ptr<Private> const d;
};

// ---- The calendar's logic, without a widget -----------------------------------------------

/// The first and the last year whose Easter date the Gregorian computus gives. Before
/// 1583 Easter was reckoned by the Julian calendar, so a feast computed by the
/// Gregorian rule would fall on the wrong day.
inline constexpr int kFirstEasterYear = 1583;
inline constexpr int kLastEasterYear = 9999;

/// Easter Sunday of `Year` (Gauss's formula in Lichtenberg's form, whose correction
/// term covers the exceptions of April 25 and 26). Raises EConvertError for a year
/// outside kFirstEasterYear..kLastEasterYear, leaving `Day` and `Month` untouched.
NVO_EXPORT void CalcEasterSunday(int Year, int &Day, int &Month);

/// The name in `Language` (English outside 1..4) of the feast on the date that moves
/// with Easter (Easter Sunday and Monday, Ascension, Whit Sunday and Monday, Corpus
/// Christi); nothing for any other date and for years without an Easter date.
NVO_EXPORT std::optional<QString> MovableFeast(int Year, int Month, int Day, TLanguage Language);

/// One entry of a holiday list.
struct THoliday {
    /// The year of an entry that repeats every year.
    static constexpr int RepeatYear = -99999;
    int Day = 0;
    int Month = 0;
    int Year = RepeatYear;
    QString Caption;
    bool Repeats() const { return Year == RepeatYear; }
    friend bool operator==(const THoliday &, const THoliday &) = default;
};

/// The eight holidays every calendar starts with, captions in `Language` (English
/// outside 1..4): Christmas, Boxing Day, New Year, Epiphany, Assumption, All Saints,
/// Immaculate Conception and Labour Day, all repeating.
NVO_EXPORT std::vector<THoliday> DefaultHolidays(TLanguage Language);

/// The caption of the first entry of `Holidays` on the date, else, with `Movable`, of
/// the feast that moves with Easter; nothing when the date is no holiday.
NVO_EXPORT std::optional<QString> FindHoliday(const std::vector<THoliday> &Holidays, int Year,
                                              int Month, int Day, bool Movable, TLanguage Language);

/// One month laid out as the calendar shows it. A cell's day number N counts from
/// the shown month's first day (N < 1: a day of the previous month, N beyond the
/// month's length: of the next), and row 2 always holds day 1.
class NVO_EXPORT TMiniCalMonth
{
public:
    TMiniCalMonth(const QDate &date, TMiniCal::TDayOfWeek firstDayOfWeek);

    int Year() const { return FFirst.year(); }
    int Month() const { return FFirst.month(); }
    int DaysInMonth() const { return FFirst.daysInMonth(); }
    /// What the day number of cell (col, row) is offset by: 2 minus the column of day 1.
    int MonOfs() const { return FMonOfs; }
    /// The day number of the day cell (col 1..7, row 2..7).
    int DayOfCell(int col, int row) const { return 7 * row - 14 + FMonOfs + col - 1; }
    /// The cell that shows day `day` of the month.
    TGridCoord CellOfDay(int day) const;
    /// The date of day number `n` (in the previous or next month when outside it).
    QDate DateOfDay(int n) const { return FFirst.addDays(n - 1); }
    /// The weekday column `col` (1..7) shows: 0 = Monday .. 6 = Sunday.
    int WeekDayOfColumn(int col) const { return (FFirstDayOfWeek + col - 1) % 7; }
    /// The ISO week number row `row` (2..7) shows: that of the month's first day plus
    /// 7 days per row.
    int WeekNumberOfRow(int row) const { return FFirst.addDays(7 * (row - 2)).weekNumber(); }

private:
    QDate FFirst;
    int FFirstDayOfWeek;
    int FMonOfs;
};

/// The sizes that let 8 columns and 8 rows with their lines fill the client area:
/// the regular cells share it evenly, column 0 and row 0 take what is left.
struct TMiniCalCellSizes {
    int ColWidth = 0;
    int FirstColWidth = 0;
    int RowHeight = 0;
    int FirstRowHeight = 0;
    friend bool operator==(const TMiniCalCellSizes &, const TMiniCalCellSizes &) = default;
};
NVO_EXPORT TMiniCalCellSizes MiniCalCellSizes(QSize client, int lineWidth);

} // namespace nvo
