#pragma once

// The number functions of the math package.

#include "NVO_Global.h"

#include <QtCore/QString>

#include <optional>

namespace nvo {

/// `X` rounded toward negative infinity (-0.5 gives -1). Values beyond the int range
/// give the nearest int limit, NaN gives 0: callers feed it logarithms, which are
/// -inf for 0 and NaN for negative input, and must get a usable exponent back.
NVO_EXPORT int IntNeg(double X);

/// The value of a decimal integer text: an optional "+" or "-" and one or more ASCII
/// digits, nothing else (no blanks), within the 32-bit int range.
NVO_EXPORT std::optional<int> DecIntValue(const QString &S);
/// Whether `S` is a decimal integer as `DecIntValue` reads it.
NVO_EXPORT bool IsValidDecInt(const QString &S);

/// `A` x `B` / `C` with a 64-bit product, rounded to the nearest integer (halves away
/// from zero), as the system's integer scaling the controls were designed with: -1
/// when `C` is 0 or the result is beyond the int range. Band and step arithmetic
/// (gradients, scales) use it so that their edges land where the original ones did.
NVO_EXPORT int MulDiv(int A, int B, int C);

} // namespace nvo
