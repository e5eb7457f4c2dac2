#pragma once

// Names Designer shows for a control, derived from its class name alone so that a
// control joins the widget box with its catalogue line and nothing else.

#include <QtCore/QString>

namespace nvo::designer {

/// The class name without its namespace: "nvo::TNumLab" -> "TNumLab".
inline QString ShortClassName(const QString &className)
{
    const qsizetype scope = className.lastIndexOf(QLatin1String("::"));
    return scope < 0 ? className : className.mid(scope + 2);
}

/// The class name without namespace and without the "T" that marks a class:
/// "nvo::TNumLab" -> "NumLab". A name that merely starts with T ("Tachometer")
/// keeps it.
inline QString StemName(const QString &className)
{
    const QString shortName = ShortClassName(className);
    if (shortName.size() > 1 && shortName.front() == QLatin1Char('T') && shortName.at(1).isUpper())
        return shortName.mid(1);
    return shortName;
}

/// The object name a freshly dropped control gets: "nvo::TNumLab" -> "numLab"
/// (Designer appends "_2", "_3" ... for further instances).
inline QString DefaultObjectName(const QString &className)
{
    QString name = StemName(className);
    // A leading run of capitals is an abbreviation: "RLData" -> "rlData".
    qsizetype run = 0;
    while (run < name.size() && name.at(run).isUpper())
        ++run;
    const qsizetype lower = run > 1 && run < name.size() ? run - 1 : run;
    for (qsizetype i = 0; i < lower; ++i)
        name[i] = name.at(i).toLower();
    return name;
}

/// Up to three capitals of the stem, the text of the control's icon:
/// "TNumLab" -> "NL", "TReportListView" -> "RLV"; a stem with fewer than two
/// capitals shows its first two letters ("TMeter" -> "Me").
inline QString ControlInitials(const QString &className)
{
    const QString stem = StemName(className);
    QString initials;
    for (QChar c : stem)
        if (c.isUpper() && initials.size() < 3)
            initials += c;
    if (initials.size() < 2)
        initials = stem.left(2);
    return initials;
}

} // namespace nvo::designer
