#pragma once

// The base package every control builds on: the shared one-byte enumerations, the
// package's exceptions, the name and colour tables, colour mixing, and small string,
// stream and file helpers. Its drawing (frames, markers) is in NVO_CorvaneDraw.h.

#include "NVO_Color.h"
#include "NVO_Errors.h"
#include "NVO_Events.h"
#include "NVO_Global.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <limits>
#include <vector>

class QIODevice;

namespace nvo {

// The shared enumerations live in the library namespace itself, and this header makes
// that namespace a Qt namespace, so that any control can publish them as Q_PROPERTY
// types and forms can set them by name or by ordinal. No other header may declare
// Q_NAMESPACE for nvo: a namespace has one meta-object.
Q_NAMESPACE_EXPORT(NVO_EXPORT)

/// The parts of a control that take the application style's colours when visual
/// styles are on (StyleServices): its text, its client area, its border.
enum TStyleElement { seFont = 0x1, seClient = 0x2, seBorder = 0x4 };
Q_DECLARE_FLAGS(TStyleElements, TStyleElement)
Q_FLAG_NS(TStyleElements)

/// Ordinal 0 gives a control its fixed colours; every other ordinal (also one beyond
/// the named values, as a form may store it) gives its system colours.
enum TColorScheme : quint8 { csClassic, csSystem };
Q_ENUM_NS(TColorScheme)

/// Horizontal alignment of a text in its area (an enumeration of the original control
/// framework rather than of the base package; it lives here so that forms and Designer
/// know it as a property type).
enum TAlignment : quint8 { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

enum TFrameStyle : quint8 {
    fsNone,     ///< no frame
    fsSimple,   ///< one line in the `Extra` colour
    fsLowered,  ///< two lines, sunken
    fsRaised,   ///< two lines, raised
    fsEmbossed, ///< double line, light outside top-left
    fsEngraved, ///< double line, shadow outside top-left (the colours of fsEmbossed exchanged)
};
Q_ENUM_NS(TFrameStyle)

/// Which decimal separator a numeric field accepts.
enum TDecPSep : quint8 {
    dsLocale, ///< the user's locale separator
    dsPoint,  ///< "." only
    dsComma,  ///< "," only
    dsEither, ///< "." or ","
};
Q_ENUM_NS(TDecPSep)

/// Language of the name tables. Ordinal 0 names no language; the tables answer it in
/// English, so a control that was never given a language still shows names.
enum TLanguage : quint8 { lgUnspecified, lgEnglish, lgGerman, lgFrench, lgSpanish };
Q_ENUM_NS(TLanguage)

/// Where the current cell moves: ordinal 0 down, ordinal 1 to the right.
enum TOrientation : quint8 { orVertical, orHorizontal };
Q_ENUM_NS(TOrientation)

/// How a background picture covers a control.
enum TBkgFill : quint8 {
    bfOwnSize, ///< at its own size at the top-left corner
    bfStretch, ///< stretched over the whole control
    bfTile,    ///< tiled from the top-left corner
};
Q_ENUM_NS(TBkgFill)

/// The direction in which a bar grows. 1 and 2 mirror 0 and 3.
enum TDirection : quint8 {
    drBottomUp,  ///< vertical, growing upwards
    drTopDown,   ///< vertical, growing downwards
    drRightLeft, ///< horizontal, growing to the left
    drLeftRight, ///< horizontal, growing to the right
};
Q_ENUM_NS(TDirection)

/// The field delimiter of CSV files; `CSVDelimiterChar` gives the character.
enum TCSVDelimiters : quint8 { cdComma, cdSemicolon, cdTab, cdSpace, cdPipe, cdColon };
Q_ENUM_NS(TCSVDelimiters)

/// How an application's verdict combines with a built-in one (`CombineVerdicts`).
enum TLogicOp : quint8 {
    loAND,     ///< both must hold
    loOR,      ///< either suffices
    loXOR,     ///< exactly one holds
    loReplace, ///< the application's verdict alone
    loIgnore,  ///< the built-in verdict alone
};
Q_ENUM_NS(TLogicOp)

/// Whether `DrawFrame` fills the inside of the frame with the brush.
enum TFrameInside : quint8 {
    fiKeep,      ///< leave the inside as it is (content drawn before the frame stays)
    fiFillBrush, ///< fill the inside with the brush (nothing when the brush is clear)
};
Q_ENUM_NS(TFrameInside)

// ---- Exceptions --------------------------------------------------------------------

/// The base package's general error.
NVO_DECLARE_EXCEPTION(ENVOError, Exception);
/// The data containers' error.
NVO_DECLARE_EXCEPTION(ENVODStructError, Exception);

// ---- Types ---------------------------------------------------------------------------

using TDoubleArray = std::vector<double>;

// ---- Constants -----------------------------------------------------------------------

/// The largest finite double: open range limit and overflow bound of number scanning.
inline constexpr double uc_MaxDouble = std::numeric_limits<double>::max();
/// Start value of nearest-value searches: no distance can be larger.
inline constexpr double uc_MaxReal = uc_MaxDouble;
inline constexpr double uc_ln10 = 2.302585092994045684017991454684364208;

// ---- Name tables -----------------------------------------------------------------------

/// Weekday abbreviation (at most 3 characters), `Day` 1 = Monday .. 7 = Sunday; "" outside.
NVO_EXPORT QString WeekDayShort(TLanguage Language, int Day);
/// Month abbreviation (at most 4 characters), `Month` 1..12; "" outside.
NVO_EXPORT QString MonthShort(TLanguage Language, int Month);
/// Full month name (at most 10 characters), `Month` 1..12; "" outside.
NVO_EXPORT QString MonthLong(TLanguage Language, int Month);

// ---- Colour table ----------------------------------------------------------------------

inline constexpr int NrOfPredefinedColors = 47;
/// Entries 1..16: the basic VGA colours; 17..20 extend them to a 20-colour set;
/// 21..47: system colours. 0 (black) outside 1..47.
NVO_EXPORT TColor PredefinedColor(int Index);
/// The English name of a predefined colour; "" outside 1..47.
NVO_EXPORT QString PredefinedColorName(int Index);
/// The name of a colour as the controls show it: the name of the predefined colour
/// with exactly this value (a system colour keeps its own name, whatever it looks
/// like now), otherwise "$" and the value's eight hexadecimal digits, upper case, in
/// the stored byte order (red lowest): RGBColor(0x12, 0x34, 0x56) is "$00563412".
/// Resolve a system colour with ColorToRGB first to name its current look.
NVO_EXPORT QString ColorToString(TColor Color);

/// The colour halfway between `C1` and `C2`, channel by channel (halves truncated);
/// system colours are resolved against the application palette first.
NVO_EXPORT TColor MeanColor(TColor C1, TColor C2);

// ---- Enumeration helpers ---------------------------------------------------------------

/// True for every ordinal that selects system colours (all but csClassic).
inline constexpr bool UsesSystemColors(TColorScheme Scheme) { return Scheme != csClassic; }
/// The two frame lines of the controls that draw their own frames: gray and white
/// under the fixed colours, the palette's button shadow and highlight otherwise.
inline constexpr TColor GrayLineColor(TColorScheme Scheme)
{
    return UsesSystemColors(Scheme) ? clr::BtnShadow : clr::Gray;
}
inline constexpr TColor WhiteLineColor(TColorScheme Scheme)
{
    return UsesSystemColors(Scheme) ? clr::BtnHighlight : clr::White;
}
/// The delimiter character; ordinals beyond the named ones give ",".
NVO_EXPORT QChar CSVDelimiterChar(TCSVDelimiters Delimiter);
/// Combines an application's verdict with a built-in one; unknown ordinals act as loAND.
NVO_EXPORT bool CombineVerdicts(TLogicOp Op, bool AppVerdict, bool BuiltInVerdict);

// ---- Strings ---------------------------------------------------------------------------

/// Splits `S` at each character of `Delimiters`; every delimiter ends an item, so a
/// trailing delimiter gives a final empty item. An empty `S` gives no items.
/// Returns the number of items.
NVO_EXPORT int Tokenize(const QString &S, const QString &Delimiters, QStringList &Items);
/// 1-based position of the `N`-th occurrence of `Sub` in `S` at or after position
/// `Start` (1-based); 0 when there is none. `Flag` true lets occurrences overlap.
NVO_EXPORT int NumberedPos(const QString &Sub, const QString &S, int Start, int N, bool Flag);
/// `Value` in fixed-point notation with `Decimals` (0..350) digits after a "."
/// whatever the locale, right-aligned in at least `Width` characters. The text is
/// FormatFixed's: true ties go to the even digit (0.125 gives "0.12"), a text that
/// shows only zeros has no "-", and NaN and infinities write "NAN", "INF", "-INF".
NVO_EXPORT QString strff(double Value, int Width, int Decimals);
/// Exactly `N` characters: `S` cut or padded with blanks ("" for N <= 0).
NVO_EXPORT QString LeftString(const QString &S, int N);
NVO_EXPORT QString EnsureTrailingChar(QChar Ch, const QString &S);
/// `S` ending in the directory separator "/".
NVO_EXPORT QString EnsureTrailingBkSlash(const QString &S);
NVO_EXPORT QString StripLeadingChars(QChar Ch, const QString &S);
NVO_EXPORT QString StripTrailingChars(QChar Ch, const QString &S);
NVO_EXPORT QString ReplaceCharInString(const QString &S, QChar Old, QChar New);
/// `S` without the characters below the blank.
NVO_EXPORT QString RemoveControlChars(const QString &S);

// ---- Streams and files --------------------------------------------------------------

/// The next line of `Stream` (UTF-8; LF or CRLF ends it, the end is not part of the
/// line). `Eof` becomes true when nothing is left to read after this line. `Param` is
/// reserved (callers pass 0).
NVO_EXPORT QString ReadLnStream(QIODevice &Stream, bool &Eof, int Param = 0);
NVO_EXPORT bool DirExists(const QString &Path);
/// The parent directory of `Path`, ending in "/"; "" for the root or a bare name.
NVO_EXPORT QString ParentDir(const QString &Path);
/// `Length` characters from a cryptographic random source, drawn from an alphabet
/// without look-alike characters; "" for Length <= 0.
NVO_EXPORT QString InventPassword(int Length);

} // namespace nvo

Q_DECLARE_OPERATORS_FOR_FLAGS(nvo::TStyleElements)
