#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

namespace gallery {

/// What the command line asks of the gallery. It is read twice: before QApplication
/// exists, because a screenshot run must choose the offscreen platform first, and
/// after QApplication has taken its own options (-style, -platform ...) out of the
/// command line, when whatever is left and unknown is an error.
struct TOptions {
    QString ScreenshotFile;        ///< --screenshot FILE: render every page into FILE and quit
    bool PlatformRequested = false; ///< -platform given: the user's choice wins
    bool Help = false;
    bool DarkPalette = false;       ///< --palette dark (or light, the default)
    QString Error;                 ///< non-empty: the command line is unusable
};

enum class TUnknownOptions { Pass, Report };
TOptions ParseOptions(const QStringList &arguments, TUnknownOptions unknown);
QString UsageText();

} // namespace gallery
