#include "DemoPage.h"
#include "Editors.h"
#include "NVO_Format.h"
#include "NVO_Thumbnails.h"
#include "Pages.h"

#include <QtGui/QColor>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QScrollBar>

#include <cmath>

namespace gallery {

namespace {

constexpr qint64 kSlides = 1'000'000'000;

/// The picture of slide `n`, made when the strip asks for it: a landscape, portrait
/// or square card in a colour of its own with a disc and the slide's number. Every
/// tenth slide stays an empty numbered placeholder, every 25th shows its frame only,
/// and every seventh carries a marker symbol.
void DrawSlide(qint64 n, nvo::TThumbnails::TImageRequestProcessing &how, int &mark, nvo::TBitmap &picture)
{
    if (n % 7 == 0)
        mark = int(n % nvo::NrOfMarks);
    if (n % 10 == 0)
        return;
    if (n % 25 == 0) {
        how = nvo::TThumbnails::irpShowFrameOnly;
        return;
    }
    how = nvo::TThumbnails::irpShowSlide;
    const int shape = int(n % 3);
    const int width = shape == 1 ? 90 : 160, height = shape == 2 ? 90 : 120;
    picture.SetSize(width, height);
    nvo::TCanvas &canvas = picture.Canvas();
    const int hue = int((n * 47) % 360);
    canvas.Brush.SetColor(nvo::FromQColor(QColor::fromHsv(hue, 90, 235)));
    canvas.Pen.Color = canvas.Brush.GetColor();
    canvas.FillRect(0, 0, width, height);
    canvas.Brush.SetColor(nvo::FromQColor(QColor::fromHsv((hue + 180) % 360, 200, 190)));
    canvas.Pen.Color = nvo::clr::Black;
    const int disc = std::min(width, height) / 2;
    canvas.Ellipse(width / 2 - disc / 2, height / 3 - disc / 3, width / 2 + disc / 2, height / 3 + disc * 2 / 3);
    const QString text = nvo::FormatInt(n);
    canvas.Brush.SetStyle(nvo::bsClear);
    canvas.Font.Color = nvo::clr::Black;
    canvas.TextOut((width - canvas.TextWidth(text)) / 2, height - canvas.TextHeight(text) - 4, text);
}

/// The strip with a scroll bar over its rows beside it: the strip itself has none.
QWidget *WithScrollBar(nvo::TThumbnails *strip)
{
    auto *box = new QWidget;
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto *bar = new QScrollBar(Qt::Vertical);
    layout->addWidget(strip);
    layout->addWidget(bar);
    const auto follow = [strip, bar] {
        const nvo::TThumbGeometry g = strip->Geometry();
        const QSignalBlocker block(bar);
        bar->setRange(0, int(std::max<qint64>(0, g.RowOf(g.Max))));
        bar->setPageStep(g.RowsShown());
        bar->setValue(int(g.RowPosition()));
    };
    QObject::connect(bar, &QScrollBar::valueChanged, strip,
                     [strip](int row) { strip->SetFirstThumbIdx(strip->Geometry().FirstIdxOfRow(row)); });
    QObject::connect(strip, &nvo::TThumbnails::FirstThumbIdxChanged, bar, follow);
    follow();
    box->setFixedSize(strip->width() + layout->spacing() + bar->sizeHint().width(), strip->height());
    return box;
}

} // namespace

QWidget *CreateThumbnailsPage(QWidget *parent)
{
    using nvo::TThumbnails;
    auto *page = new TDemoPage(
        QObject::tr("Thumbnail strip (TThumbnails)"),
        QObject::tr("A billion slides whose pictures the page draws only when the strip asks for one. "
                    "The wheel, the scroll bar and the keys scroll; a click selects, Shift and Ctrl "
                    "select runs and single slides in multiple mode; the slide under the mouse "
                    "gets the focus frame."),
        parent);

    auto *live = new TThumbnails;
    live->resize(482, 330); // four slides to a row
    live->SetSlideSize(100);
    live->SetMax(kSlides);
    live->SetSlideSelectMode(TThumbnails::ssmMultiple);
    live->SetFocusLinewidth(2);
    live->OnImageRequest = [](QObject *, qint64 n, TThumbnails::TImageRequestProcessing &how, int &mark,
                              nvo::TBitmap &picture) { DrawSlide(n, how, mark, picture); };
    live->SetFirstThumbIdx(999'999'990.5);
    live->SetSlidesSelected(999'999'993, 999'999'995, true);
    page->AddInstance(QObject::tr("10^9 slides"), WithScrollBar(live));

    auto *placeholders = new TThumbnails;
    placeholders->resize(482, 150);
    placeholders->SetSlideSize(60);
    placeholders->SetSlideMargin(4);
    placeholders->SetMax(24);
    placeholders->SetFrameStyle(nvo::fsSimple);
    placeholders->SetOuterFrameStyle(nvo::fsNone);
    placeholders->SetColorCover(nvo::RGBColor(0xD8, 0xE4, 0xF0));
    placeholders->SetColorSelected(nvo::RGBColor(0x30, 0x60, 0xA0));
    placeholders->SetSlideSelected(3, true);
    page->AddInstance(QObject::tr("Placeholders only"), placeholders);

    auto *selection = new QLabel;
    const auto showSelection = [live, selection] {
        selection->setText(QObject::tr("%1 selected in %2 runs, first %3, focus on %4")
                               .arg(nvo::FormatInt(live->NumSlidesSelected()))
                               .arg(live->Selection().RangeCount())
                               .arg(nvo::FormatInt(live->FirstSelectedSlide()))
                               .arg(nvo::FormatInt(live->GetFocusedSlide())));
    };
    QObject::connect(live, &TThumbnails::SelectionChanged, selection, showSelection);
    live->OnFocusChange = [showSelection](QObject *) { showSelection(); };
    showSelection();
    page->AddEditor(QStringLiteral("Selection"), selection);

    page->AddEditor(QStringLiteral("SlideSelectMode"), PropertyEditor(live, "SlideSelectMode"));
    // Wider than the properties' ranges, to show how the control holds a value.
    page->AddEditor(QStringLiteral("SlideSize"), IntPropertyEditor(live, "SlideSize", 0, 400));
    page->AddEditor(QStringLiteral("SlideDistance"), IntPropertyEditor(live, "SlideDistance", -5, 120));
    page->AddEditor(QStringLiteral("SlideMargin"), IntPropertyEditor(live, "SlideMargin", -5, 120));
    page->AddEditor(QStringLiteral("FocusLinewidth"), IntPropertyEditor(live, "FocusLinewidth", -1, 12));
    page->AddEditor(QStringLiteral("Min"), IntPropertyEditor(live, "Min", 0, 2'000'000'000));
    page->AddEditor(QStringLiteral("Max"), IntPropertyEditor(live, "Max", 0, 2'000'000'000));
    for (const char *style : {"FrameStyle", "OuterFrameStyle", "InnerFrameStyle"})
        page->AddEditor(QString::fromLatin1(style), PropertyEditor(live, style));
    page->AddEditor(QStringLiteral("AntiAlias"), PropertyEditor(live, "AntiAlias"));
    for (const char *colour : {"ColorBackGnd", "ColorCover", "ColorSelected", "ColorFocus", "ColorMark"})
        page->AddEditor(QString::fromLatin1(colour), PropertyEditor(live, colour));
    page->AddEditor(QStringLiteral("Enabled"), PropertyEditor(live, "Enabled"));
    return page;
}

} // namespace gallery
