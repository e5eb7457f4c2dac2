// A form designed in Qt Designer and loaded at run time: TFormLoader is a QUiLoader
// that knows the library's controls. (A form compiled with uic needs nothing of the
// kind: the generated code creates the controls and sets their properties directly.)

#include <nvoquorvel/NVO_FormLoader.h>
#include <nvoquorvel/NVO_NumLab.h>

#include <QtCore/QFile>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QFile file(QStringLiteral(":/example/panel.ui"));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    nvo::TFormLoader loader;
    std::unique_ptr<QWidget> form(loader.load(&file));
    if (!form) {
        std::fprintf(stderr, "form_from_ui: %s\n", qPrintable(loader.errorString()));
        return 1;
    }
    // The controls are found by their object names, as with any widget of a form.
    if (auto *temperature = form->findChild<nvo::TNumLab *>(QStringLiteral("temperature")))
        temperature->SetValue(22.0);

    form->show();
    if (app.arguments().contains(QStringLiteral("--quit-after-show")))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
