#pragma once

#include "NVO_Global.h"

#include <QtCore/QObject>
#include <QtCore/QRegularExpression>
#include <QtCore/QString>
#include <QtCore/QStringMatcher>

#include <span>
#include <vector>

namespace nvo {

/// A search expression over the cells of a row, compiled once and then matched
/// against any number of rows. Three syntaxes, as users know them from search boxes:
///
/// - `fmSimple`: the expression as plain text; a row passes when one of its cells
///   contains it. An empty expression lets every row pass.
/// - `fmBoolean`: words separated by blanks, each of which some cell of the row must
///   contain (AND); `OR` or `|` between words starts an alternative, so
///   `red green OR blue` passes rows with both red and green, and rows with blue.
///   A word led by "-" must not occur in any cell (`-obsolete`); "double quotes" make
///   one word of a phrase with blanks. Within a word, `*` stands for any run of
///   characters and `?` for one character; a word still matches anywhere in a cell.
/// - `fmGrep`: a Perl-compatible regular expression (QRegularExpression) that some
///   cell must match somewhere; anchor it with ^ and $ to match whole cells.
///
/// Letter case is ignored when asked. An expression that cannot be compiled (only a
/// regular expression can be malformed) makes the filter invalid: `ErrorString()`
/// says why and where, and no row passes.
class NVO_EXPORT TRowFilter
{
    Q_GADGET

public:
    enum TFilterMode : quint8 { fmSimple, fmBoolean, fmGrep };
    Q_ENUM(TFilterMode)

    TRowFilter(const QString &expression, TFilterMode mode, bool ignoreCase);

    bool IsValid() const { return FError.isEmpty(); }
    /// Why the expression could not be compiled; empty when it could.
    QString ErrorString() const { return FError; }
    /// Whether a row whose searched cells hold `cells` passes. A caller whose cells hold
    /// no lone surrogate (texts decoded from UTF-8 never do) says so with `validUtf16`,
    /// which spares the regular expression engine its check of every cell; with a lone
    /// surrogate in a cell that check is what keeps the engine safe.
    bool Matches(std::span<const QStringView> cells, bool validUtf16 = false) const;

private:
    /// One word of a boolean expression, or the whole of a simple one.
    struct TTerm {
        QStringMatcher Plain;       ///< a word without wildcards
        QRegularExpression Pattern; ///< a word with wildcards, or a regular expression
        bool UsesPattern = false;
        bool Negated = false;

        bool FoundIn(std::span<const QStringView> cells, QRegularExpression::MatchOptions options) const;
    };
    /// Terms that must all hold.
    using TConjunction = std::vector<TTerm>;

    /// A term for `word`; with `wildcards`, "*" and "?" in it are wildcards.
    TTerm MakeTerm(const QString &word, bool negated, bool wildcards) const;
    void ParseBoolean(const QString &expression);

    Qt::CaseSensitivity FCase;
    std::vector<TConjunction> FAlternatives; ///< a row passes when one of them holds
    QString FError;
};

} // namespace nvo
