#include "NVO_onoffbut.h"

#include <QtGui/QAccessible>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QAccessibleWidget>

#include <algorithm>
#include <optional>

namespace nvo {

namespace {

/// The style sheets' resource names in style order; the user style has none.
constexpr const char *kStyleResources[] = {
    "",           "CHECKBOX",   "RADIOBUT", "SLIDETOPBOT", "SLIDELFTRGT", "COLSLIDETB",
    "COLSLIDELR", "LEDREDGREEN", "ARROWTR", "ARROWUD",     "ARROWLR",     "TRAFFICLGT",
    "BEVELEDLED", "SMILEYS",    "SMILEYRG", "BULB",        "BUTLAMP",     "HDLEFT",
    "HDRIGHT",    "USER1",      "USER2",    "USER3",       "USER4",       "USER5",
};
constexpr int kStyleCount = int(std::size(kStyleResources));

/// `image` with every key-coloured pixel made fully transparent.
QImage KeyedOut(const QImage &image)
{
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = qRgb(qRed(kOnOffKeyColor), qGreen(kOnOffKeyColor), qBlue(kOnOffKeyColor));
    for (int y = 0; y < keyed.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
    return keyed;
}

/// The pictures of a resource style, cut once and kept: switching styles back and
/// forth reads no resource twice.
const TOnOffPictures &StylePictures(int style)
{
    static std::array<TOnOffPictures, kStyleCount> cache;
    TOnOffPictures &pictures = cache[size_t(style)];
    if (pictures[0].isNull()) {
        TBitmap sheet;
        if (sheet.LoadFromResourceName(QString::fromLatin1(kStyleResources[style])))
            pictures = CutOnOffSheet(sheet.Image());
    }
    return pictures;
}

/// The user style's pictures before the application gives its own: a cross when off,
/// a circle when on, nothing when disabled, 20 x 20 each.
TOnOffPictures DefaultUserPictures()
{
    const auto picture = [](auto draw) {
        TBitmap bitmap(20, 20);
        TCanvas &canvas = bitmap.Canvas();
        canvas.Brush.SetColor(kOnOffKeyColor);
        canvas.FillRect(0, 0, 20, 20);
        canvas.Pen.Color = clr::Black;
        draw(canvas);
        return KeyedOut(bitmap.Image());
    };
    TOnOffPictures pictures;
    pictures[0] = pictures[2] = picture([](TCanvas &) {});
    pictures[1] = picture([](TCanvas &c) {
        c.MoveTo(0, 0);
        c.LineTo(20, 20);
        c.MoveTo(0, 20);
        c.LineTo(20, 0);
    });
    pictures[3] = picture([](TCanvas &c) {
        c.Brush.SetStyle(bsClear);
        c.Ellipse(5, 5, 15, 15);
    });
    return pictures;
}

int AlignedX(TAlignment alignment, int left, int right, int centre)
{
    switch (alignment) {
    case taLeftJustify: return left;
    case taRightJustify: return right;
    case taCenter: return centre;
    }
    return left;
}

} // namespace

TOnOffPictures CutOnOffSheet(const QImage &sheet)
{
    TOnOffPictures pictures;
    const int w = sheet.width() / 2, h = sheet.height() / 2;
    if (w < 1 || h < 1)
        return pictures;
    const QImage keyed = KeyedOut(sheet);
    pictures[3] = keyed.copy(0, 0, w, h);
    pictures[1] = keyed.copy(w, 0, w, h);
    pictures[2] = keyed.copy(0, h, w, h);
    pictures[0] = keyed.copy(w, h, w, h);
    return pictures;
}

bool TOnOffLayout::InGlyph(int x, int y) const
{
    return LeftSpace < x && x < LeftSpace + GlyphWidth && TopSpace < y && y < TopSpace + GlyphHeight;
}

QPoint TOnOffLayout::LeftText(int tw, TAlignment alignment) const
{
    return {AlignedX(alignment, 4, LeftSpace - tw - 3, (LeftSpace - tw) / 2),
            TopSpace + (GlyphHeight - TextHeight) / 2};
}

QPoint TOnOffLayout::RightText(int tw, TAlignment alignment) const
{
    const int glyphEnd = LeftSpace + GlyphWidth;
    return {AlignedX(alignment, glyphEnd + 4, Width - tw - 4, (Width - tw - glyphEnd) / 2 + glyphEnd + 1),
            TopSpace + (GlyphHeight - TextHeight) / 2};
}

QPoint TOnOffLayout::TopText(int tw, TAlignment alignment) const
{
    return {AlignedX(alignment, 4, Width - tw - 4, LeftSpace + (GlyphWidth - tw) / 2),
            TopSpace - TextHeight - 4};
}

QPoint TOnOffLayout::BottomText(int tw, TAlignment alignment) const
{
    return {TopText(tw, alignment).x(), TopSpace + GlyphHeight + 4};
}

// ---- Accessibility ---------------------------------------------------------------------------

namespace {

/// A button whose checked state is the on/off state; named by its texts unless the
/// application gives it a name.
class TOnOffButAccessible : public QAccessibleWidget
{
public:
    explicit TOnOffButAccessible(TOnOffBut *button) : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Button().GetOnOff();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && Button().accessibleName().isEmpty()) {
            const TOnOffBut &b = Button();
            QStringList texts;
            for (const QString &text : {b.GetTopText(), b.GetLeftText(), b.GetRightText(), b.GetBottomText()})
                if (!text.isEmpty())
                    texts << text;
            return texts.isEmpty() ? QObject::tr("On/off button") : texts.join(u' ');
        }
        if (t == QAccessible::Value)
            return Button().GetOnOff() ? QObject::tr("on") : QObject::tr("off");
        return QAccessibleWidget::text(t);
    }

    static QAccessibleInterface *Factory(const QString &, QObject *object)
    {
        auto *button = qobject_cast<TOnOffBut *>(object);
        return button ? new TOnOffButAccessible(button) : nullptr;
    }

private:
    const TOnOffBut &Button() const { return static_cast<const TOnOffBut &>(*widget()); }
};

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&TOnOffButAccessible::Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

// ---- The control -----------------------------------------------------------------------------

struct TOnOffBut::Private
{
    explicit Private(TOnOffBut *owner) : q(owner) {}

    void LoadGlyphs();
    int CentredLeft() const { return (q->width() - FGlyphWidth) / 2; }
    int CentredTop() const { return (q->height() - FGlyphHeight) / 2; }
    TOnOffLayout Layout(int textHeight) const;
    /// Repaints at once; a transparent button asks the event loop, which paints the
    /// parent first.
    void Repaint();
    /// Stores a new state and tells everyone: picture, signal, OnChange.
    void SetState(bool on);
    /// Switches as a press on the glyph does; a grouped button that is on with
    /// AllowAllOff false stays on.
    void Toggle();
    /// The end of a press: a speed button that the press switched on goes off again.
    void EndPress();
    /// Tells the other buttons of the parent with the same group index that this
    /// one was switched.
    void UpdateExclusive();
    /// Another button `sender` of group `group` was switched: this one goes off when
    /// both are on, and takes the sender's AllowAllOff.
    void ButtonPressed(int group, const TOnOffBut *sender);
    void PaintText(TCanvas &canvas, QPoint at, const QString &text) const;
    /// A new text changes the picture and the room the button asks for.
    void SetText(QString &field, const QString &text);
    bool Grouped() const { return FGroupIndex != 0; }

    TOnOffBut *q;
    bool FOnOff = true;
    TOnOffPictures FButImg;
    TOnOffPictures FUserImg = DefaultUserPictures();
    int FGlyphWidth = 0, FGlyphHeight = 0;
    TOOButMode FMode = oobmNormalBut;
    TOOButMouseAction FMouseAction = oomaFocused;
    TOnOffButStyle FButStyle = oobsColSlideLR;
    int FGroupIndex = 0;
    bool FAllowAllOff = true;
    bool FAutoCenter = true;
    int FLeftSpace = 35, FTopSpace = 18;
    QString FLeftText, FRightText, FTopText, FBottomText;
    TAlignment FLeftTextAlignment = taRightJustify, FRightTextAlignment = taLeftJustify;
    TAlignment FTopTextAlignment = taCenter, FBottomTextAlignment = taCenter;
    TColor FColorText = clr::Black;
    TColor FColorBackgnd = clr::BtnFace;
    TFrameStyle FFrameStyle = fsLowered;
    bool FTransparent = false;
    /// A press or Space key is down that switched a speed button on.
    bool FSpeedPressed = false;
    /// The line height and the four texts' widths in the font, measured once per
    /// text and font rather than at every paint; empty when they need measuring.
    struct TTextSizes {
        int Height, Left, Right, Top, Bottom;
    };
    mutable std::optional<TTextSizes> FTextSizes;
    const TTextSizes &TextSizes() const;
};

const TOnOffBut::Private::TTextSizes &TOnOffBut::Private::TextSizes() const
{
    if (!FTextSizes) {
        const QFontMetrics metrics(q->font());
        const auto width = [&](const QString &text) { return text.isEmpty() ? 0 : metrics.horizontalAdvance(text); };
        FTextSizes = TTextSizes{metrics.height(), width(FLeftText), width(FRightText), width(FTopText),
                                width(FBottomText)};
    }
    return *FTextSizes;
}

void TOnOffBut::Private::LoadGlyphs()
{
    FButImg = FButStyle == oobsUser ? FUserImg : StylePictures(FButStyle);
    // The glyph's size is that of the pictures shown, the user's ones included.
    FGlyphWidth = FButImg[3].width();
    FGlyphHeight = FButImg[3].height();
}

TOnOffLayout TOnOffBut::Private::Layout(int textHeight) const
{
    return {q->width(), q->height(), q->GetLeftSpace(), q->GetTopSpace(), FGlyphWidth, FGlyphHeight,
            textHeight};
}

void TOnOffBut::Private::Repaint()
{
    if (FTransparent)
        q->Invalidate();
    else
        q->PaintNow();
}

void TOnOffBut::Private::SetState(bool on)
{
    FOnOff = on;
    q->PaintNow();
    Q_EMIT q->OnOffChanged(on);
    if (q->OnChange)
        q->OnChange(q);
}

void TOnOffBut::Private::Toggle()
{
    if (Grouped() && FOnOff && !FAllowAllOff)
        return;
    SetState(!FOnOff);
    FSpeedPressed = FMode == oobmSpeedBut && FOnOff;
    if (FOnOff)
        UpdateExclusive();
}

void TOnOffBut::Private::EndPress()
{
    // Whatever the pointer does meanwhile: a release beside the glyph or outside the
    // control must not leave a speed button stuck on.
    if (FSpeedPressed && FOnOff)
        SetState(false);
    FSpeedPressed = false;
}

void TOnOffBut::Private::UpdateExclusive()
{
    if (!Grouped() || !q->parentWidget())
        return;
    const auto siblings = q->parentWidget()->findChildren<TOnOffBut *>(Qt::FindDirectChildrenOnly);
    for (TOnOffBut *sibling : siblings)
        sibling->d->ButtonPressed(FGroupIndex, q);
}

void TOnOffBut::Private::ButtonPressed(int group, const TOnOffBut *sender)
{
    if (FGroupIndex < 0 || FGroupIndex != group || sender == q)
        return;
    if (sender->d->FOnOff && FOnOff)
        SetState(false);
    FAllowAllOff = sender->d->FAllowAllOff;
}

void TOnOffBut::Private::PaintText(TCanvas &canvas, QPoint at, const QString &text) const
{
    if (text.isEmpty())
        return;
    if (q->isEnabled()) {
        canvas.Font.Color = q->StyledFont()
            ? StyleServices::GetStyleFontColor(StyleServices::sfButtonTextNormal, q->palette())
            : ReadableTextColor(FColorText, FColorBackgnd, q->palette());
        canvas.TextOut(at.x(), at.y(), text);
        return;
    }
    canvas.TextOutEngraved(at.x(), at.y(), text);
}

void TOnOffBut::Private::SetText(QString &field, const QString &text)
{
    if (field == text)
        return;
    field = text;
    FTextSizes.reset();
    q->updateGeometry();
    Repaint();
}

QString TOnOffBut::StyleResourceName(TOnOffButStyle style)
{
    return int(style) < kStyleCount ? QString::fromLatin1(kStyleResources[style]) : QString();
}

TOnOffBut::TOnOffBut(QWidget *parent) : TButtonControl(parent), d(std::make_unique<Private>(this))
{
    InstallAccessibility();
    d->LoadGlyphs();
    resize(100, 50);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TOnOffBut::~TOnOffBut() = default;

bool TOnOffBut::GetOnOff() const { return d->FOnOff; }
TOnOffBut::TOnOffButStyle TOnOffBut::GetButtonStyle() const { return d->FButStyle; }
TOnOffBut::TOOButMode TOnOffBut::GetMode() const { return d->FMode; }
TOnOffBut::TOOButMouseAction TOnOffBut::GetMouseAction() const { return d->FMouseAction; }
int TOnOffBut::GetGroupIndex() const { return d->FGroupIndex; }
bool TOnOffBut::GetAllowAllOff() const { return d->FAllowAllOff; }
bool TOnOffBut::GetAutoCenter() const { return d->FAutoCenter; }
// With AutoCenter the glyph follows every size at once, also a size given before
// the control is shown (when Qt holds back its resize event).
int TOnOffBut::GetLeftSpace() const { return d->FAutoCenter ? d->CentredLeft() : d->FLeftSpace; }
int TOnOffBut::GetTopSpace() const { return d->FAutoCenter ? d->CentredTop() : d->FTopSpace; }
QString TOnOffBut::GetLeftText() const { return d->FLeftText; }
QString TOnOffBut::GetRightText() const { return d->FRightText; }
QString TOnOffBut::GetTopText() const { return d->FTopText; }
QString TOnOffBut::GetBottomText() const { return d->FBottomText; }
TAlignment TOnOffBut::GetLeftTextAlignment() const { return d->FLeftTextAlignment; }
TAlignment TOnOffBut::GetRightTextAlignment() const { return d->FRightTextAlignment; }
TAlignment TOnOffBut::GetTopTextAlignment() const { return d->FTopTextAlignment; }
TAlignment TOnOffBut::GetBottomTextAlignment() const { return d->FBottomTextAlignment; }
TColor TOnOffBut::GetColorText() const { return d->FColorText; }
TColor TOnOffBut::GetColorBackgnd() const { return d->FColorBackgnd; }
TFrameStyle TOnOffBut::GetFrameStyle() const { return d->FFrameStyle; }
bool TOnOffBut::GetTransparent() const { return d->FTransparent; }
QSize TOnOffBut::GlyphSize() const { return {d->FGlyphWidth, d->FGlyphHeight}; }
const QImage &TOnOffBut::CurrentPicture() const { return d->FButImg[2 * d->FOnOff + isEnabled()]; }

void TOnOffBut::SetOnOff(bool on)
{
    if (on == d->FOnOff || (!on && d->Grouped() && !d->FAllowAllOff))
        return;
    d->SetState(on);
    if (on)
        d->UpdateExclusive();
}

void TOnOffBut::SetButtonStyle(TOnOffButStyle style)
{
    if (style == d->FButStyle || !IsEnumValue(QMetaEnum::fromType<TOnOffButStyle>(), style, "ButtonStyle"))
        return;
    d->FButStyle = style;
    d->LoadGlyphs();
    updateGeometry();
    d->Repaint();
}

void TOnOffBut::SetMode(TOOButMode mode)
{
    if (mode == d->FMode || !IsEnumValue(QMetaEnum::fromType<TOOButMode>(), mode, "Mode"))
        return;
    d->FMode = mode;
    if (mode == oobmSpeedBut && d->FOnOff)
        d->SetState(false);
}

void TOnOffBut::SetMouseAction(TOOButMouseAction action)
{
    if (action == d->FMouseAction || !IsEnumValue(QMetaEnum::fromType<TOOButMouseAction>(), action, "MouseAction"))
        return;
    d->FMouseAction = action;
    // An indicator the user cannot switch takes no focus.
    setFocusPolicy(action == oomaNone ? Qt::NoFocus : Qt::StrongFocus);
}

void TOnOffBut::SetGroupIndex(int index)
{
    if (index == d->FGroupIndex)
        return;
    d->FGroupIndex = index;
    d->UpdateExclusive();
}

void TOnOffBut::SetAllowAllOff(bool allow)
{
    if (allow == d->FAllowAllOff)
        return;
    d->FAllowAllOff = allow;
    d->UpdateExclusive();
}

void TOnOffBut::SetAutoCenter(bool autoCenter)
{
    if (autoCenter == d->FAutoCenter)
        return;
    // Switched off, the glyph stays where the centring put it.
    d->FLeftSpace = GetLeftSpace();
    d->FTopSpace = GetTopSpace();
    d->FAutoCenter = autoCenter;
    d->Repaint();
}

void TOnOffBut::SetLeftSpace(int space)
{
    if (space == d->FLeftSpace || space < 0 || d->FAutoCenter)
        return;
    d->FLeftSpace = std::min(space, width());
    d->Repaint();
}

void TOnOffBut::SetTopSpace(int space)
{
    if (space == d->FTopSpace || space < 0 || d->FAutoCenter)
        return;
    d->FTopSpace = std::min(space, height());
    d->Repaint();
}

void TOnOffBut::SetLeftText(const QString &text) { d->SetText(d->FLeftText, text); }
void TOnOffBut::SetRightText(const QString &text) { d->SetText(d->FRightText, text); }
void TOnOffBut::SetTopText(const QString &text) { d->SetText(d->FTopText, text); }
void TOnOffBut::SetBottomText(const QString &text) { d->SetText(d->FBottomText, text); }

void TOnOffBut::SetLeftTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FLeftTextAlignment, alignment, "LeftTextAlignment", !d->FLeftText.isEmpty());
}
void TOnOffBut::SetRightTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FRightTextAlignment, alignment, "RightTextAlignment", !d->FRightText.isEmpty());
}
void TOnOffBut::SetTopTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FTopTextAlignment, alignment, "TopTextAlignment", !d->FTopText.isEmpty());
}
void TOnOffBut::SetBottomTextAlignment(TAlignment alignment)
{
    ChangeEnum(d->FBottomTextAlignment, alignment, "BottomTextAlignment", !d->FBottomText.isEmpty());
}

void TOnOffBut::SetColorText(TColor color) { Change(d->FColorText, color); }
void TOnOffBut::SetColorBackgnd(TColor color) { Change(d->FColorBackgnd, color, !d->FTransparent); }
void TOnOffBut::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }

void TOnOffBut::SetTransparent(bool transparent)
{
    if (transparent == d->FTransparent)
        return;
    d->FTransparent = transparent;
    // An opaque button paints every pixel itself, so Qt need not paint the parent first.
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    d->Repaint();
}

void TOnOffBut::SetUserGlyph(const QImage &sheet)
{
    TOnOffPictures pictures = CutOnOffSheet(sheet);
    if (pictures[3].isNull())
        throw ENVOOnOffBut(QStringLiteral("Component \"%1\": the user picture must hold four "
                                          "pictures of at least 1 x 1 pixels (2 x 2 or more)")
                               .arg(ComponentName(this)));
    d->FUserImg = std::move(pictures);
    if (d->FButStyle == oobsUser) {
        d->LoadGlyphs();
        updateGeometry();
        d->Repaint();
    }
}

void TOnOffBut::LoadUserGlyph(const QString &fileName)
{
    TBitmap sheet;
    if (!sheet.LoadFromFile(fileName))
        throw ENVOOnOffBut(QStringLiteral("Component \"%1\": cannot read the picture file \"%2\"")
                               .arg(ComponentName(this), fileName));
    SetUserGlyph(sheet.Image());
}

void TOnOffBut::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TOnOffBut *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    // Copied field by field without the setters' side effects (no group broadcast),
    // painted once at the end.
    const Private &from = *other->d;
    const bool stateChanges = d->FOnOff != from.FOnOff;
    BeginUpdate();
    d->FLeftSpace = from.FLeftSpace;
    d->FTopSpace = from.FTopSpace;
    d->FAutoCenter = from.FAutoCenter;
    d->FLeftText = from.FLeftText;
    d->FTopText = from.FTopText;
    d->FRightText = from.FRightText;
    d->FBottomText = from.FBottomText;
    d->FFrameStyle = from.FFrameStyle;
    d->FRightTextAlignment = from.FRightTextAlignment;
    d->FLeftTextAlignment = from.FLeftTextAlignment;
    d->FTopTextAlignment = from.FTopTextAlignment;
    d->FBottomTextAlignment = from.FBottomTextAlignment;
    d->FColorBackgnd = from.FColorBackgnd;
    SetColorScheme(other->GetColorScheme());
    d->FUserImg = from.FUserImg;
    d->FButStyle = from.FButStyle;
    d->FButImg = from.FButImg;
    d->FGlyphWidth = from.FGlyphWidth;
    d->FGlyphHeight = from.FGlyphHeight;
    d->FMouseAction = from.FMouseAction;
    setFocusPolicy(other->focusPolicy());
    d->FColorText = from.FColorText;
    SetTransparent(from.FTransparent);
    SetEnabled(other->GetEnabled());
    d->FOnOff = from.FOnOff;
    EndUpdate();
    if (stateChanges) {
        Q_EMIT OnOffChanged(d->FOnOff);
        if (OnChange)
            OnChange(this);
    }
}

void TOnOffBut::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

// ---- Painting ----------------------------------------------------------------------------------

void TOnOffBut::Paint(TCanvas &canvas)
{
    const int w = width(), h = height();
    const Private::TTextSizes &sizes = d->TextSizes();
    const TOnOffLayout layout = d->Layout(sizes.Height);
    if (!d->FTransparent) {
        canvas.Brush.SetColor(StyledClient() ? StyleServices::GetStyleColor(StyleServices::scButtonNormal, palette())
                                             : d->FColorBackgnd);
        canvas.FillRect(0, 0, w, h);
    }
    canvas.Brush.SetStyle(bsClear);
    const auto text = [&](const QString &t, int width, TAlignment alignment, auto place) {
        if (!t.isEmpty())
            d->PaintText(canvas, (layout.*place)(width, alignment), t);
    };
    text(d->FLeftText, sizes.Left, d->FLeftTextAlignment, &TOnOffLayout::LeftText);
    text(d->FRightText, sizes.Right, d->FRightTextAlignment, &TOnOffLayout::RightText);
    text(d->FTopText, sizes.Top, d->FTopTextAlignment, &TOnOffLayout::TopText);
    text(d->FBottomText, sizes.Bottom, d->FBottomTextAlignment, &TOnOffLayout::BottomText);

    const QRect glyph = layout.Glyph();
    canvas.CopyMode = cmSrcOver;
    canvas.Draw(glyph.left(), glyph.top(), CurrentPicture());
    canvas.CopyMode = cmSrcCopy;
    if (hasFocus()) {
        canvas.Pen.Color = GrayLine();
        canvas.Pen.Style = psDot;
        canvas.Rectangle(glyph.adjusted(-2, -2, 2, 2));
        canvas.Pen.Style = psSolid;
    }
    DrawFrame(canvas, d->FFrameStyle, 0, 0, w - 1, h - 1, WhiteLine(), clr::Silver, GrayLine(),
              clr::Black, clr::Black);
}

QSize TOnOffBut::sizeHint() const
{
    const Private::TTextSizes &sizes = d->TextSizes();
    const auto side = [](int textWidth) { return textWidth == 0 ? 6 : textWidth + 8; };
    const auto band = [&](const QString &t) { return t.isEmpty() ? 6 : sizes.Height + 6; };
    // The glyph is centred: both sides get room for the wider side text.
    const int across = std::max({d->FGlyphWidth + 2 + 2 * std::max(side(sizes.Left), side(sizes.Right)),
                                 side(sizes.Top), side(sizes.Bottom)});
    const int down = d->FGlyphHeight + 2 + 2 * std::max(band(d->FTopText), band(d->FBottomText));
    return {across, down};
}

QSize TOnOffBut::minimumSizeHint() const { return {d->FGlyphWidth + 6, d->FGlyphHeight + 6}; }

// ---- Input -------------------------------------------------------------------------------------

void TOnOffBut::focusOutEvent(QFocusEvent *event)
{
    TButtonControl::focusOutEvent(event);
    // A Space key held down while the focus moves on never sends its release here.
    Guarded([this] { d->EndPress(); });
}

void TOnOffBut::hideEvent(QHideEvent *event)
{
    TButtonControl::hideEvent(event);
    Guarded([this] { d->EndPress(); });
}

void TOnOffBut::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        d->FTextSizes.reset();
    TButtonControl::changeEvent(event);
}

bool TOnOffBut::ClickCounts(const QPoint &pos) const
{
    switch (d->FMouseAction) {
    case oomaNone: return false;
    case oomaFocused: return d->Layout(0).InGlyph(pos.x(), pos.y());
    case oomaPlain: return true;
    }
    return false;
}

void TOnOffBut::mousePressEvent(QMouseEvent *event)
{
    // The button's own switching replaces QAbstractButton's press-and-release click.
    FireMousePress(event);
    if (event->button() == Qt::LeftButton && ClickCounts(event->position().toPoint()))
        Guarded([this] { d->Toggle(); });
    event->accept();
}

void TOnOffBut::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Guarded([this] { d->EndPress(); });
    FireMouseRelease(event);
    event->accept();
}

void TOnOffBut::KeyPressed(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || d->FMouseAction == oomaNone) {
        TButtonControl::KeyPressed(event);
        return;
    }
    if (!event->isAutoRepeat())
        Guarded([this] { d->Toggle(); });
}

void TOnOffBut::keyReleaseEvent(QKeyEvent *event)
{
    std::optional<QKeyEvent> replacement;
    QKeyEvent *passed = FilterKeyRelease(event, replacement);
    if (!passed)
        return;
    if (passed->key() != Qt::Key_Space || d->FMouseAction == oomaNone) {
        QAbstractButton::keyReleaseEvent(passed);
        return;
    }
    // Space is the keyboard's click: the release ends the press and clicks.
    if (!passed->isAutoRepeat())
        Guarded([this] {
            d->EndPress();
            if (OnClick)
                OnClick(this);
        });
}

} // namespace nvo
