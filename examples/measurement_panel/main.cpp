// A measurement panel: a numeric edit field drives an analog meter, a progress bar and
// a numeric label, all in ordinary Qt layouts. Type a number from 0 to 100 and press
// Enter; the three displays follow through the controls' ValueChanged signals.

#include <nvoquorvel/NVO_Meter.h>
#include <nvoquorvel/NVO_NumIO.h>
#include <nvoquorvel/NVO_NumLab.h>
#include <nvoquorvel/NVO_ProgBar.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>
#include <QtWidgets/QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Measurement panel"));

    auto *input = new nvo::TNumIO;
    input->SetInputFormat(nvo::TNumIO::itFloat);
    // A numeric edit field made in code accepts only 0 until it is given a range.
    input->SetRangeLow(0);
    input->SetRangeHigh(100);

    auto *meter = new nvo::TMeter;
    meter->SetMeterMinValue(0);
    meter->SetMeterMaxValue(100);

    auto *bar = new nvo::TProgBar;
    bar->SetMin(0);
    bar->SetMax(100);

    auto *label = new nvo::TNumLab;
    label->SetLeftText(QStringLiteral("Level"));
    label->SetRightText(QStringLiteral("%"));
    label->SetPrecision(1);

    QObject::connect(input, &nvo::TNumIO::ValueChanged, meter, &nvo::TMeter::SetValue);
    QObject::connect(input, &nvo::TNumIO::ValueChanged, bar, &nvo::TProgBar::SetValue);
    QObject::connect(input, &nvo::TNumIO::ValueChanged, label, &nvo::TNumLab::SetValue);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Set point:"), input);
    auto *layout = new QVBoxLayout(&window);
    layout->addLayout(form);
    layout->addWidget(meter, 1);
    layout->addWidget(bar);
    layout->addWidget(label);

    input->SetValue(42);
    meter->SetValue(42);
    bar->SetValue(42);
    label->SetValue(42);

    window.resize(320, 420);
    window.show();
    if (app.arguments().contains(QStringLiteral("--quit-after-show")))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
