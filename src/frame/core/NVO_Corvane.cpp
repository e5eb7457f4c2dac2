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

QString ColorToString(TColor Color)
{
    const auto named = std::find_if(PredefinedColorTable.begin(), PredefinedColorTable.end(),
                                    [Color](const NamedColor &entry) { return entry.color == Color; });
    if (named != PredefinedColorTable.end())
        return QString::fromLatin1(named->name);
    TLatin1Text text;
    text.Append('$');
    text.AppendLowestDigits(Color, 16, 8);
    return text.ToQString();
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
