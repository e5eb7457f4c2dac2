#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

namespace gallery {

/// What the command line asks of the gallery. Read before QApplication exists,
/// because a screenshot run must choose the offscreen platform first.
struct TOptions {
    QString ScreenshotFile;        ///< --screenshot FILE: render every page into FILE and quit
    bool PlatformRequested = false; ///< -platform given: the user's choice wins
    bool Help = false;
    QString Error;                 ///< non-empty: the command line is unusable
};

TOptions ParseOptions(const QStringList &arguments);
QString UsageText();

} // namespace gallery
