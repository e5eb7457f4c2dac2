#include "NVO_RowFilter.h"

#include <algorithm>

namespace nvo {

namespace {

/// A wildcard word as an unanchored regular expression: "*" any run, "?" one character.
QString WildcardPattern(const QString &word)
{
    QString pattern;
    for (const QChar c : word) {
        if (c == u'*')
            pattern += QStringLiteral(".*");
        else if (c == u'?')
            pattern += u'.';
        else
            pattern += QRegularExpression::escape(QString(c));
    }
    return pattern;
}

/// The words of a boolean expression: blank-separated, "double quotes" keeping a phrase
/// together (an unclosed quote runs to the end). A quoted word is never an operator.
struct TWord {
    QString Text;
    bool Quoted = false;
    bool Negated = false;
};

std::vector<TWord> SplitWords(const QString &expression)
{
    std::vector<TWord> words;
    qsizetype i = 0;
    while (i < expression.size()) {
        if (expression[i].isSpace()) {
            ++i;
            continue;
        }
        TWord word;
        // "-" negates the word or phrase it leads (-obsolete, -"old stock"); alone it is
        // a word of its own.
        if (expression[i] == u'-' && i + 1 < expression.size() && !expression[i + 1].isSpace()) {
            word.Negated = true;
            ++i;
        }
        if (expression[i] == u'"') {
            const qsizetype close = expression.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? expression.size() : close;
            word.Text = expression.mid(i + 1, end - i - 1);
            word.Quoted = true;
            i = end + 1;
        } else {
            const qsizetype start = i;
            while (i < expression.size() && !expression[i].isSpace())
                ++i;
            word.Text = expression.mid(start, i - start);
        }
        if (!word.Text.isEmpty())
            words.push_back(word);
    }
    return words;
}

} // namespace

bool TRowFilter::TTerm::FoundIn(std::span<const QStringView> cells, QRegularExpression::MatchOptions options) const
{
    for (const QStringView cell : cells) {
        const bool found = UsesPattern ? Pattern.match(cell, 0, QRegularExpression::NormalMatch, options).hasMatch()
                                       : Plain.indexIn(cell) >= 0;
        if (found)
            return true;
    }
    return false;
}

TRowFilter::TRowFilter(const QString &expression, TFilterMode mode, bool ignoreCase)
    : FCase(ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
{
    switch (mode) {
    case fmSimple:
        if (!expression.isEmpty())
            FAlternatives.push_back({MakeTerm(expression, false, false)});
        break;
    case fmBoolean:
        ParseBoolean(expression);
        break;
    case fmGrep: {
        TTerm term;
        term.UsesPattern = true;
        term.Pattern.setPattern(expression);
        term.Pattern.setPatternOptions(ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                                  : QRegularExpression::NoPatternOption);
        if (!term.Pattern.isValid()) {
            FError = QStringLiteral("Invalid regular expression \"%1\" at offset %2: %3")
                         .arg(expression)
                         .arg(term.Pattern.patternErrorOffset())
                         .arg(term.Pattern.errorString());
            return;
        }
        term.Pattern.optimize();
        FAlternatives.push_back({std::move(term)});
        break;
    }
    }
}

TRowFilter::TTerm TRowFilter::MakeTerm(const QString &word, bool negated, bool wildcards) const
{
    TTerm term;
    term.Negated = negated;
    term.UsesPattern = wildcards && (word.contains(u'*') || word.contains(u'?'));
    if (term.UsesPattern) {
        term.Pattern.setPattern(WildcardPattern(word));
        term.Pattern.setPatternOptions(FCase == Qt::CaseInsensitive ? QRegularExpression::CaseInsensitiveOption
                                                                    : QRegularExpression::NoPatternOption);
        term.Pattern.optimize();
    } else {
        term.Plain = QStringMatcher(word, FCase);
    }
    return term;
}

void TRowFilter::ParseBoolean(const QString &expression)
{
    TConjunction conjunction;
    const auto closeAlternative = [&] {
        if (!conjunction.empty())
            FAlternatives.push_back(std::move(conjunction));
        conjunction.clear();
    };
    for (const TWord &word : SplitWords(expression)) {
        const bool isOperator = !word.Quoted && !word.Negated
            && (word.Text == QLatin1String("OR") || word.Text == QLatin1String("|"));
        if (isOperator)
            closeAlternative();
        else
            conjunction.push_back(MakeTerm(word.Text, word.Negated, true));
    }
    closeAlternative();
}

bool TRowFilter::Matches(std::span<const QStringView> cells, bool validUtf16) const
{
    if (!IsValid())
        return false;
    if (FAlternatives.empty())
        return true;
    const QRegularExpression::MatchOptions options =
        validUtf16 ? QRegularExpression::DontCheckSubjectStringMatchOption : QRegularExpression::NoMatchOption;
    for (const TConjunction &conjunction : FAlternatives) {
        const bool holds = std::all_of(conjunction.begin(), conjunction.end(), [&](const TTerm &term) {
            return term.FoundIn(cells, options) != term.Negated;
        });
        if (holds)
            return true;
    }
    return false;
}

} // namespace nvo
