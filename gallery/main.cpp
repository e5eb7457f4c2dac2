#include "GalleryWindow.h"
#include "Look.h"
#include "Options.h"
#include "Overview.h"

#include <QtWidgets/QApplication>

#include <cstdio>

namespace {

QStringList RawArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int Fail(const QString &message, int code)
{
    std::fprintf(stderr, "nvo_gallery: %s\n", qPrintable(message));
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    using gallery::TUnknownOptions;
    const gallery::TOptions early = gallery::ParseOptions(RawArguments(argc, argv), TUnknownOptions::Pass);
    if (!early.Error.isEmpty())
        return Fail(early.Error + QLatin1Char('\n') + gallery::UsageText(), 2);
    if (early.Help) {
        std::fputs(qPrintable(gallery::UsageText()), stdout);
        return 0;
    }
    // A screenshot needs no display: unless the user chose a platform, draw offscreen.
    if (!early.ScreenshotFile.isEmpty() && !early.PlatformRequested
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    // QApplication has taken its own options out of argv: what is left must be ours.
    const gallery::TOptions options = gallery::ParseOptions(RawArguments(argc, argv), TUnknownOptions::Report);
    if (!options.Error.isEmpty())
        return Fail(options.Error + QLatin1Char('\n') + gallery::UsageText(), 2);
    gallery::ApplyFixedLook(app, options.DarkPalette);
    gallery::TGalleryWindow window;
    window.show();
    if (options.ScreenshotFile.isEmpty())
        return app.exec();

    const QString error = gallery::WritePng(gallery::RenderOverview(window), options.ScreenshotFile);
    if (!error.isEmpty())
        return Fail(QStringLiteral("cannot write the screenshot to \"%1\": %2").arg(options.ScreenshotFile, error), 1);
    return 0;
}
