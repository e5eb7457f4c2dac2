#include "DemoPage.h"
#include "Editors.h"
#include "NVO_onoffbut.h"
#include "Pages.h"

#include <QtCore/QMetaEnum>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>

namespace gallery {

namespace {

using nvo::TOnOffBut;

TOnOffBut *MakeButton(TOnOffBut::TOnOffButStyle style, bool on, QWidget *parent = nullptr)
{
    auto *button = new TOnOffBut(parent);
    button->SetButtonStyle(style);
    button->SetOnOff(on);
    button->SetMouseAction(TOnOffBut::oomaPlain);
    button->SetFrameStyle(nvo::fsNone);
    button->setFixedSize(button->minimumSizeHint());
    return button;
}

/// Every style of the library, each on and off, under its name; a click switches.
QWidget *AllStyles()
{
    auto *all = new QWidget;
    auto *grid = new QGridLayout(all);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(2);
    const QMetaEnum styles = QMetaEnum::fromType<TOnOffBut::TOnOffButStyle>();
    constexpr int kColumns = 6;
    for (int style = TOnOffBut::oobsCheckbox; style <= TOnOffBut::oobsUser5; ++style) {
        const int cell = style - TOnOffBut::oobsCheckbox;
        const int row = 2 * (cell / kColumns), column = cell % kColumns;
        auto *pair = new QWidget;
        auto *pairLayout = new QHBoxLayout(pair);
        pairLayout->setContentsMargins(0, 0, 0, 0);
        pairLayout->setSpacing(2);
        for (const bool on : {true, false})
            pairLayout->addWidget(MakeButton(TOnOffBut::TOnOffButStyle(style), on), 0, Qt::AlignBottom);
        grid->addWidget(pair, row, column, Qt::AlignHCenter | Qt::AlignBottom);
        auto *name = new QLabel(QString::fromLatin1(styles.valueToKey(style)).mid(4));
        name->setAlignment(Qt::AlignHCenter);
        grid->addWidget(name, row + 1, column, Qt::AlignHCenter | Qt::AlignTop);
    }
    return all;
}

/// Three radio buttons of one group that keeps one of them on.
QWidget *Group()
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const QString &text : {QObject::tr("Low"), QObject::tr("Mid"), QObject::tr("High")}) {
        auto *button = new TOnOffBut(box);
        button->SetButtonStyle(TOnOffBut::oobsRadioBut);
        button->SetFrameStyle(nvo::fsNone);
        button->SetRightText(text);
        button->SetGroupIndex(1);
        button->SetAllowAllOff(false);
        button->resize(button->sizeHint());
        layout->addWidget(button);
    }
    return box;
}

} // namespace

QWidget *CreateOnOffButPage(QWidget *parent)
{
    auto *page = new TDemoPage(
        QObject::tr("On/off button (TOnOffBut)"),
        QObject::tr("A two-state picture button in 23 styles drawn by the library, or the "
                    "application's own pictures, with texts around the glyph. Buttons of one "
                    "group act as radio buttons; in speed mode a button is on while pressed. "
                    "Space switches the focused button."),
        parent);

    auto *live = new TOnOffBut;
    live->SetLeftText(QObject::tr("Pump"));
    live->SetRightText(QObject::tr("running"));
    live->resize(220, 56);
    page->AddInstance(QObject::tr("Live"), live);
    page->AddInstance(QObject::tr("All styles, on and off"), AllStyles());
    page->AddInstance(QObject::tr("Group, one always on"), Group());

    auto *speed = new TOnOffBut;
    speed->SetButtonStyle(TOnOffBut::oobsButLamp);
    speed->SetMode(TOnOffBut::oobmSpeedBut);
    speed->SetTopText(QObject::tr("Hold to light"));
    speed->resize(speed->sizeHint());
    page->AddInstance(QObject::tr("Speed mode"), speed);

    auto *disabled = new TOnOffBut;
    disabled->SetButtonStyle(TOnOffBut::oobsBulb);
    disabled->SetRightText(QObject::tr("Disabled"));
    disabled->SetEnabled(false);
    disabled->resize(disabled->sizeHint());
    page->AddInstance(QObject::tr("Disabled"), disabled);

    for (const char *property : {"OnOff", "ButtonStyle", "Mode", "MouseAction", "LeftText", "RightText",
                                 "TopText", "BottomText", "LeftTextAlignment", "RightTextAlignment",
                                 "ColorText", "ColorBackgnd", "FrameStyle", "ColorScheme",
                                 "AutoCenter", "Transparent", "Enabled"})
        page->AddEditor(QString::fromLatin1(property), PropertyEditor(live, property));
    return page;
}

} // namespace gallery
