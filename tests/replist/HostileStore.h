#pragma once

#include "NVO_replist.h"

#include <QtCore/QStringList>

namespace nvo::test {

/// Cell texts of every class an exchange format must carry: markup characters, quotes,
/// line ends, tabs, control characters, non-ASCII, a surrogate pair, full-length cells,
/// and texts that look like a root line or a delimiter-laden CSV field.
inline QStringList HostileTexts()
{
    return {QStringLiteral("plain"),
            QStringLiteral("<tag attr=\"v\"> & </replist> &amp; '"),
            QStringLiteral("line one\nline two\r\nline three\rend"),
            QStringLiteral("\ttabbed\t"),
            QStringLiteral("  padded  "),
            QString::fromUtf8("Zürich – 東京 – \xF0\x9F\x98\x80"),
            QString(255, QLatin1Char('x')),
            QString(255, QChar(0x00E9)),
            QStringLiteral("a,b;c|d:e \"quoted\""),
            QStringLiteral("<replist product=\"zandrovex\" id=\"x\">"),
            QStringLiteral("#commonheader"),
            QString(QChar(0x01)) + QStringLiteral("ctrl") + QChar(0x1F) + QChar(0xFFFF)};
}

/// A store holding the hostile texts in column 1, their reverse in column 2 (a
/// check-mark column with some rows checked), column 0 filled, one empty row, names,
/// formats, comment and common header with the same kinds of characters.
inline void BuildHostileStore(TRLData &d)
{
    const QStringList texts = HostileTexts();
    d.SetNrCols(3);
    d.SetNrRows(int(texts.size()) + 1); // the last row stays empty
    for (int row = 1; row <= texts.size(); ++row) {
        d.SetElem(0, row, QStringLiteral("hidden %1").arg(row));
        d.SetElem(1, row, texts[row - 1]);
        d.SetElem(3, row, texts[texts.size() - row]);
    }
    d.SetColCheckMode(2, TRLData::cmBox);
    for (int row = 1; row <= texts.size(); ++row)
        d.SetElem(2, row, QStringLiteral("item %1").arg(row));
    d.SetElemChecked(2, 2, true);
    d.SetElemChecked(2, 5, true);
    d.SetColName(1, QStringLiteral("Name <&> \"q\""));
    d.SetColName(2, QString::fromUtf8("Häkchen\tTab"));
    d.SetColName(3, QStringLiteral("Line\nFeed"));
    d.SetColumnFormat(1, QStringLiteral("[l:5][120]red|green|<blue>"));
    d.SetColumnFormat(3, QStringLiteral("[s][80]$pwd$8"));
    d.SetComment(QStringLiteral("comment with <markup> & \"quotes\"\nand a second line"));
    d.SetCommonHeader(QString::fromUtf8("Übersicht & <Summary>"));
}

} // namespace nvo::test
