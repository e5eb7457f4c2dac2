#include "Options.h"

namespace gallery {

TOptions ParseOptions(const QStringList &arguments, TUnknownOptions unknown)
{
    TOptions options;
    const QString screenshotFlag = QStringLiteral("--screenshot");
    // arguments[0] is the program.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == screenshotFlag) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                options.Error = QStringLiteral("--screenshot needs a file name");
                return options;
            }
            options.ScreenshotFile = arguments.at(++i);
        } else if (argument.startsWith(screenshotFlag + QLatin1Char('='))) {
            options.ScreenshotFile = argument.mid(screenshotFlag.size() + 1);
            if (options.ScreenshotFile.isEmpty()) {
                options.Error = QStringLiteral("--screenshot needs a file name");
                return options;
            }
        } else if (argument == QLatin1String("--palette")) {
            const QString name = i + 1 < arguments.size() ? arguments.at(++i) : QString();
            if (name != QLatin1String("dark") && name != QLatin1String("light")) {
                options.Error = QStringLiteral("--palette needs \"dark\" or \"light\"");
                return options;
            }
            options.DarkPalette = name == QLatin1String("dark");
        } else if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform")) {
            options.PlatformRequested = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.Help = true;
        } else if (unknown == TUnknownOptions::Report) {
            options.Error = QStringLiteral("unknown option \"%1\"").arg(argument);
            return options;
        }
    }
    return options;
}

QString UsageText()
{
    return QStringLiteral("Usage: nvo_gallery [--screenshot FILE] [--palette dark|light]\n"
                          "  --screenshot FILE  render every page into one PNG image and exit\n"
                          "  --palette dark     show the controls under a dark palette\n");
}

} // namespace gallery
