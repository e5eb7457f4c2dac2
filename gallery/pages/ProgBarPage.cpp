#include "DemoPage.h"
#include "Editors.h"
#include "NVO_ProgBar.h"
#include "Pages.h"

namespace gallery {

QWidget *CreateProgBarPage(QWidget *parent)
{
    using nvo::TProgBar;
    auto *page = new TDemoPage(
        QObject::tr("Progress bar (TProgBar)"),
        QObject::tr("A bar between Min and Max in one of four directions, plain or with a colour "
                    "gradient, with a grid and a value text; it can step itself on a timer."),
        parent);

    auto *live = new TProgBar;
    live->SetValue(35);
    page->AddInstance(QObject::tr("Live"), live);

    auto *gradient = new TProgBar;
    gradient->SetShowColorGradient(true);
    gradient->SetGridDist(10);
    gradient->SetValue(70);
    page->AddInstance(QObject::tr("Gradient, grid"), gradient);

    auto *vertical = new TProgBar;
    vertical->resize(40, 140);
    vertical->SetDirection(nvo::drBottomUp);
    vertical->SetShowColorGradient(true);
    vertical->SetColorMapMode(TProgBar::cgmCover);
    vertical->SetTextAngle(90);
    vertical->SetTextPosX(20);
    vertical->SetTextPosY(70);
    vertical->SetValue(60);
    page->AddInstance(QObject::tr("Bottom up"), vertical);

    auto *running = new TProgBar;
    running->SetShowColorGradient(true);
    running->SetColorMapMode(TProgBar::cgmMove);
    running->SetTextPosX(150);
    running->SetValue(0);
    running->SetAutoIncStep(5);
    running->SetStartInterval(500);
    running->SetRepeatInterval(200);
    // The bar keeps counting past Max; the application wraps it.
    running->OnAutoInc = [running](QObject *) {
        if (running->GetValue() > running->GetMax())
            running->SetValue(running->GetMin());
    };
    running->SetAutoInc(true);
    page->AddInstance(QObject::tr("Automatic increment"), running);

    page->AddEditor(QStringLiteral("Value"), SliderPropertyEditor(live, "Value", 0, 100));
    page->AddEditor(QStringLiteral("Direction"), PropertyEditor(live, "Direction"));
    page->AddEditor(QStringLiteral("ShowColorGradient"), PropertyEditor(live, "ShowColorGradient"));
    page->AddEditor(QStringLiteral("ColorMapMode"), PropertyEditor(live, "ColorMapMode"));
    page->AddEditor(QStringLiteral("GridDist"), IntPropertyEditor(live, "GridDist", 0, 50));
    page->AddEditor(QStringLiteral("TextVisible"), PropertyEditor(live, "TextVisible"));
    page->AddEditor(QStringLiteral("TextAngle"), IntPropertyEditor(live, "TextAngle", 0, 360));
    page->AddEditor(QStringLiteral("TextAlignment"), PropertyEditor(live, "TextAlignment"));
    page->AddEditor(QStringLiteral("TextDecPlaces"), IntPropertyEditor(live, "TextDecPlaces", -2, 10));
    page->AddEditor(QStringLiteral("ColorMin"), PropertyEditor(live, "ColorMin"));
    page->AddEditor(QStringLiteral("ColorMax"), PropertyEditor(live, "ColorMax"));
    page->AddEditor(QStringLiteral("FrameStyleOuter"), PropertyEditor(live, "FrameStyleOuter"));
    page->AddEditor(QStringLiteral("AutoInc"), PropertyEditor(live, "AutoInc"));
    return page;
}

} // namespace gallery
