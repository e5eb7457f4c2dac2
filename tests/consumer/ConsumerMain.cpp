// Uses the installed library as an application would: a bitmap drawn through its
// canvas, and every control of the catalogue created and destroyed.
// Both include forms work from an install: the bare name and the namespaced path.
#include "NVO_Bitmap.h"
#include <nvoquorvel/NVO_Catalogue.h>

#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failures = 0;

    nvo::TBitmap bitmap(8, 4);
    bitmap.Canvas().Brush.SetColor(nvo::clr::Navy);
    bitmap.Canvas().FillRect(0, 0, 8, 4);
    if (bitmap.Width() != 8 || bitmap.Height() != 4 || bitmap.Canvas().GetPixel(7, 3) != nvo::clr::Navy) {
        std::fprintf(stderr, "consumer: bitmap fill not seen\n");
        ++failures;
    }

    QWidget form;
    for (const nvo::TControlEntry &entry : nvo::ControlCatalogue()) {
        std::unique_ptr<QWidget> control(nvo::CreateControl(entry.ClassName, &form));
        if (!control) {
            std::fprintf(stderr, "consumer: cannot create %s\n", qPrintable(entry.ClassName));
            ++failures;
        }
    }
    if (nvo::CreateControl(QStringLiteral("nvo::TNoSuchControl"), &form)) {
        std::fprintf(stderr, "consumer: an unknown class name made a control\n");
        ++failures;
    }

    std::printf("consumer: %zu controls in the catalogue, %d failures\n",
                nvo::ControlCatalogue().size(), failures);
    return failures == 0 ? 0 : 1;
}
