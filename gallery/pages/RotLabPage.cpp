#include "DemoPage.h"
#include "Editors.h"
#include "NVO_RotLab.h"
#include "Pages.h"

#include <QtWidgets/QDial>

namespace gallery {

namespace {

nvo::TRotLab *Label(const QString &caption, int angle, QSize size = QSize(150, 150))
{
    auto *label = new nvo::TRotLab;
    label->resize(size);
    label->SetCaption(caption);
    label->SetTextAngle(angle);
    return label;
}

} // namespace

QWidget *CreateRotLabPage(QWidget *parent)
{
    using nvo::TRotLab;
    auto *page = new TDemoPage(
        QObject::tr("Rotated label (TRotLab)"),
        QObject::tr("A caption drawn at any angle around a reference point, which is the left "
                    "end, the middle or the right end of the text's middle line; with AutoCenter "
                    "the point stays at the centre. Turn the dial to rotate the live label."),
        parent);

    auto *live = Label(QObject::tr("Turn me"), 30, QSize(180, 180));
    page->AddInstance(QObject::tr("Live, turned by the dial"), live);

    auto *vertical = Label(QObject::tr("Bottom to top"), 90, QSize(60, 150));
    page->AddInstance(QObject::tr("90 degrees"), vertical);

    auto *left = Label(QObject::tr("Left end"), 315);
    left->SetAlignment(nvo::taLeftJustify);
    left->SetFrameStyle(nvo::fsRaised);
    page->AddInstance(QObject::tr("Left end at the centre"), left);

    auto *disabled = Label(QObject::tr("Disabled"), 20);
    disabled->SetEnabled(false);
    disabled->SetTransparent(false);
    page->AddInstance(QObject::tr("Disabled, opaque"), disabled);

    // A dial counts from its bottom; turned to count counter-clockwise and read a
    // quarter turn on, its knob points the way the text runs.
    auto *dial = new QDial;
    dial->setRange(0, 359);
    dial->setWrapping(true);
    dial->setInvertedAppearance(true);
    dial->setNotchesVisible(true);
    dial->setFixedSize(90, 90);
    dial->setValue((live->GetTextAngle() + 90) % 360);
    QObject::connect(dial, &QDial::valueChanged, live,
                     [live](int value) { live->SetTextAngle((value + 270) % 360); });
    page->AddEditor(QStringLiteral("TextAngle"), dial);
    page->AddEditor(QStringLiteral("Caption"), PropertyEditor(live, "Caption"));
    page->AddEditor(QStringLiteral("Alignment"), PropertyEditor(live, "Alignment"));
    page->AddEditor(QStringLiteral("AutoCenter"), PropertyEditor(live, "AutoCenter"));
    page->AddEditor(QStringLiteral("PosX"), IntPropertyEditor(live, "PosX", -50, 250));
    page->AddEditor(QStringLiteral("PosY"), IntPropertyEditor(live, "PosY", -50, 250));
    page->AddEditor(QStringLiteral("AntiAlias"), PropertyEditor(live, "AntiAlias"));
    page->AddEditor(QStringLiteral("Transparent"), PropertyEditor(live, "Transparent"));
    page->AddEditor(QStringLiteral("Color"), PropertyEditor(live, "Color"));
    page->AddEditor(QStringLiteral("FrameStyle"), PropertyEditor(live, "FrameStyle"));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "Enabled"));
    return page;
}

} // namespace gallery
