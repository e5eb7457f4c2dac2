#include "NVO_MiniCal.h"

#include "NVO_ControlAccessible_p.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>

#include <algorithm>

namespace nvo {

namespace {

constexpr int kLanguages = 4;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

/// The table row of a language: ordinal 0 and ordinals beyond the four languages,
/// as a form or a cast may carry them, read the English row.
int LanguageRow(TLanguage language)
{
    return language >= lgEnglish && language <= lgSpanish ? language - lgEnglish : 0;
}

struct TDefaultHoliday {
    int Day;
    int Month;
    std::array<const char *, kLanguages> Captions;
};

constexpr std::array<TDefaultHoliday, 8> kDefaultHolidays{{
    {25, 12, {"Christmas Day", "Weihnachten", "Noël", "Navidad"}},
    {26, 12, {"Boxing Day", "Stephanitag", "Jour de boxe", "Día de San Esteban"}},
    {1, 1, {"New Year's Day", "Neujahrstag", "Nouvel An Jour", "Día de Año Nuevo"}},
    {6, 1, {"Epiphany", "Hl. Drei Könige", "Épiphanie", "Epifanía"}},
    {15, 8, {"Assumption of Mary", "Maria Himmelfahrt", "Assomption", "Asunción"}},
    {1, 11, {"All Saints", "Allerheiligen", "La Toussaint", "Día de Todos los Santos"}},
    {8, 12, {"Immaculate Conception", "Maria Empfängnis", "Immaculée Conception",
             "Inmaculada Concepción"}},
    {1, 5, {"Labor Day", "Tag der Arbeit", "Fête du Travail", "Día del Trabajo"}},
}};

struct TMovableFeast {
    int DaysAfterEaster;
    std::array<const char *, kLanguages> Captions;
};

constexpr std::array<TMovableFeast, 6> kMovableFeasts{{
    {0, {"Easter Day", "Ostersonntag", "Le jour de Pâques", "Domingo de Resurrección"}},
    {1, {"Easter Monday", "Ostermontag", "Lundi de Pâques", "Lunes de Pascua"}},
    {39, {"Ascension Day", "Christi Himmelfahrt", "Ascension du Christ", "Ascensión de Cristo"}},
    {49, {"Pentecost", "Pfingstsonntag", "Dimanche de Pentecôte", "Domingo de Pentecostés"}},
    {50, {"Whit Monday", "Pfingstmontag", "Lundi de Pentecôte", "Lunes de Pentecostés"}},
    {60, {"Corpus Christi", "Fronleichnam", "Corpus Christi", "Corpus Cristi"}},
}};

/// The names screen readers hear for the buttons.
QString ButtonName(int col, int row)
{
    if (row == 1)
        return col == 0 ? QStringLiteral("Today") : QString();
    switch (col) {
    case 1: return QStringLiteral("Previous year");
    case 2: return QStringLiteral("Previous month");
    case 6: return QStringLiteral("Next month");
    case 7: return QStringLiteral("Next year");
    default: return QString();
    }
}

QString ButtonText(int col)
{
    switch (col) {
    case 0: return QStringLiteral("#");
    case 1: return QStringLiteral("<<");
    case 2: return QStringLiteral("<");
    case 6: return QStringLiteral(">");
    case 7: return QStringLiteral(">>");
    default: return QString();
    }
}

bool IsButton(int col, int row)
{
    return (row == 0 && col != 0 && col != 3 && col != 4) || (row == 1 && col == 0);
}

QString MonthName(TLanguage language, int month, bool shortName)
{
    return shortName ? MonthShort(language, month) : MonthLong(language, month);
}

} // namespace

// ---- The calendar's logic ---------------------------------------------------------------

void CalcEasterSunday(int Year, int &Day, int &Month)
{
    if (Year < kFirstEasterYear || Year > kLastEasterYear)
        throw EConvertError(QStringLiteral("Easter Sunday is computed for the years %1 to %2, not for %3")
                                .arg(FormatInt(kFirstEasterYear), FormatInt(kLastEasterYear),
                                     FormatInt(Year)));
    const int k = Year / 100;
    const int s = (3 * k + 3) / 4;
    const int m = 15 + s - (8 * k + 13) / 25;
    const int sd = 2 - s;
    const int a = Year % 19;
    const int d = (19 * a + m) % 30;
    const int r = (a / 11 + d) / 29;
    const int og = 21 + d - r;
    const int sz = 7 - (Year + Year / 4 + sd) % 7;
    const int oe = 7 - (og - sz) % 7;
    const int os = og + oe; // a day of March, beyond 31 in April
    Month = os > 31 ? 4 : 3;
    Day = os > 31 ? os - 31 : os;
}

std::optional<QString> MovableFeast(int Year, int Month, int Day, TLanguage Language)
{
    // The feasts fall between March 22 and June 24.
    if (Month < 3 || Month > 6 || Year < kFirstEasterYear || Year > kLastEasterYear)
        return std::nullopt;
    const QDate date(Year, Month, Day);
    if (!date.isValid())
        return std::nullopt;
    int easterDay = 0, easterMonth = 0;
    CalcEasterSunday(Year, easterDay, easterMonth);
    const qint64 after = QDate(Year, easterMonth, easterDay).daysTo(date);
    for (const TMovableFeast &feast : kMovableFeasts)
        if (feast.DaysAfterEaster == after)
            return QString::fromUtf8(feast.Captions[LanguageRow(Language)]);
    return std::nullopt;
}

std::vector<THoliday> DefaultHolidays(TLanguage Language)
{
    std::vector<THoliday> holidays;
    holidays.reserve(kDefaultHolidays.size());
    for (const TDefaultHoliday &entry : kDefaultHolidays)
        holidays.push_back({entry.Day, entry.Month, THoliday::RepeatYear,
                            QString::fromUtf8(entry.Captions[LanguageRow(Language)])});
    return holidays;
}

std::optional<QString> FindHoliday(const std::vector<THoliday> &Holidays, int Year, int Month,
                                   int Day, bool Movable, TLanguage Language)
{
    for (const THoliday &holiday : Holidays)
        if (holiday.Day == Day && holiday.Month == Month && (holiday.Repeats() || holiday.Year == Year))
            return holiday.Caption;
    return Movable ? MovableFeast(Year, Month, Day, Language) : std::nullopt;
}

TMiniCalMonth::TMiniCalMonth(const QDate &date, TMiniCal::TDayOfWeek firstDayOfWeek)
    : FFirst(date.year(), date.month(), 1), FFirstDayOfWeek(firstDayOfWeek)
{
    const int column = (FFirst.dayOfWeek() - 1 - FFirstDayOfWeek + 7) % 7 + 1;
    FMonOfs = 2 - column;
}

TGridCoord TMiniCalMonth::CellOfDay(int day) const
{
    const int index = day - FMonOfs;
    return {index % 7 + 1, index / 7 + 2};
}

TMiniCalCellSizes MiniCalCellSizes(QSize client, int lineWidth)
{
    // Eight cells, each followed by its line, fill the client area exactly.
    const auto split = [lineWidth](int length) {
        const int room = std::max(length - 8 * lineWidth, 0);
        return std::pair{room / 8, room - 7 * (room / 8)};
    };
    const auto [colWidth, firstColWidth] = split(client.width());
    const auto [rowHeight, firstRowHeight] = split(client.height());
    return {colWidth, firstColWidth, rowHeight, firstRowHeight};
}

// ---- The control ------------------------------------------------------------------------

struct TMiniCal::Private {
    QDate FDate = QDate::currentDate();
    bool FAutoSwitch = true;
    TDayOfWeek FFirstDayOfWeek = dwMon;
    TLanguage FLanguage = lgEnglish;
    bool FIndicateHolidays = true;
    bool FShowHolidayHint = true;
    bool FShowMovableHolidays = true;
    bool FMarkToday = true;
    bool FShowMonthShort = true;
    bool FCtl3D = true;
    TColor FColorActiveMonth = clr::Black;
    TColor FColorInactiveMonth = clr::Silver;
    TColor FColorWeekNoBg = clr::Silver;
    TColor FColorWeekNoFg = clr::Black;
    TColor FColorDayIdBg = clr::Silver;
    TColor FColorDayIdFg = clr::Black;
    TColor FColorSelectedBg = 0xD0A040;
    TColor FColorSelectedFg = clr::White;
    TColor FColorHolidayBg = 0x9BD8F1;
    TColor FColorHolidayFg = 0x0000C0;
    TColor FColorToday = clr::Red;
    TDayColors FDayColors{0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xBBDDEE, 0xCCEEFF};
    std::vector<THoliday> FHDayList = DefaultHolidays(lgEnglish);

    /// The shown month, laid out again by UpdateCal.
    TMiniCalMonth FShown{FDate, dwMon};
    /// The holidays of the shown month by day (index day - 1), made when the month
    /// or what decides the holidays changes.
    std::array<std::optional<QString>, 31> FMonthHolidays;
    bool FMonthHolidaysValid = false;
    int FMonthHolidaysYear = 0;
    int FMonthHolidaysMonth = 0;

    const std::optional<QString> &HolidayOfShownMonth(int day) const { return FMonthHolidays[day - 1]; }
    void ForgetHolidays() { FMonthHolidaysValid = false; }
    void CacheHolidays()
    {
        if (FMonthHolidaysValid && FMonthHolidaysYear == FShown.Year()
            && FMonthHolidaysMonth == FShown.Month())
            return;
        FMonthHolidays.fill(std::nullopt);
        for (int day = 1; day <= FShown.DaysInMonth(); ++day)
            FMonthHolidays[day - 1] = FindHoliday(FHDayList, FShown.Year(), FShown.Month(), day,
                                                  FShowMovableHolidays, FLanguage);
        FMonthHolidaysValid = true;
        FMonthHolidaysYear = FShown.Year();
        FMonthHolidaysMonth = FShown.Month();
    }
};

TMiniCal::TMiniCal(QWidget *parent) : TCustomDrawGrid(parent), d(std::make_unique<Private>())
{
    AnnounceValueChanges(this, &TMiniCal::DateChanged);
    BeginUpdate();
    SetColCount(8);
    SetRowCount(8);
    SetFixedCols(1);
    SetFixedRows(2);
    SetGridLineWidth(1);
    SetScrollBars(ssNone);
    SetBorderStyle(bsSingle);
    SetOptions((kDefaultOptions & ~TGridOptions(goRangeSelect)) | goDrawFocusSelected);
    SetDefaultDrawing(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    resize(300, 180);
    UpdateCal();
    EndUpdate();
}

TMiniCal::~TMiniCal() = default;

// ---- Properties -------------------------------------------------------------------------

bool TMiniCal::GetAutoSwitch() const { return d->FAutoSwitch; }
void TMiniCal::SetAutoSwitch(bool on) { d->FAutoSwitch = on; }

TMiniCal::TDayOfWeek TMiniCal::GetFirstDayOfWeek() const { return d->FFirstDayOfWeek; }
void TMiniCal::SetFirstDayOfWeek(TDayOfWeek day)
{
    if (!IsEnumValue(QMetaEnum::fromType<TDayOfWeek>(), day, "FirstDayOfWeek") || day == d->FFirstDayOfWeek)
        return;
    d->FFirstDayOfWeek = day;
    UpdateCal();
    Changed();
}

TLanguage TMiniCal::GetLanguage() const { return d->FLanguage; }
void TMiniCal::SetLanguage(TLanguage language)
{
    if (language < lgEnglish || language > lgSpanish) {
        qWarning("%s \"%s\": Language %d has no names; English is taken instead",
                 metaObject()->className(), qPrintable(objectName()), int(language));
        language = lgEnglish;
    }
    d->FLanguage = language;
    ResetHolidays();
}

bool TMiniCal::GetIndicateHolidays() const { return d->FIndicateHolidays; }
void TMiniCal::SetIndicateHolidays(bool on)
{
    if (on == d->FIndicateHolidays)
        return;
    d->FIndicateHolidays = on;
    UpdateCal();
}

bool TMiniCal::GetShowHolidayHint() const { return d->FShowHolidayHint; }
void TMiniCal::SetShowHolidayHint(bool on)
{
    if (on == d->FShowHolidayHint)
        return;
    d->FShowHolidayHint = on;
    setToolTip(QString());
    UpdateCal();
}

bool TMiniCal::GetShowMovableHolidays() const { return d->FShowMovableHolidays; }
void TMiniCal::SetShowMovableHolidays(bool on)
{
    if (on == d->FShowMovableHolidays)
        return;
    d->FShowMovableHolidays = on;
    d->ForgetHolidays();
    UpdateCal();
}

bool TMiniCal::GetMarkToday() const { return d->FMarkToday; }
void TMiniCal::SetMarkToday(bool on) { Change(d->FMarkToday, on, ShowsToday()); }
bool TMiniCal::GetShowMonthShort() const { return d->FShowMonthShort; }
void TMiniCal::SetShowMonthShort(bool on) { Change(d->FShowMonthShort, on); }
bool TMiniCal::GetCtl3D() const { return d->FCtl3D; }
void TMiniCal::SetCtl3D(bool on) { Change(d->FCtl3D, on); }

TColor TMiniCal::GetColorActiveMonth() const { return d->FColorActiveMonth; }
void TMiniCal::SetColorActiveMonth(TColor color) { Change(d->FColorActiveMonth, color); }
TColor TMiniCal::GetColorInactiveMonth() const { return d->FColorInactiveMonth; }
void TMiniCal::SetColorInactiveMonth(TColor color) { Change(d->FColorInactiveMonth, color); }
TColor TMiniCal::GetColorWeekNoBg() const { return d->FColorWeekNoBg; }
void TMiniCal::SetColorWeekNoBg(TColor color) { Change(d->FColorWeekNoBg, color); }
TColor TMiniCal::GetColorWeekNoFg() const { return d->FColorWeekNoFg; }
void TMiniCal::SetColorWeekNoFg(TColor color) { Change(d->FColorWeekNoFg, color); }
TColor TMiniCal::GetColorDayIdBg() const { return d->FColorDayIdBg; }
void TMiniCal::SetColorDayIdBg(TColor color) { Change(d->FColorDayIdBg, color); }
TColor TMiniCal::GetColorDayIdFg() const { return d->FColorDayIdFg; }
void TMiniCal::SetColorDayIdFg(TColor color) { Change(d->FColorDayIdFg, color); }
TColor TMiniCal::GetColorSelectedBg() const { return d->FColorSelectedBg; }
void TMiniCal::SetColorSelectedBg(TColor color) { Change(d->FColorSelectedBg, color); }
TColor TMiniCal::GetColorSelectedFg() const { return d->FColorSelectedFg; }
void TMiniCal::SetColorSelectedFg(TColor color) { Change(d->FColorSelectedFg, color); }
TColor TMiniCal::GetColorHolidayBg() const { return d->FColorHolidayBg; }
void TMiniCal::SetColorHolidayBg(TColor color) { Change(d->FColorHolidayBg, color, d->FIndicateHolidays); }
TColor TMiniCal::GetColorHolidayFg() const { return d->FColorHolidayFg; }
void TMiniCal::SetColorHolidayFg(TColor color) { Change(d->FColorHolidayFg, color, d->FIndicateHolidays); }
TColor TMiniCal::GetColorToday() const { return d->FColorToday; }
void TMiniCal::SetColorToday(TColor color) { Change(d->FColorToday, color, d->FMarkToday && ShowsToday()); }

bool TMiniCal::ShowsToday() const
{
    const QDate today = QDate::currentDate();
    return today.year() == GetYear() && today.month() == GetMonth();
}

TColor TMiniCal::GetDayColors(TDayOfWeek day) const
{
    return day <= dwSun ? d->FDayColors[day] : 0;
}

void TMiniCal::SetDayColors(TDayOfWeek day, TColor color)
{
    if (day > dwSun)
        return;
    d->FDayColors[day] = color;
    UpdateCal();
    Changed();
}

// ---- The selected date ------------------------------------------------------------------

int TMiniCal::GetYear() const { return d->FDate.year(); }
int TMiniCal::GetMonth() const { return d->FDate.month(); }
int TMiniCal::GetDay() const { return d->FDate.day(); }

void TMiniCal::SetYear(int year)
{
    SelectParts(year >= 0 ? year : GetYear(), GetMonth(), GetDay());
}

void TMiniCal::SetMonth(int month)
{
    SelectParts(GetYear(), month >= 0 && month <= 12 ? month : GetMonth(), GetDay());
}

void TMiniCal::SetDay(int day)
{
    SelectParts(GetYear(), GetMonth(), day >= 0 && day <= d->FDate.daysInMonth() ? day : GetDay());
}

void TMiniCal::SelectParts(int year, int month, int day)
{
    // QDate knows years beyond the frame's date-time values; the control keeps to those.
    const QDate date(year, month, day);
    if (!date.isValid() || year < kFirstYear || year > kLastYear)
        throw EConvertError(QStringLiteral("Component \"%1\": no valid date of year %2, month %3, day %4")
                                .arg(ComponentName(this), FormatInt(year), FormatInt(month),
                                     FormatInt(day)));
    SetSelectedDate(date);
}

TDateTime TMiniCal::GetDate() const
{
    return EncodeDate(GetYear(), GetMonth(), GetDay());
}

void TMiniCal::SetDate(TDateTime date)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    if (year == 0)
        throw EConvertError(QStringLiteral("Component \"%1\": %2 is no date-time of the years 1 to 9999")
                                .arg(ComponentName(this), FormatGeneral(date, 15, QLatin1Char('.'))));
    SelectParts(year, month, day);
}

QDate TMiniCal::SelectedDate() const { return d->FDate; }

void TMiniCal::SetSelectedDate(const QDate &date)
{
    if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear) {
        SelectParts(date.year(), date.month(), date.day());
        return;
    }
    if (date == d->FDate)
        return;
    d->FDate = date;
    UpdateCal();
    Q_EMIT DateChanged(GetDate());
    Changed();
}

void TMiniCal::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TMiniCal::MonthStep(int n)
{
    // Whole months: the original stepped n days beyond the month's first or last
    // day, which is one month for n = -1 and 1 but not for larger steps.
    const qint64 months = qint64(GetYear()) * 12 + GetMonth() - 1 + n;
    const qint64 wholeYears = months >= 0 ? months / 12 : (months - 11) / 12;
    const int month = int(months - wholeYears * 12) + 1;
    // A year beyond the valid ones is named as the first one past them.
    const int year = int(std::clamp<qint64>(wholeYears, kFirstYear - 1, kLastYear + 1));
    const int days = QDate(year, month, 1).daysInMonth(); // 0 beyond the valid years
    SelectParts(year, month, days > 0 ? std::min(GetDay(), days) : GetDay());
}

void TMiniCal::PrevMonth() { MonthStep(-1); }
void TMiniCal::NextMonth() { MonthStep(1); }

void TMiniCal::PrevYear() { YearStep(-1); }
void TMiniCal::NextYear() { YearStep(1); }

void TMiniCal::YearStep(int n)
{
    // February 29 becomes the 28th in one step, so a refused year changes nothing.
    const bool leapDay = GetMonth() == 2 && GetDay() == 29;
    SelectParts(GetYear() + n, GetMonth(), leapDay ? 28 : GetDay());
}

void TMiniCal::LastDayOfMonth() { SetDay(d->FDate.daysInMonth()); }

// ---- Holidays ---------------------------------------------------------------------------

int TMiniCal::GetNumHolidays() const { return int(d->FHDayList.size()); }

void TMiniCal::ResetHolidays()
{
    d->FHDayList = DefaultHolidays(d->FLanguage);
    d->ForgetHolidays();
    UpdateCal();
}

void TMiniCal::ClearHolidayList()
{
    d->FHDayList.clear();
    d->ForgetHolidays();
    UpdateCal();
}

void TMiniCal::AddHoliday(int Day, int Month, int Year, const QString &Caption)
{
    d->FHDayList.push_back({Day, Month, Year, Caption});
    d->ForgetHolidays();
    UpdateCal();
}

void TMiniCal::AddRepeatHoliday(int Day, int Month, const QString &Caption)
{
    AddHoliday(Day, Month, THoliday::RepeatYear, Caption);
}

bool TMiniCal::RetrieveHoliday(int HDIndex, int &Day, int &Month, int &Year, bool &IsRepeatHDay,
                               QString &Description) const
{
    if (HDIndex < 1 || HDIndex > GetNumHolidays())
        return false;
    const THoliday &holiday = d->FHDayList[HDIndex - 1];
    Day = holiday.Day;
    Month = holiday.Month;
    Year = holiday.Year;
    IsRepeatHDay = holiday.Repeats();
    Description = holiday.Caption;
    return true;
}

bool TMiniCal::CheckHoliday(int Year, int Month, int Day, QString &Caption) const
{
    const std::optional<QString> found =
        FindHoliday(d->FHDayList, Year, Month, Day, d->FShowMovableHolidays, d->FLanguage);
    Caption = found.value_or(QString());
    return found.has_value();
}

// ---- Updating ---------------------------------------------------------------------------

void TMiniCal::UpdateCal()
{
    BeginUpdate();
    d->FShown = TMiniCalMonth(d->FDate, d->FFirstDayOfWeek);
    d->CacheHolidays();
    // The grid's current cell is the selected day's cell, so that the grid's keys,
    // focus and screen readers meet the day the calendar shows as selected.
    const TGridCoord cell = d->FShown.CellOfDay(GetDay());
    SetSelection({cell.X, cell.Y, cell.X, cell.Y});
    if (d->FShowHolidayHint) {
        const std::optional<QString> &holiday = d->HolidayOfShownMonth(GetDay());
        setToolTip(d->FIndicateHolidays && holiday ? *holiday : QString());
    }
    EndUpdate();
}

void TMiniCal::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TMiniCal *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    if (other == this)
        return;
    const bool dateChanges = other->d->FDate != d->FDate;
    *d = *other->d;
    UpdateCal();
    if (dateChanges) {
        Q_EMIT DateChanged(GetDate());
        Changed();
    }
}

void TMiniCal::AssignTo(QObject *dest) const
{
    auto *other = qobject_cast<TMiniCal *>(dest);
    if (!other)
        throw EConvertError(msg::CannotAssign(this, dest));
    other->Assign(this);
}

// ---- Geometry ---------------------------------------------------------------------------

void TMiniCal::LayoutCells()
{
    const TMiniCalCellSizes sizes = MiniCalCellSizes(viewport()->size(), GetGridLineWidth());
    BeginUpdate();
    SetDefaultColWidth(sizes.ColWidth);
    SetDefaultRowHeight(sizes.RowHeight);
    SetColWidths(0, sizes.FirstColWidth);
    SetRowHeights(0, sizes.FirstRowHeight);
    EndUpdate();
}

void TMiniCal::resizeEvent(QResizeEvent *event)
{
    TCustomDrawGrid::resizeEvent(event);
    Guarded([this] { LayoutCells(); });
}

QSize TMiniCal::sizeHint() const
{
    const QFontMetrics metrics(font());
    int caption = 0;
    for (int month = 1; month <= 12; ++month)
        caption = std::max(caption, metrics.horizontalAdvance(
                                        MonthName(d->FLanguage, month, d->FShowMonthShort) + QStringLiteral(" 0000")));
    int heading = 0;
    for (int day = 1; day <= 7; ++day)
        heading = std::max(heading, metrics.horizontalAdvance(WeekDayShort(d->FLanguage, day)));
    const int cellWidth = std::max({heading, metrics.horizontalAdvance(QStringLiteral("88")),
                                    (caption + 2) / 3}) + 12;
    const int cellHeight = metrics.height() + 6;
    const int frame = 2 * frameWidth();
    const int line = GetGridLineWidth();
    return {8 * (cellWidth + line) + frame, 8 * (cellHeight + line) + frame};
}

QSize TMiniCal::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    const int cellWidth = metrics.horizontalAdvance(QStringLiteral("88")) + 2;
    const int cellHeight = metrics.height();
    const int frame = 2 * frameWidth();
    const int line = GetGridLineWidth();
    return {8 * (cellWidth + line) + frame, 8 * (cellHeight + line) + frame};
}

// ---- Painting ---------------------------------------------------------------------------

namespace {

/// Text centred in `rect`, the rectangle filled with the brush first.
void CentredText(TCanvas &canvas, const QRect &rect, const QString &text)
{
    const int x = rect.left() + (rect.width() - canvas.TextWidth(text)) / 2;
    const int y = rect.top() + (rect.height() - canvas.TextHeight(text)) / 2;
    canvas.TextRect(rect, x, y, text);
}

/// The fixed 3-D frame of a button on (left, top, right, bottom), the right and bottom
/// edges excluded from the cell: its dark outer line lies on the grid lines after it.
void DrawButtonFrame(TCanvas &canvas, int l, int t, int r, int b)
{
    const auto polyline = [&](TColor color, QPoint from, QPoint corner, QPoint to) {
        canvas.Pen.Color = color;
        canvas.MoveTo(from.x(), from.y());
        canvas.LineTo(corner.x(), corner.y());
        canvas.LineTo(to.x(), to.y());
    };
    polyline(clr::White, {l, b - 1}, {l, t}, {r, t});
    polyline(0x686868, {l, b}, {r, b}, {r, t});
    polyline(0x9CA0A5, {l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t});
    polyline(0xE6E2E2, {l + 1, b - 2}, {l + 1, t + 1}, {r - 1, t + 1});
}

} // namespace

void TMiniCal::DrawCell(TCanvas &canvas, int col, int row, const QRect &rect, TGridDrawState)
{
    if (row == 0 && col == 5) {
        // The caption covers columns 3 to 5.
        const QRect caption(QPoint(CellRect(3, 0).left(), rect.top()), rect.bottomRight());
        DrawButton(canvas, caption,
                   MonthName(d->FLanguage, GetMonth(), d->FShowMonthShort) + QLatin1Char(' ')
                       + FormatInt(GetYear()));
    } else if (row == 1 && col == 0) {
        // "#" covers rows 0 and 1.
        DrawButton(canvas, rect.adjusted(0, -(GetRowHeights(0) + GetGridLineWidth()), 0, 0),
                   ButtonText(col));
    } else if (IsButton(col, row)) {
        DrawButton(canvas, rect, ButtonText(col));
    } else if (row == 1) {
        canvas.Brush.SetColor(d->FColorDayIdBg);
        canvas.Font.Color = d->FColorDayIdFg;
        CentredText(canvas, rect, WeekDayShort(d->FLanguage, d->FShown.WeekDayOfColumn(col) + 1));
    } else if (row >= 2 && col == 0) {
        canvas.Brush.SetColor(d->FColorWeekNoBg);
        canvas.Font.Color = d->FColorWeekNoFg;
        CentredText(canvas, rect, FormatInt(d->FShown.WeekNumberOfRow(row)));
    } else if (row >= 2) {
        DrawDay(canvas, col, row, rect);
    }
}

void TMiniCal::DrawButton(TCanvas &canvas, const QRect &rect, const QString &text)
{
    const bool styled = StyleServices::Enabled() && GetStyleElements().testFlag(seBorder);
    canvas.Brush.SetColor(styled ? StyleServices::GetStyleColor(StyleServices::scButtonNormal, canvas.Palette())
                                 : clr::BtnFace);
    // Button text rather than plain black: the same under the default palette, and
    // readable on the dark button face of a dark one.
    canvas.Font.Color = StyledFont() ? StyleServices::GetStyleFontColor(StyleServices::sfPanelTextNormal,
                                                                         canvas.Palette())
                                     : clr::BtnText;
    CentredText(canvas, rect, text);
    if (d->FCtl3D)
        DrawButtonFrame(canvas, rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
}

void TMiniCal::DrawDay(TCanvas &canvas, int col, int row, const QRect &rect)
{
    const TMiniCalMonth &month = d->FShown;
    const int n = month.DayOfCell(col, row);
    canvas.Brush.SetColor(d->FDayColors[month.WeekDayOfColumn(col)]);
    if (n < 1 || n > month.DaysInMonth()) {
        canvas.Font.Color = d->FColorInactiveMonth;
        CentredText(canvas, rect, FormatInt(month.DateOfDay(n).day()));
        return;
    }
    canvas.Font.Color = d->FColorActiveMonth;
    const bool holiday = d->FIndicateHolidays && d->HolidayOfShownMonth(n).has_value();
    if (holiday) {
        canvas.Brush.SetColor(d->FColorHolidayBg);
        canvas.Font.Color = d->FColorHolidayFg;
    }
    if (n == GetDay()) {
        canvas.Font.Color = d->FColorSelectedFg;
        canvas.Brush.SetColor(holiday ? MeanColor(d->FColorSelectedBg, d->FColorHolidayBg)
                                      : d->FColorSelectedBg);
    }
    CentredText(canvas, rect, FormatInt(n));
    if (d->FMarkToday && month.DateOfDay(n) == QDate::currentDate()) {
        canvas.Pen.Color = d->FColorToday;
        canvas.Brush.SetStyle(bsClear);
        canvas.Ellipse(rect.left() + 2, rect.top() + 2, rect.right() - 1, rect.bottom() - 1);
    }
}

QString TMiniCal::GetCellText(int col, int row) const
{
    if (col < 0 || col > 7 || row < 0 || row > 7)
        return {};
    if (row == 0 && col == 5)
        return MonthLong(d->FLanguage, GetMonth()) + QLatin1Char(' ') + FormatInt(GetYear());
    if (IsButton(col, row))
        return ButtonName(col, row);
    if (row == 1)
        return col == 0 ? QString() : WeekDayShort(d->FLanguage, d->FShown.WeekDayOfColumn(col) + 1);
    if (row < 2)
        return {};
    if (col == 0)
        return FormatInt(d->FShown.WeekNumberOfRow(row));
    const QDate date = d->FShown.DateOfDay(d->FShown.DayOfCell(col, row));
    QString text = FormatInt(date.day()) + QLatin1Char(' ') + MonthLong(d->FLanguage, date.month())
                   + QLatin1Char(' ') + FormatInt(date.year());
    QString caption;
    if (d->FIndicateHolidays && CheckHoliday(date.year(), date.month(), date.day(), caption))
        text += QStringLiteral(", ") + caption;
    return text;
}

// ---- Input ------------------------------------------------------------------------------

void TMiniCal::mousePressEvent(QMouseEvent *event)
{
    TCustomDrawGrid::mousePressEvent(event);
    Guarded([&] {
        const QPoint pos = event->position().toPoint();
        if (event->button() != Qt::LeftButton || pos.x() <= 0 || pos.y() <= 0
            || pos.x() >= viewport()->width() || pos.y() >= viewport()->height())
            return;
        const TGridCoord cell = MouseCoord(pos.x(), pos.y());
        ClickCell(cell.X, cell.Y);
    });
}

void TMiniCal::ClickCell(int col, int row)
{
    if (col > 0 && row > 1) {
        const int n = d->FShown.DayOfCell(col, row);
        if (d->FAutoSwitch || (n >= 1 && n <= d->FShown.DaysInMonth()))
            SetSelectedDate(d->FShown.DateOfDay(n));
        // A refused day leaves the grid's current cell where the click put it.
        UpdateCal();
        return;
    }
    if (row > 1 || (row == 1 && col != 0))
        return;
    switch (col) {
    case 0: SetSelectedDate(QDate::currentDate()); break;
    case 1: PrevYear(); break;
    case 2: PrevMonth(); break;
    case 6: NextMonth(); break;
    case 7: NextYear(); break;
    default: break;
    }
}

void TMiniCal::KeyPressed(QKeyEvent *event)
{
    Guarded([&] {
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        switch (event->key()) {
        case Qt::Key_Left: SetSelectedDate(d->FDate.addDays(-1)); return;
        case Qt::Key_Right: SetSelectedDate(d->FDate.addDays(1)); return;
        case Qt::Key_Up: SetSelectedDate(d->FDate.addDays(-7)); return;
        case Qt::Key_Down: SetSelectedDate(d->FDate.addDays(7)); return;
        case Qt::Key_PageUp: ctrl ? PrevYear() : PrevMonth(); return;
        case Qt::Key_PageDown: ctrl ? NextYear() : NextMonth(); return;
        case Qt::Key_Home: SetDay(1); return;
        case Qt::Key_End: LastDayOfMonth(); return;
        default: TCustomDrawGrid::KeyPressed(event); return;
        }
    });
}

} // namespace nvo
