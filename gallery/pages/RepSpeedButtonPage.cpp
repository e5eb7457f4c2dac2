#include "DemoPage.h"
#include "Editors.h"
#include "NVO_repsbut.h"
#include "Pages.h"

#include <memory>
#include <tuple>

#include <QtGui/QFontInfo>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>

namespace gallery {

namespace {

/// A "-" and a "+" repeat button around a counter they change while held.
QWidget *Counter(nvo::TRepSpeedButton *&plus)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *minus = new nvo::TRepSpeedButton;
    plus = new nvo::TRepSpeedButton;
    auto *count = new QLabel(QStringLiteral("0"));
    count->setMinimumWidth(60);
    count->setAlignment(Qt::AlignCenter);
    QFont big = count->font();
    big.setPixelSize(QFontInfo(big).pixelSize() * 2);
    count->setFont(big);
    auto value = std::make_shared<int>(0);
    const auto stepper = [count, value](int step) {
        return [count, value, step](QObject *) {
            *value += step;
            count->setText(QString::number(*value));
        };
    };
    for (auto [button, text, step] : {std::tuple{minus, "\u2212", -1}, std::tuple{plus, "+", +1}}) {
        button->setText(QString::fromUtf8(text));
        button->setFixedSize(40, 32);
        button->OnClick = stepper(step);
        button->OnRepeatClick = stepper(step);
    }
    layout->addWidget(minus);
    layout->addWidget(count);
    layout->addWidget(plus);
    layout->addStretch();
    return box;
}

} // namespace

QWidget *CreateRepSpeedButtonPage(QWidget *parent)
{
    auto *page = new TDemoPage(
        QObject::tr("Auto-repeat button (TRepSpeedButton)"),
        QObject::tr("A speed button that repeats while held with the mouse or the Space key: "
                    "the first repetition after the start delay, then one per repeat interval. "
                    "It stops on release, when the pointer leaves, and when the button is "
                    "disabled or hidden or the window loses the focus."),
        parent);
    nvo::TRepSpeedButton *plus = nullptr;
    page->AddInstance(QObject::tr("Hold a button to count"), Counter(plus));
    page->AddEditor(QStringLiteral("StartClickInterval"), IntPropertyEditor(plus, "StartClickInterval", 0, 2000));
    page->AddEditor(QStringLiteral("RepeatClickInterval"), IntPropertyEditor(plus, "RepeatClickInterval", 0, 1000));
    page->AddEditor(QStringLiteral("text"), PropertyEditor(plus, "text"));
    page->AddEditor(QStringLiteral("autoRaise"), PropertyEditor(plus, "autoRaise"));
    return page;
}

} // namespace gallery
