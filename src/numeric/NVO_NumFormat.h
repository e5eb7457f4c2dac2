#pragma once

// The number texts of the numeric fields: their input formats, the scanners that
// read what a user types (decimal with or without exponent, integer, hex, octal,
// binary), the formatter that writes a value back in a field's notation, and the
// digit writers. The routines are pure, so the numeric edit field, the custom-drawn
// numeric field and the report list's row form share them without a widget.

#include "NVO_Corvane.h"
#include "NVO_Global.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringView>

#include <functional>

namespace nvo {

/// The scope of the input formats. Both numeric fields publish TInFormat as a
/// property, so the enum needs a meta-object; the namespace's one meta-object holds
/// the frame's shared enumerations, hence a class of its own.
class NVO_EXPORT TNumFormat
{
    Q_GADGET

public:
    /// Input formats; itDynamic lets the first character choose: "$" hexadecimal,
    /// "%" binary, "&" octal, anything else itExp.
    enum TInFormat : quint8 { itExp, itFloat, itFixPoint, itInt, itHex, itOct, itBin, itDynamic };
    Q_ENUM(TInFormat)
};

using TInFormat = TNumFormat::TInFormat;

// ---- Number-text routines ------------------------------------------------------------
//
// Positions are 1-based, as the scanners' callers count them: a scan starts at `Pos`
// and leaves `Pos` on the character that ended it, or on length + 1 when it used the
// whole text. A start position before the first character is taken as 1.

/// Separator mode of a field's separator choice: 1 "." only, 2 "," only, 3 either.
/// The locale choice gives 2 when the user's locale writes "," and 1 otherwise.
NVO_EXPORT int SeparatorMode(TDecPSep choice);
/// The decimal separator a field of that mode writes: "," in mode 2, else ".".
NVO_EXPORT QChar WrittenSeparator(int sepMode);
/// Whether `c` is a decimal separator in separator mode `sepMode`.
constexpr bool IsModeSeparator(char16_t c, int sepMode)
{
    switch (sepMode) {
    case 1: return c == u'.';
    case 2: return c == u',';
    default: return c == u'.' || c == u',';
    }
}

/// Reads a decimal number (optional blanks and sign, digits, one separator of
/// `SepMode`, and with `ExpAllowed` an exponent "E"/"e" with optional sign) from
/// `Pos` on. Partial numbers a user passes through while typing read as far as they
/// go: "-" and "." give 0 and use the whole text, "1." gives 1, "1e" and "1e-" give
/// 1. Exponent digits that would push the exponent beyond 4200 are ignored. The
/// result is finite: it is clamped to +/-uc_MaxDouble.
NVO_EXPORT double ScanFloatNum(QStringView S, bool ExpAllowed, int SepMode, int &Pos);

/// Reads a signed 32-bit decimal integer: blanks, an optional sign, digits. It never
/// wraps: the digit that would leave the 32-bit range ends the scan, so a text with
/// more digits than 32 bits hold is never read as a whole.
NVO_EXPORT int ScanDecInt(QStringView S, int &Pos);

/// Read hexadecimal ("$" allowed as the first character of `S`), octal and binary
/// digits into 32 bits, returned as the signed 32-bit pattern ("FFFFFFFF" is -1).
/// Like ScanDecInt they stop at the digit that would exceed 32 bits.
NVO_EXPORT qint32 ScanHex(QStringView S, int &Pos);
NVO_EXPORT qint32 ScanOct(QStringView S, int &Pos);
NVO_EXPORT qint32 ScanBin(QStringView S, int &Pos);

/// Str (NVO_Format) of `V` with the numeric fields' rules ("." as point):
/// Decimals = -2 gives exponent notation with |Width| - 6 significant digits and a
/// two-digit exponent (" 1.50000E+00" for Width 12), or |Width| asterisks when the
/// exponent needs three digits; Decimals >= 0 gives fixed notation right-aligned in
/// |Width| characters (Width 1: no blanks). A negative Width fills the field with
/// zeros after the sign. Fields are limited to 255 characters.
NVO_EXPORT QString FormatNumStr(int Width, int Decimals, double V);

/// Exactly N digits of the unsigned 32-bit `V` (N limited to 1..8, 1..11, 1..32),
/// zeros in front; hex digits in upper case.
NVO_EXPORT QString HexStr(quint32 V, int N);
NVO_EXPORT QString OctStr(quint32 V, int N);
NVO_EXPORT QString BinStr(quint32 V, int N);

/// ConvertNumString of a field with input format `Format` and separator mode
/// `SepMode`. Hex, octal and binary texts are 32-bit two's-complement patterns of
/// at most 32 bits; the format's own prefix ("$", "&", "%") may lead them, and a
/// lone prefix is a number being typed that reads 0.
NVO_EXPORT bool ConvertNumString(QStringView S, TInFormat Format, int SepMode, double &V);

/// The text the field writes for `V` (the Value setter's table), with the decimal
/// separator of `SepMode`, so that the field accepts what it writes itself.
NVO_EXPORT QString NumberText(double V, TInFormat Format, int FixPointDecPlaces, int SepMode);

// ---- Rejected input ------------------------------------------------------------------

/// How the fields sound a rejected input. Tests count beeps through it; an empty
/// hook restores the default, QApplication::beep.
using TBeepHook = std::function<void()>;
NVO_EXPORT void SetBeepHook(TBeepHook hook);
/// Sounds the beep through the current hook.
NVO_EXPORT void SoundBeep();

} // namespace nvo
