#include "NVO_Colsel.h"

#include "NVO_ControlAccessible_p.h"

#include <QtCore/QSignalBlocker>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QAbstractItemDelegate>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QStyleOption>
#include <QtWidgets/QStylePainter>

#include <array>
#include <cmath>

namespace nvo {

namespace {

constexpr int kTableSize = NrOfPredefinedColors;
/// Room around the bar: left of it, and between its right edge and the name.
constexpr int kBarMargin = 3;
/// The pixels above and below the bar inside an entry.
constexpr int kBarInset = 2;
/// The bar is wide enough to carry the page symbol from this width on.
constexpr int kMinSymbolBarWidth = 12;
constexpr int kDefaultDropDownCount = 8;

bool IsTableIndex(int index) { return index >= 1 && index <= kTableSize; }

std::optional<TColor> ExecColorDialog(QWidget *parent, TColor initial)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(initial, parent->palette()), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

/// The small page outline that marks an editable entry, drawn over its bar.
void PaintPageSymbol(TCanvas &canvas, int left, int top, int bottom, TColor rgb)
{
    canvas.Pen.Color = IsLightColor(rgb) ? clr::Black : clr::White;
    const QPoint outline[] = {{left + 5, top + 4},     {left + 5, bottom - 5}, {left + 8, bottom - 5},
                              {left + 11, bottom - 8}, {left + 11, top + 7},   {left + 8, top + 4},
                              {left + 5, top + 4}};
    canvas.Polyline(outline);
    canvas.Pen.Color = clr::Black;
}

} // namespace

bool IsLightColor(TColor rgb)
{
    const double r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    return std::sqrt(r * r + 2 * g * g + b * b) / 2 > 180;
}

// ---- Private -------------------------------------------------------------------------

struct TColSel::Private {
    explicit Private(TColSel *owner) : q(owner)
    {
        for (int i = 1; i <= kTableSize; ++i) {
            FColors[i - 1] = PredefinedColor(i);
            FColorNames[i - 1] = ColorToString(PredefinedColor(i));
        }
    }

    bool InList(int index) const { return index >= 1 && index <= FNumColors; }
    TColor RGBOf(TColor color) const { return ColorToRGB(color, q->palette()); }
    bool ShowsPageSymbols() const { return FColorBarWidth >= kMinSymbolBarWidth && q->isEnabled(); }
    int ItemHeight() const { return QFontMetrics(q->font()).height() + 2 * kBarInset + 2; }

    QString Named(QString name) const;
    void StoreEntry(int index, TColor color, const QString &name);
    void Reload();
    void LoadPalette(int first, int count);
    void Repaint();

    /// Runs `change`, then tells SelColorChanged listeners when the selected colour or
    /// entry moved.
    template<class Work>
    void ChangeSelection(Work &&change)
    {
        const int oldIndex = FSelColorIx;
        const TColor oldColor = FColors[FSelColorIx - 1];
        change();
        if (oldIndex != FSelColorIx || oldColor != FColors[FSelColorIx - 1])
            Q_EMIT q->SelColorChanged(FColors[FSelColorIx - 1]);
    }

    void PaintItem(TCanvas &canvas, int row, const QRect &rect, bool current) const;
    void PaintBar(TCanvas &canvas, int index, int left, int top, int bottom) const;

    TColSel *const q;
    std::array<TColor, kTableSize> FColors{};
    std::array<QString, kTableSize> FColorNames;
    std::array<bool, kTableSize> FIsUserEditable{};
    int FNumColors = 20;
    int FSelColorIx = 1;
    int FColorBarWidth = 30;
    TColor FColor = clr::Window;
    /// 1 while the mouse was last over the colour bar, else 0.
    int FMouseAreaCode = 0;
};

QString TColSel::Private::Named(QString name) const
{
    if (q->OnColorNameChange)
        q->OnColorNameChange(q, name);
    return name;
}

void TColSel::Private::StoreEntry(int index, TColor color, const QString &name)
{
    FColors[index - 1] = color;
    FColorNames[index - 1] = Named(name);
    // The item texts are the names too: Qt's keyboard search and the accessible
    // value read them.
    if (index <= q->count())
        q->setItemText(index - 1, FColorNames[index - 1]);
}

void TColSel::Private::Reload()
{
    {
        // The items are rebuilt as a whole; the selection signals are the callers'.
        const QSignalBlocker block(q);
        q->clear();
        for (int i = 1; i <= FNumColors; ++i)
            q->addItem(FColorNames[i - 1]);
        q->setCurrentIndex(FSelColorIx - 1);
    }
    Repaint();
}

void TColSel::Private::LoadPalette(int first, int count)
{
    ChangeSelection([&] {
        for (int i = 1; i <= count; ++i) {
            const TColor color = PredefinedColor(first + i - 1);
            FColors[i - 1] = color;
            FColorNames[i - 1] = Named(ColorToString(color));
        }
        FNumColors = count;
        FSelColorIx = 1;
        Reload();
    });
}

void TColSel::Private::Repaint()
{
    q->PaintNow();
    // An open list shows the same entries.
    if (q->view()->isVisible())
        q->view()->viewport()->update();
}

// ---- Painting ------------------------------------------------------------------------

void TColSel::Private::PaintItem(TCanvas &canvas, int row, const QRect &rect, bool current) const
{
    // The classic owner-drawn list fills the entry in the selection colours before the
    // entry is drawn; what the entry leaves free (around the bar) shows which one it is.
    canvas.Brush.SetColor(current ? clr::Highlight : FColor);
    canvas.FillRect(rect);
    if (row < 0 || row >= FNumColors)
        return;
    const int index = row + 1;
    const bool enabled = q->isEnabled();
    int left = rect.left();
    const int top = rect.top();
    const int right = rect.right() + 1;
    const int bottom = rect.bottom() + 1;

    if (FColorBarWidth > 0)
        PaintBar(canvas, index, left, top, bottom);

    canvas.Font.Color = enabled ? clr::WindowText : clr::Gray;
    canvas.Brush.SetColor(enabled ? FColor : clr::Silver);
    left += FColorBarWidth + kBarMargin;
    const QString &name = FColorNames[index - 1];
    const int y = top + (bottom - top - canvas.TextHeight(name)) / 2;
    canvas.TextRect(QRect(left, top, right - left, bottom - top), left + kBarMargin, y, name);
}

void TColSel::Private::PaintBar(TCanvas &canvas, int index, int left, int top, int bottom) const
{
    const int barRight = left + kBarMargin + FColorBarWidth;
    canvas.Pen.Color = clr::Black;
    if (q->isEnabled()) {
        canvas.Brush.SetColor(FColors[index - 1]);
        canvas.Rectangle(left + kBarMargin, top + kBarInset, barRight, bottom - kBarInset);
    } else {
        // The disabled ground reaches one pixel beyond the entry's left, top and bottom.
        canvas.Pen.Color = clr::Silver;
        canvas.Brush.SetColor(clr::Silver);
        canvas.Rectangle(left - 1, top - 1, barRight, bottom + 1);
        canvas.Pen.Color = clr::Gray;
        canvas.Rectangle(left + kBarMargin, top + kBarInset, barRight, bottom - kBarInset);
        canvas.Pen.Color = clr::Black;
    }
    if (FIsUserEditable[index - 1] && ShowsPageSymbols())
        PaintPageSymbol(canvas, left, top, bottom, RGBOf(FColors[index - 1]));
}

/// Draws the entries of the open list through the control's own entry painting.
class TColSel::TItemDelegate : public QAbstractItemDelegate
{
public:
    explicit TItemDelegate(TColSel *owner) : QAbstractItemDelegate(owner), FOwner(owner) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        TCanvas canvas(*painter, FOwner->palette());
        canvas.Font.Font = FOwner->font();
        canvas.SetClipRect(option.rect);
        FOwner->d->PaintItem(canvas, index.row(), option.rect, option.state & QStyle::State_Selected);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const QString name = FOwner->GetColorNames(index.row() + 1);
        return {FOwner->d->FColorBarWidth + 2 * kBarMargin + QFontMetrics(FOwner->font()).horizontalAdvance(name)
                    + kBarMargin,
                FOwner->d->ItemHeight()};
    }

private:
    TColSel *FOwner;
};

// ---- Accessibility -------------------------------------------------------------------

/// A combo box whose value is the selected colour's name.
template<>
struct TControlAccessibility<TColSel> {
    static constexpr QAccessible::Role Role = QAccessible::ComboBox;
    static QString Name(const TColSel &) { return TColSel::tr("Colour selector"); }
    static QString Value(const TColSel &selector) { return selector.GetSelColorID(); }
};

// ---- TColSel -------------------------------------------------------------------------

TColSel::TColSel(QWidget *parent) : TComboControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TColSel::SelColorChanged);
    ColorDialog = ExecColorDialog;
    setItemDelegate(new TItemDelegate(this));
    setMaxVisibleItems(kDefaultDropDownCount);
    // Moves without a button count too: the colour dialog opens only from the bar.
    setMouseTracking(true);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0)
            d->ChangeSelection([&] { d->FSelColorIx = row + 1; });
    });
    // The user chose an entry, with a key or in the open list.
    connect(this, &QComboBox::activated, this, [this] {
        Guarded([this] {
            if (OnClick)
                OnClick(this);
            if (OnChange)
                OnChange(this);
        });
    });
    d->Reload();
}

TColSel::~TColSel() = default;

TColor TColSel::GetSelColor() const { return d->FColors[d->FSelColorIx - 1]; }

void TColSel::SetSelColor(TColor color)
{
    const TColor rgb = d->RGBOf(color);
    d->ChangeSelection([&] {
        for (int i = 1; i <= d->FNumColors; ++i) {
            if (d->RGBOf(d->FColors[i - 1]) == rgb) {
                d->FSelColorIx = i;
                const QSignalBlocker block(this);
                setCurrentIndex(i - 1);
                return;
            }
        }
        d->StoreEntry(d->FSelColorIx, color, ColorToString(rgb));
    });
    d->Repaint();
}

int TColSel::GetNumColors() const { return d->FNumColors; }

void TColSel::SetNumColors(int numColors)
{
    if (!IsTableIndex(numColors) || numColors == d->FNumColors)
        return;
    d->ChangeSelection([&] {
        d->FNumColors = numColors;
        d->FSelColorIx = 1;
        d->Reload();
    });
}

int TColSel::GetColorBarWidth() const { return d->FColorBarWidth; }

void TColSel::SetColorBarWidth(int width)
{
    if (width < 0 || width == d->FColorBarWidth)
        return;
    d->FColorBarWidth = width;
    updateGeometry();
    d->Repaint();
}

TColor TColSel::GetColor() const { return d->FColor; }

void TColSel::SetColor(TColor color)
{
    if (color == d->FColor)
        return;
    d->FColor = color;
    d->Repaint();
}

int TColSel::GetDropDownCount() const { return maxVisibleItems(); }
void TColSel::SetDropDownCount(int count) { setMaxVisibleItems(count); }

// The widget's own switch is the stored value; what a paint shows is isEnabled(),
// which a disabled parent turns off as well.

QString TColSel::GetSelColorID() const
{
    return currentIndex() < 0 ? QString() : d->FColorNames[d->FSelColorIx - 1];
}

TColor TColSel::GetColors(int Index) const { return d->InList(Index) ? d->FColors[Index - 1] : 0; }

void TColSel::SetColors(int Index, TColor color)
{
    if (!d->InList(Index) || color == d->FColors[Index - 1])
        return;
    d->ChangeSelection([&] { d->StoreEntry(Index, color, ColorToString(color)); });
    d->Repaint();
}

QString TColSel::GetColorNames(int Index) const
{
    return d->InList(Index) ? d->FColorNames[Index - 1] : QString();
}

void TColSel::SetColorNames(int Index, const QString &name)
{
    if (!d->InList(Index))
        return;
    d->StoreEntry(Index, d->FColors[Index - 1], name);
    d->Repaint();
}

bool TColSel::GetColorEditAllowed(int Index) const
{
    return d->InList(Index) && d->FIsUserEditable[Index - 1];
}

void TColSel::SetColorEditAllowed(int Index, bool allowed)
{
    if (!d->InList(Index) || allowed == d->FIsUserEditable[Index - 1])
        return;
    d->FIsUserEditable[Index - 1] = allowed;
    // Only the page symbol shows the flag.
    if (d->ShowsPageSymbols())
        d->Repaint();
}

void TColSel::SetAllColorEditFlags()
{
    d->FIsUserEditable.fill(true);
    d->Repaint();
}

void TColSel::ResetAllColorEditFlags()
{
    d->FIsUserEditable.fill(false);
    d->Repaint();
}

void TColSel::LoadBasicVGAPalette() { d->LoadPalette(1, 16); }
void TColSel::LoadExtendedPalette() { d->LoadPalette(1, 20); }
void TColSel::LoadStandardPalette() { d->LoadPalette(1, kTableSize); }
void TColSel::LoadWindowsSystemPalette() { d->LoadPalette(21, 27); }

QSize TColSel::sizeHint() const
{
    // Qt sizes the box by the item texts, which are the names; the bar comes on top.
    QSize size = TComboControl::sizeHint();
    size.rwidth() += d->FColorBarWidth + 2 * kBarMargin;
    size.setHeight(qMax(size.height(), d->ItemHeight() + 2 * kBarInset));
    return size;
}

QSize TColSel::minimumSizeHint() const
{
    QSize size = TComboControl::minimumSizeHint();
    size.rwidth() += d->FColorBarWidth + 2 * kBarMargin;
    size.setHeight(qMax(size.height(), d->ItemHeight() + 2 * kBarInset));
    return size;
}

void TColSel::showPopup()
{
    Guarded([this] {
        const int index = d->FSelColorIx;
        if (d->FMouseAreaCode == 1 && d->FIsUserEditable[index - 1] && ColorDialog) {
            if (const std::optional<TColor> chosen = ColorDialog(this, d->FColors[index - 1])) {
                d->ChangeSelection([&] { d->StoreEntry(index, *chosen, ColorToString(d->RGBOf(*chosen))); });
                d->Repaint();
            }
        }
        if (OnDropDown)
            OnDropDown(this);
    });
    TComboControl::showPopup();
}

void TColSel::paintEvent(QPaintEvent *)
{
    TPaintScope scope;
    Guarded([this] {
        // The style draws the box and its arrow; the current entry is ours.
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        TCanvas canvas(painter, palette());
        canvas.Font.Font = font();
        canvas.SetClipRect(field);
        d->PaintItem(canvas, currentIndex(), field, hasFocus());
    });
}

void TColSel::mouseMoveEvent(QMouseEvent *event)
{
    d->FMouseAreaCode = event->position().x() < d->FColorBarWidth ? 1 : 0;
    TComboControl::mouseMoveEvent(event);
}

void TColSel::leaveEvent(QEvent *event)
{
    // A mouse that left over the bar must not make a later keyboard opening (Alt+Down)
    // bring up the colour dialog.
    d->FMouseAreaCode = 0;
    TComboControl::leaveEvent(event);
}


} // namespace nvo
