#include "NVO_Corvane.h"

#include "NVO_Format.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QIODevice>
#include <QtCore/QRandomGenerator>
#include <QtGui/QGuiApplication>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace nvo {

// ---- Name tables -----------------------------------------------------------------------

namespace {

constexpr int NrOfLanguages = 4;

// Rows in the order of TLanguage from lgEnglish on.
constexpr std::array<std::array<const char *, 7>, NrOfLanguages> WeekDayShortNames{{
    {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
    {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
    {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"},
    {"Lun", "Mar", "Mié", "Jue", "Vie", "Sáb", "Dom"},
}};

constexpr std::array<std::array<const char *, 12>, NrOfLanguages> MonthShortNames{{
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
    {"Janv", "Févr", "Mars", "Avr", "Mai", "Juin", "Juil", "Août", "Sept", "Oct", "Nov", "Déc"},
    {"Ene", "Feb", "Mar", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"},
}};

constexpr std::array<std::array<const char *, 12>, NrOfLanguages> MonthLongNames{{
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
     "Oktober", "November", "Dezember"},
    {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin", "Juillet", "Août", "Septembre",
     "Octobre", "Novembre", "Décembre"},
    {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre",
     "Octubre", "Noviembre", "Diciembre"},
}};

// lgUnspecified and ordinals a form may carry beyond the named languages read the
// English row: a calendar must never lose its names to an odd stored value.
int LanguageRow(TLanguage language)
{
    return (language >= lgEnglish && language <= lgSpanish) ? language - lgEnglish : 0;
}

template<std::size_t N>
QString NameAt(const std::array<std::array<const char *, N>, NrOfLanguages> &table,
               TLanguage language, int index1)
{
    if (index1 < 1 || index1 > int(N))
        return QString();
    return QString::fromUtf8(table[LanguageRow(language)][index1 - 1]);
}

} // namespace

QString WeekDayShort(TLanguage Language, int Day) { return NameAt(WeekDayShortNames, Language, Day); }
QString MonthShort(TLanguage Language, int Month) { return NameAt(MonthShortNames, Language, Month); }
QString MonthLong(TLanguage Language, int Month) { return NameAt(MonthLongNames, Language, Month); }

// ---- Colour table ----------------------------------------------------------------------

namespace {

struct NamedColor {
    TColor color;
    const char *name;
};

constexpr std::array<NamedColor, NrOfPredefinedColors> PredefinedColorTable{{
    {clr::Black, "Black"},
    {clr::Maroon, "Maroon"},
    {clr::Green, "Green"},
    {clr::Olive, "Olive"},
    {clr::Navy, "Navy"},
    {clr::Purple, "Purple"},
    {clr::Teal, "Teal"},
    {clr::Gray, "Gray"},
    {clr::Silver, "Silver"},
    {clr::Red, "Red"},
    {clr::Lime, "Lime"},
    {clr::Yellow, "Yellow"},
    {clr::Blue, "Blue"},
    {clr::Fuchsia, "Fuchsia"},
    {clr::Aqua, "Aqua"},
    {clr::White, "White"},
    {RGBColor(192, 220, 192), "Money green"},
    {RGBColor(166, 202, 240), "Sky blue"},
    {RGBColor(255, 251, 240), "Cream"},
    {RGBColor(160, 160, 164), "Medium gray"},
    // The system colours, in the order of their indices; index 25 is unused.
    {clr::ScrollBar, "Scroll bar"},
    {clr::Background, "Desktop"},
    {clr::ActiveCaption, "Active caption"},
    {clr::InactiveCaption, "Inactive caption"},
    {clr::Menu, "Menu"},
    {clr::Window, "Window"},
    {clr::WindowFrame, "Window frame"},
    {clr::MenuText, "Menu text"},
    {clr::WindowText, "Window text"},
    {clr::CaptionText, "Caption text"},
    {clr::ActiveBorder, "Active border"},
    {clr::InactiveBorder, "Inactive border"},
    {clr::AppWorkSpace, "Application workspace"},
    {clr::Highlight, "Highlight"},
    {clr::HighlightText, "Highlight text"},
    {clr::BtnFace, "Button face"},
    {clr::BtnShadow, "Button shadow"},
    {clr::GrayText, "Gray text"},
    {clr::BtnText, "Button text"},
    {clr::InactiveCaptionText, "Inactive caption text"},
    {clr::BtnHighlight, "Button highlight"},
    {clr::DkShadow3D, "3-D dark shadow"},
    {clr::Light3D, "3-D light"},
    {clr::InfoText, "Info text"},
    {clr::InfoBk, "Info background"},
    {clr::HotLight, "Hot light"},
    {clr::MenuHighlight, "Menu highlight"},
}};

bool IsPredefinedIndex(int index) { return index >= 1 && index <= NrOfPredefinedColors; }

} // namespace

TColor PredefinedColor(int Index)
{
    return IsPredefinedIndex(Index) ? PredefinedColorTable[Index - 1].color : clr::Black;
}

QString PredefinedColorName(int Index)
{
    return IsPredefinedIndex(Index) ? QString::fromLatin1(PredefinedColorTable[Index - 1].name)
                                    : QString();
}

// ---- Drawing ----------------------------------------------------------------------------

namespace {

/// Restores the pen and brush a helper changed, so the caller's canvas state survives.
class ToolKeeper
{
public:
    explicit ToolKeeper(TCanvas &canvas) : FCanvas(canvas), FPen(canvas.Pen), FBrush(canvas.Brush) {}
    ~ToolKeeper()
    {
        FCanvas.Pen = FPen;
        FCanvas.Brush = FBrush;
    }
    ToolKeeper(const ToolKeeper &) = delete;
    ToolKeeper &operator=(const ToolKeeper &) = delete;

private:
    TCanvas &FCanvas;
    TPen FPen;
    TBrush FBrush;
};

/// Pixels (left..right, top..bottom), all inclusive, in `color`.
void FillInclusive(TCanvas &canvas, int left, int top, int right, int bottom, TColor color)
{
    if (right < left || bottom < top)
        return;
    canvas.Brush.SetColor(color);
    canvas.FillRect(left, top, right + 1, bottom + 1);
}

/// A one-pixel outline of an inclusive rectangle: top and left edges in `topLeft`,
/// right and bottom edges (with the top-right and bottom-left corners) in `bottomRight`.
void Outline(TCanvas &canvas, int left, int top, int right, int bottom, TColor topLeft,
             TColor bottomRight)
{
    if (right < left || bottom < top)
        return;
    FillInclusive(canvas, left, top, right - 1, top, topLeft);
    FillInclusive(canvas, left, top, left, bottom - 1, topLeft);
    FillInclusive(canvas, right, top, right, bottom, bottomRight);
    FillInclusive(canvas, left, bottom, right, bottom, bottomRight);
}

} // namespace

void DrawFrame(TCanvas &Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor Light, TColor Highlight, TColor Shadow, TColor DarkShadow, TColor Extra,
               TFrameInside Inside)
{
    if (Right < Left || Bottom < Top)
        return;
    ToolKeeper keep(Canvas);
    if (Inside == fiFillBrush && Canvas.Brush.GetStyle() != bsClear)
        Canvas.FillRect(Left, Top, Right + 1, Bottom + 1);

    const auto ring = [&](int inset, TColor topLeft, TColor bottomRight) {
        Outline(Canvas, Left + inset, Top + inset, Right - inset, Bottom - inset, topLeft,
                bottomRight);
    };
    // The two outlines of a double line are offset by one pixel; on a rectangle one
    // pixel wide or high they collapse onto it instead of leaving it.
    const auto doubleLine = [&](TColor first, TColor second) {
        Outline(Canvas, Left, Top, std::max(Left, Right - 1), std::max(Top, Bottom - 1), first,
                first);
        Outline(Canvas, std::min(Left + 1, Right), std::min(Top + 1, Bottom), Right, Bottom,
                second, second);
    };

    switch (Style) {
    case fsNone:
        break;
    case fsLowered:
        ring(0, Shadow, Light);
        ring(1, DarkShadow, Highlight);
        break;
    case fsRaised:
        ring(0, Light, DarkShadow);
        ring(1, Highlight, Shadow);
        break;
    case fsEmbossed:
        doubleLine(Light, Shadow);
        break;
    case fsEngraved:
        doubleLine(Shadow, Light);
        break;
    case fsSimple:
    default:
        ring(0, Extra, Extra);
        break;
    }
}

void DrawRectangle(TCanvas &Canvas, int Left, int Top, int Right, int Bottom)
{
    if (Right < Left || Bottom < Top)
        return;
    ToolKeeper keep(Canvas);
    Canvas.Brush.SetStyle(bsClear);
    Canvas.Rectangle(Left, Top, Right + 1, Bottom + 1);
}

namespace {

enum class MarkShape : quint8 {
    Dot, Square, Circle, Diamond, TriangleUp, TriangleDown, TriangleLeft, TriangleRight,
    Hexagon, Cross, Plus, Star, HorizontalBar, VerticalBar, BowTie, HourGlass, Target,
};

struct MarkSpec {
    MarkShape shape;
    int radius; ///< half the symbol's size: the symbol spans centre ± radius
    bool solid; ///< filled in the pen colour rather than with the brush
};

constexpr int LargeMark = 4;
constexpr int SmallMark = 3;

// The numbering: 0 a dot; 1..16 the closed shapes large, outlined then solid; 17..32
// the same small; 33..42 the line symbols large then small; 43..50 the bow tie and
// hour glass large then small, outlined then solid; 51 a target.
constexpr std::array<MarkSpec, NrOfMarks> MakeMarkTable()
{
    std::array<MarkSpec, NrOfMarks> marks{};
    int n = 0;
    marks[n++] = {MarkShape::Dot, 1, true};
    constexpr MarkShape closed[] = {MarkShape::Square,       MarkShape::Circle,
                                    MarkShape::Diamond,      MarkShape::TriangleUp,
                                    MarkShape::TriangleDown, MarkShape::TriangleLeft,
                                    MarkShape::TriangleRight, MarkShape::Hexagon};
    constexpr MarkShape lines[] = {MarkShape::Cross, MarkShape::Plus, MarkShape::Star,
                                   MarkShape::HorizontalBar, MarkShape::VerticalBar};
    constexpr MarkShape crossed[] = {MarkShape::BowTie, MarkShape::HourGlass};
    for (int radius : {LargeMark, SmallMark})
        for (MarkShape shape : closed)
            for (bool solid : {false, true})
                marks[n++] = {shape, radius, solid};
    for (int radius : {LargeMark, SmallMark})
        for (MarkShape shape : lines)
            marks[n++] = {shape, radius, false};
    for (int radius : {LargeMark, SmallMark})
        for (MarkShape shape : crossed)
            for (bool solid : {false, true})
                marks[n++] = {shape, radius, solid};
    marks[n++] = {MarkShape::Target, LargeMark, false};
    return marks;
}

constexpr std::array<MarkSpec, NrOfMarks> MarkTable = MakeMarkTable();

/// A line from `from` to `to` with both end points, which `LineTo` alone leaves out.
void LineWithEnds(TCanvas &canvas, QPoint from, QPoint to)
{
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                      (to.y() > from.y()) - (to.y() < from.y()));
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x() + step.x(), to.y() + step.y());
}

void DrawPolygon(TCanvas &canvas, std::initializer_list<QPoint> points)
{
    canvas.Polygon(std::span<const QPoint>(points.begin(), points.size()));
}

void DrawMark(TCanvas &canvas, const MarkSpec &mark, int x, int y)
{
    const int r = mark.radius;
    const int h = r / 2;
    switch (mark.shape) {
    case MarkShape::Dot:
    case MarkShape::Square:
        canvas.Rectangle(x - r, y - r, x + r + 1, y + r + 1);
        break;
    case MarkShape::Circle:
        canvas.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
        break;
    case MarkShape::Diamond:
        DrawPolygon(canvas, {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}});
        break;
    case MarkShape::TriangleUp:
        DrawPolygon(canvas, {{x, y - r}, {x + r, y + r}, {x - r, y + r}});
        break;
    case MarkShape::TriangleDown:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y - r}, {x, y + r}});
        break;
    case MarkShape::TriangleLeft:
        DrawPolygon(canvas, {{x - r, y}, {x + r, y - r}, {x + r, y + r}});
        break;
    case MarkShape::TriangleRight:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y}, {x - r, y + r}});
        break;
    case MarkShape::Hexagon:
        DrawPolygon(canvas, {{x - h, y - r}, {x + h, y - r}, {x + r, y}, {x + h, y + r},
                             {x - h, y + r}, {x - r, y}});
        break;
    case MarkShape::BowTie:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y + r}, {x + r, y - r}, {x - r, y + r}});
        break;
    case MarkShape::HourGlass:
        DrawPolygon(canvas, {{x - r, y - r}, {x + r, y - r}, {x - r, y + r}, {x + r, y + r}});
        break;
    case MarkShape::Cross:
        LineWithEnds(canvas, {x - r, y - r}, {x + r, y + r});
        LineWithEnds(canvas, {x + r, y - r}, {x - r, y + r});
        break;
    case MarkShape::Plus:
    case MarkShape::HorizontalBar:
    case MarkShape::VerticalBar:
    case MarkShape::Star:
        if (mark.shape != MarkShape::VerticalBar)
            LineWithEnds(canvas, {x - r, y}, {x + r, y});
        if (mark.shape != MarkShape::HorizontalBar)
            LineWithEnds(canvas, {x, y - r}, {x, y + r});
        if (mark.shape == MarkShape::Star) {
            LineWithEnds(canvas, {x - h, y - h}, {x + h, y + h});
            LineWithEnds(canvas, {x + h, y - h}, {x - h, y + h});
        }
        break;
    case MarkShape::Target:
        canvas.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
        LineWithEnds(canvas, {x - h, y}, {x + h, y});
        LineWithEnds(canvas, {x, y - h}, {x, y + h});
        break;
    }
}

} // namespace

void DrawMarkOnCanvas(TCanvas &Canvas, int Mark, int X, int Y)
{
    if (Mark < 0 || Mark >= NrOfMarks)
        return;
    const MarkSpec &mark = MarkTable[Mark];
    ToolKeeper keep(Canvas);
    // Solid symbols fill in the pen colour: callers set only the pen to the symbol
    // colour and leave the brush at the cell's background.
    if (mark.solid)
        Canvas.Brush.SetColor(Canvas.Pen.Color);
    DrawMark(Canvas, mark, X, Y);
}

TColor MeanColor(TColor C1, TColor C2)
{
    const QPalette palette = QGuiApplication::palette();
    const TColor a = ColorToRGB(C1, palette);
    const TColor b = ColorToRGB(C2, palette);
    return RGBColor((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                    (GetBValue(a) + GetBValue(b)) / 2);
}

// ---- Enumeration helpers ---------------------------------------------------------------

QChar CSVDelimiterChar(TCSVDelimiters Delimiter)
{
    switch (Delimiter) {
    case cdSemicolon: return u';';
    case cdTab: return u'\t';
    case cdSpace: return u' ';
    case cdPipe: return u'|';
    case cdColon: return u':';
    case cdComma:
    default: return u',';
    }
}

bool CombineVerdicts(TLogicOp Op, bool AppVerdict, bool BuiltInVerdict)
{
    switch (Op) {
    case loOR: return AppVerdict || BuiltInVerdict;
    case loXOR: return AppVerdict != BuiltInVerdict;
    case loReplace: return AppVerdict;
    case loIgnore: return BuiltInVerdict;
    case loAND:
    default: return AppVerdict && BuiltInVerdict;
    }
}

// ---- Strings ---------------------------------------------------------------------------

int Tokenize(const QString &S, const QString &Delimiters, QStringList &Items)
{
    Items.clear();
    if (S.isEmpty())
        return 0;
    QString item;
    for (const QChar c : S) {
        if (Delimiters.contains(c)) {
            Items.append(item);
            item.clear();
        } else {
            item.append(c);
        }
    }
    Items.append(item);
    return int(Items.size());
}

int NumberedPos(const QString &Sub, const QString &S, int Start, int N, bool Flag)
{
    if (Sub.isEmpty() || N < 1)
        return 0;
    qsizetype from = std::max(Start, 1) - 1;
    for (int found = 0;;) {
        const qsizetype at = S.indexOf(Sub, from);
        if (at < 0)
            return 0;
        if (++found == N)
            return int(at + 1);
        from = at + (Flag ? 1 : Sub.size());
    }
}

QString strff(double Value, int Width, int Decimals)
{
    // Decimals is capped where a double has no more digits to give, so a wild count
    // cannot ask for a huge text.
    TLatin1Text text;
    text.AppendFixed(Value, std::clamp(Decimals, 0, kMaxDecimals), '.');
    return text.ToQString().rightJustified(Width, u' ');
}

QString LeftString(const QString &S, int N)
{
    if (N <= 0)
        return QString();
    return S.left(N).leftJustified(N, u' ');
}

QString EnsureTrailingChar(QChar Ch, const QString &S)
{
    return S.endsWith(Ch) ? S : S + Ch;
}

QString EnsureTrailingBkSlash(const QString &S)
{
    // Paths here use the platform's separator, "/", where the original platform had "\".
    return EnsureTrailingChar(u'/', S);
}

QString StripLeadingChars(QChar Ch, const QString &S)
{
    qsizetype i = 0;
    while (i < S.size() && S[i] == Ch)
        ++i;
    return S.mid(i);
}

QString StripTrailingChars(QChar Ch, const QString &S)
{
    qsizetype n = S.size();
    while (n > 0 && S[n - 1] == Ch)
        --n;
    return S.left(n);
}

QString ReplaceCharInString(const QString &S, QChar Old, QChar New)
{
    QString result = S;
    return result.replace(Old, New);
}

QString RemoveControlChars(const QString &S)
{
    QString result;
    result.reserve(S.size());
    for (const QChar c : S)
        if (c.unicode() >= u' ')
            result.append(c);
    return result;
}

// ---- Streams and files --------------------------------------------------------------

QString ReadLnStream(QIODevice &Stream, bool &Eof, int Param)
{
    Q_UNUSED(Param);
    if (!Stream.isReadable() || Stream.atEnd()) {
        Eof = true;
        return QString();
    }
    const bool atStart = !Stream.isSequential() && Stream.pos() == 0;
    QByteArray line = Stream.readLine();
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    QString text = QString::fromUtf8(line);
    // Editors put a byte order mark in front of UTF-8 files; it is no part of the text.
    if (atStart && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Eof = Stream.atEnd();
    return text;
}

bool DirExists(const QString &Path)
{
    return !Path.isEmpty() && QFileInfo(Path).isDir();
}

QString ParentDir(const QString &Path)
{
    const QString clean = QDir::cleanPath(Path);
    const qsizetype slash = clean.lastIndexOf(u'/');
    // The root and a bare name have no parent: "" ends a walk up the tree.
    if (clean == u"/" || slash < 0)
        return QString();
    return clean.left(slash + 1);
}

QString InventPassword(int Length)
{
    // No 0/O, 1/l/I: the password may be read off a screen and typed in.
    static const QString alphabet =
        QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789");
    // Longer than a cell can hold is of no use; the length often comes from a format
    // text, and a mistyped one must not make the program allocate gigabytes.
    constexpr int MaxPasswordLength = 255;
    const int length = std::min(Length, MaxPasswordLength);
    QString password;
    if (length <= 0)
        return password;
    password.reserve(length);
    QRandomGenerator *random = QRandomGenerator::system();
    for (int i = 0; i < length; ++i)
        password.append(alphabet[random->bounded(int(alphabet.size()))]);
    return password;
}

} // namespace nvo
