#include "NVO_RasterLab.h"

#include "NVO_ControlAccessible_p.h"

#include <QtCore/QEvent>

#include <algorithm>
#include <limits>

namespace nvo {

namespace {

constexpr int kMinDotSize = 1, kMaxDotSize = 32;
constexpr int kMinDotSpacing = 0, kMaxDotSpacing = 3;
constexpr int kMinScrollInterval = 10;
constexpr int kMaxSampledBits = 32;
constexpr int kSampleBitmapSize = 65;
constexpr quint8 kBlankCode = 32;

/// Scroll offsets stop here: beyond the longest text a QString can hold at the
/// largest pitch (2^31 characters of 33 columns of 35 pixels, about 2^41 pixels),
/// and far from overflowing when added to a position, a text length or an increment.
constexpr qint64 kScrollOffsetLimit = qint64(1) << 46;

/// The Unicode characters of Windows-1252 codes 128..159 (0 where it assigns none).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

/// The character drawn to sample font code `code`.
QString SampleCharacter(int code)
{
    if (code >= 128 && code < 160)
        return kCp1252High[code - 128] != 0 ? QString(QChar(kCp1252High[code - 128])) : QString();
    return QString(QChar(code));
}

/// The characters of one text, code point by code point: a surrogate pair is one
/// character, as it is one on screen.
template<class Visit>
void ForEachCodePoint(const QString &text, Visit &&visit)
{
    const QChar *p = text.constData();
    const QChar *const end = p + text.size();
    while (p != end) {
        char32_t c = p->unicode();
        if (p->isHighSurrogate() && p + 1 != end && p[1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(p[0], p[1]);
            ++p;
        }
        visit(c);
        ++p;
    }
}

qint64 SaturatedOffset(qint64 offset, qint64 step)
{
    return std::clamp(offset + step, -kScrollOffsetLimit, kScrollOffsetLimit);
}

int ClampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

/// Floored modulo would be the natural choice for a raster phase, but the raster
/// keeps the label's original truncating modulo, which takes the sign of the
/// dividend; both give the same lines, only counted from another first one.
qint64 TruncatedMod(qint64 value, int divisor) { return value % divisor; }

/// What a string is painted with.
struct TDotStyle {
    int DotSize;
    int DotSpacing;
    TColor ColorOn;
    TColor ColorBakG;
    bool BlockStrips; ///< rdbmOn: a background strip before each character and after the last
    bool FixedWidth;
    int Pitch() const { return DotSize + DotSpacing; }
};

/// Paints the lit dots of one glyph with its first column at (x, y); returns its
/// width in pixels. Rows outside the picture are skipped.
int PaintChar(TCanvas &canvas, const TRDCharMatrix &cm, int x, qint64 y, quint8 code,
              const TDotStyle &style, int pictureHeight)
{
    const TRDGlyphSpan span = RDGlyphSpan(cm, code, style.FixedWidth);
    const int pitch = style.Pitch();
    const int rows = std::clamp(cm.FontHeight, 0, 32);
    for (int r = 0; r < rows; ++r) {
        const qint64 dotY = y + qint64(r) * pitch;
        if (dotY + style.DotSize <= 0 || dotY >= pictureHeight)
            continue;
        const quint32 bits = cm.BitData[code][size_t(r)];
        for (int c = std::max(span.Left, 0); c <= span.Right && c < kMaxSampledBits; ++c) {
            if (!(bits & (quint32(1) << c)))
                continue;
            const int dotX = x + (c - span.Left) * pitch;
            // A one-pixel fill is the square TCanvas::Rectangle draws with pen and
            // brush of the same colour, without drawing its outline twice.
            if (style.DotSize == 1)
                canvas.SetPixel(dotX, int(dotY), style.ColorOn);
            else
                canvas.FillRect(dotX, int(dotY), dotX + style.DotSize, int(dotY) + style.DotSize);
        }
    }
    return span.Columns() * pitch;
}

/// The background strip left of `x`: one pitch wide, the last column excluded.
void PaintStrip(TCanvas &canvas, int x, int pitch, int pictureHeight)
{
    if (pitch > 1)
        canvas.FillRect(x - pitch, 0, x - 1, pictureHeight);
}

/// Paints `layout` starting at (x, y) onto a picture of `width` x `height` and
/// returns its bit length (pixel length + 1). Only the characters that reach into
/// the picture are drawn; the others only count.
qint64 PaintString(TCanvas &canvas, const TRDCharMatrix &cm, const TRDTextLayout &layout,
                   qint64 x, qint64 y, const TDotStyle &style, int width, int height)
{
    const int pitch = style.Pitch();
    const qint64 bitLength = layout.Columns() * pitch + 1;
    const bool rowsVisible = y + qint64(cm.FontHeight) * pitch > 0 && y < height;
    if (!rowsVisible && !style.BlockStrips)
        return bitLength;
    const auto pixelOf = [&](int index) { return x + layout.StartColumn(index) * pitch; };
    for (int i = layout.FirstReaching(x, pitch); i <= layout.Count(); ++i) {
        const qint64 charX = pixelOf(i);
        if (charX - pitch >= width)
            break;
        // A strip ends two pixels left of its character: only one right of pixel 1
        // shows (the text's end strip may lie any distance to the left).
        if (style.BlockStrips && charX > 1) {
            canvas.Brush.SetColor(style.ColorBakG);
            PaintStrip(canvas, int(charX), pitch, height);
        }
        if (i == layout.Count() || !rowsVisible)
            continue;
        canvas.Brush.SetColor(style.ColorOn);
        PaintChar(canvas, cm, int(charX), y, layout.Code(i), style, height);
    }
    return bitLength;
}

} // namespace

// ---- The bit font ----------------------------------------------------------------------

TRDCharMatrix BuiltInBitFont()
{
    TRDCharMatrix cm;
    cm.FontWidth = kRDBuiltInWidth;
    cm.FontHeight = kRDBuiltInHeight;
    const auto &table = BuiltInGlyphTable();
    for (int i = 0; i < kRDGlyphCount; ++i) {
        const TRDGlyphEntry &entry = table[size_t(i)];
        const int code = kRDFirstCode + i;
        cm.LeftMostBit[code] = entry[0];
        cm.RightMostBit[code] = entry[1];
        for (int row = 0; row < kRDBuiltInHeight; ++row)
            cm.BitData[code][size_t(row)] = entry[size_t(2 + row)];
    }
    return cm;
}

TRDCharMatrix SampleBitFont(const QFont &font)
{
    TRDCharMatrix cm;
    TBitmap bitmap(kSampleBitmapSize, kSampleBitmapSize);
    TCanvas &canvas = bitmap.Canvas();
    // A dot is on or off: grey edge pixels of smoothed text would all count as dots
    // and thicken every stroke, so the sample is drawn without antialiasing.
    QFont sampleFont = font;
    sampleFont.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoAntialias));
    canvas.Font = TFont(sampleFont, clr::Black);
    for (int code = kRDFirstCode; code <= 255; ++code) {
        canvas.Pen.Color = clr::White;
        canvas.Brush.SetColor(clr::White);
        canvas.Rectangle(0, 0, 100, 100);
        canvas.TextOut(0, 0, SampleCharacter(code));
        int left = kMaxSampledBits - 1, right = 0;
        for (int row = 0; row < kMaxSampledBits; ++row) {
            quint32 bits = 0;
            for (int column = 0; column < kMaxSampledBits; ++column)
                if (canvas.GetPixel(column, row) != clr::White) {
                    bits |= quint32(1) << column;
                    left = std::min(left, column);
                    right = std::max(right, column);
                }
            cm.BitData[code][size_t(row)] = bits;
            if (bits != 0)
                cm.FontHeight = std::max(cm.FontHeight, row + 1);
        }
        cm.LeftMostBit[code] = quint8(left);
        cm.RightMostBit[code] = quint8(right);
        cm.FontWidth = std::max(cm.FontWidth, right - left + 1);
    }
    cm.LeftMostBit[kBlankCode] = 0;
    cm.RightMostBit[kBlankCode] = quint8(cm.FontWidth / 2);
    return cm;
}

TRDCharMatrix CreateBitFont(const QFont *font)
{
    if (font && font->family().toLower() != QLatin1String("default"))
        return SampleBitFont(*font);
    return BuiltInBitFont();
}

quint8 RDFontCode(char32_t character)
{
    if (character >= kRDFirstCode && character <= 255)
        return quint8(character);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] != 0 && kCp1252High[i] == character)
            return quint8(128 + i);
    return kBlankCode;
}

TRDGlyphSpan RDGlyphSpan(const TRDCharMatrix &cm, quint8 code, bool fixedWidth)
{
    if (fixedWidth)
        return {0, cm.FontWidth - 1};
    if (cm.RightMostBit[code] < cm.LeftMostBit[code])
        code = kBlankCode;
    // The blank of a matrix is fixed to start at 0, so its span is never negative.
    return {cm.LeftMostBit[code], std::max<int>(cm.RightMostBit[code], cm.LeftMostBit[code] - 1)};
}

// ---- Text layout -----------------------------------------------------------------------

TRDTextLayout::TRDTextLayout() : FStarts{0} {}

TRDTextLayout::TRDTextLayout(const QString &text, const TRDCharMatrix &cm, bool proportional)
{
    FCodes.reserve(size_t(text.size()));
    ForEachCodePoint(text, [this](char32_t c) { FCodes.push_back(RDFontCode(c)); });
    FStarts.resize(FCodes.size() + 1);
    // Each glyph's advance once per code, not per character.
    std::array<int, 256> advance{};
    for (int code = 0; code < 256; ++code)
        advance[size_t(code)] = RDGlyphSpan(cm, quint8(code), !proportional).Columns() + 1;
    qint64 column = 0;
    for (size_t i = 0; i < FCodes.size(); ++i) {
        FStarts[i] = column;
        column += advance[FCodes[i]];
    }
    FStarts.back() = column;
}

int TRDTextLayout::FirstReaching(qint64 x, int pitch) const
{
    // Character i ends (with the strip of the next one) before x + start(i + 1) * P - P;
    // the first one whose end lies beyond pixel 0 is the first that can be seen.
    const auto reaches = [&](qint64 start) { return x + start * pitch - pitch > 0; };
    const auto it = std::partition_point(FStarts.begin() + 1, FStarts.end(),
                                         [&](qint64 start) { return !reaches(start); });
    return int(it - (FStarts.begin() + 1));
}

// ---- TRasterLab ------------------------------------------------------------------------

struct TRasterLab::Private {
    explicit Private(TRasterLab *owner) : q(owner), FTimer(owner, [owner] { owner->DoTimer(); }) {}

    int Pitch() const { return FDotSize + FDotSpacing; }
    int BorderWidth() const;
    /// The height that shows every dot row of the font.
    int RowsHeight() const;
    void FontChanged();
    void RebuildLayout();
    void ReapplyAutoSize();
    void AdjustAutoHeight();
    void AdjustAutoCenter();
    int CenteredPosX() const;
    void UpdateTimer();
    void ScrollTimerEvent();
    void DoScrLoopRestart();

    // The steps of a paint, in their order.
    void PaintBackground(TCanvas &canvas) const;
    void PaintRasterLines(TCanvas &canvas) const;
    void PaintFrame(TCanvas &canvas) const;

    TRasterLab *const q;
    bool FAutoHeight = false;
    bool FAutoCenter = false;
    TColor FColorLabBakG = clr::Black;
    TColor FColorDotOn = clr::Lime;
    TColor FColorDotOff = 0x404040;
    int FDotSpacing = 1;
    int FDotSize = 3;
    TFrameStyle FFrameStyle = fsLowered;
    int FPosX = 1;
    int FPosY = 1;
    bool FProportional = true;
    TRDScrollMode FScrollMode = rdsmOff;
    int FScrollInterval = 100;
    int FScrollIncrement = 1;
    bool FScrollLoop = true;
    TRDBlockMode FCharBlockMode = rdbmOn;
    QString FText = QStringLiteral("Text");

    TRDCharMatrix FCMat;
    TRDTextLayout FLayout; ///< `FText` in `FCMat` at the current pitch mode
    qint64 FScrollPosX = 0;
    qint64 FScrollPosY = 0;
    bool FScrTimerEnabled = false;
    qint64 FTextBitLength = 0;
    THiddenTimer FTimer;
};

/// A label: its text names it and is its value.
template<>
struct TControlAccessibility<TRasterLab> {
    static constexpr QAccessible::Role Role = QAccessible::StaticText;
    static QString Name(const TRasterLab &label)
    {
        return label.GetText().isEmpty() ? TRasterLab::tr("Dot-matrix label") : label.GetText();
    }
    static QString Value(const TRasterLab &label) { return label.GetText(); }
};

TRasterLab::TRasterLab(QWidget *parent)
    : TControl(parent), OnScrollTimer([this] {
          if (!Designing())
              d->UpdateTimer();
      }),
      d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TRasterLab::TextChanged);
    resize(400, 68);
    // Every pixel is painted by the control: Qt need not paint the parent beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont defaultFont = font();
    defaultFont.setFamily(QStringLiteral("default"));
    defaultFont.setPointSize(8);
    setFont(defaultFont);
    // The font change above has built the bit font already, unless the application's
    // font was this one: building the built-in font twice costs next to nothing.
    d->FCMat = CreateBitFont(&font());
    d->RebuildLayout();
}

TRasterLab::~TRasterLab() = default;

bool TRasterLab::GetAutoHeight() const { return d->FAutoHeight; }
bool TRasterLab::GetAutoCenter() const { return d->FAutoCenter; }
TColor TRasterLab::GetColorLabBakG() const { return d->FColorLabBakG; }
TColor TRasterLab::GetColorDotOn() const { return d->FColorDotOn; }
TColor TRasterLab::GetColorDotOff() const { return d->FColorDotOff; }
int TRasterLab::GetDotSpacing() const { return d->FDotSpacing; }
int TRasterLab::GetDotSize() const { return d->FDotSize; }
TFrameStyle TRasterLab::GetFrameStyle() const { return d->FFrameStyle; }
int TRasterLab::GetPosX() const { return d->FPosX; }
int TRasterLab::GetPosY() const { return d->FPosY; }
bool TRasterLab::GetProportional() const { return d->FProportional; }
TRasterLab::TRDScrollMode TRasterLab::GetScrollMode() const { return d->FScrollMode; }
int TRasterLab::GetScrollInterval() const { return d->FScrollInterval; }
int TRasterLab::GetScrollIncrement() const { return d->FScrollIncrement; }
bool TRasterLab::GetScrollLoop() const { return d->FScrollLoop; }
TRasterLab::TRDBlockMode TRasterLab::GetCharBlockMode() const { return d->FCharBlockMode; }
QString TRasterLab::GetText() const { return d->FText; }
const TRDCharMatrix &TRasterLab::CharMatrix() const { return d->FCMat; }
qint64 TRasterLab::TextBitLength() const { return d->FTextBitLength; }
qint64 TRasterLab::ScrollPosX() const { return d->FScrollPosX; }
qint64 TRasterLab::ScrollPosY() const { return d->FScrollPosY; }
bool TRasterLab::TimerActive() const { return d->FTimer.Active(); }
int TRasterLab::TimerInterval() const { return d->FTimer.Interval(); }

void TRasterLab::SetAutoHeight(bool autoHeight)
{
    if (autoHeight == d->FAutoHeight)
        return;
    d->FAutoHeight = autoHeight;
    // Switched off, it leaves the height as it is.
    if (autoHeight) {
        d->AdjustAutoHeight();
        PaintNow();
    }
}

void TRasterLab::SetAutoCenter(bool autoCenter)
{
    if (autoCenter == d->FAutoCenter)
        return;
    d->FAutoCenter = autoCenter;
    Change(d->FPosX, autoCenter ? d->CenteredPosX() : 1);
}

void TRasterLab::SetColorLabBakG(TColor color) { Change(d->FColorLabBakG, color); }
void TRasterLab::SetColorDotOn(TColor color) { Change(d->FColorDotOn, color); }

void TRasterLab::SetColorDotOff(TColor color)
{
    Change(d->FColorDotOff, color, d->FCharBlockMode != rdbmOff);
}

bool TRasterLab::ShowsColorScheme() const
{
    // The frame styles with a border are those that draw gray or white lines.
    return d->BorderWidth() > 0;
}

void TRasterLab::SetDotSpacing(int spacing)
{
    spacing = std::clamp(spacing, kMinDotSpacing, kMaxDotSpacing);
    if (spacing == d->FDotSpacing)
        return;
    d->FDotSpacing = spacing;
    d->ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetDotSize(int size)
{
    size = std::clamp(size, kMinDotSize, kMaxDotSize);
    if (size == d->FDotSize)
        return;
    d->FDotSize = size;
    d->ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetFrameStyle(TFrameStyle style)
{
    if (style == d->FFrameStyle || !AcceptsEnum(style, "FrameStyle"))
        return;
    d->FFrameStyle = style;
    // The border width enters both the automatic height and the centre.
    d->ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetPosX(int posX) { Change(d->FPosX, posX); }
void TRasterLab::SetPosY(int posY) { Change(d->FPosY, posY); }

void TRasterLab::SetProportional(bool proportional)
{
    if (proportional == d->FProportional)
        return;
    d->FProportional = proportional;
    d->RebuildLayout();
    // The text's length changes with the pitch mode: a centred text stays centred.
    d->ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetScrollMode(TRDScrollMode mode)
{
    if (mode == d->FScrollMode || !AcceptsEnum(mode, "ScrollMode"))
        return;
    d->FScrollMode = mode;
    if (!Designing()) {
        d->FScrTimerEnabled = mode != rdsmOff;
        d->UpdateTimer();
    }
    // The text goes back to its place; one that has not moved yet shows no change.
    if (mode == rdsmOff && (d->FScrollPosX != 0 || d->FScrollPosY != 0)) {
        d->FScrollPosX = 0;
        d->FScrollPosY = 0;
        PaintNow();
    }
}

void TRasterLab::SetScrollInterval(int interval)
{
    // Raised to the minimum first: a negative interval has no meaning beyond "fast".
    interval = std::max(interval, kMinScrollInterval);
    if (interval == d->FScrollInterval)
        return;
    d->FScrollInterval = interval;
    if (!Designing())
        d->UpdateTimer();
}

void TRasterLab::SetScrollIncrement(int increment)
{
    if (increment == 0)
        increment = 1;
    // The magnitude of the most negative int has no int: it becomes the largest one.
    increment = increment == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                             : std::abs(increment);
    if (increment == d->FScrollIncrement)
        return;
    d->FScrollIncrement = increment;
    if (!Designing())
        d->UpdateTimer();
}

void TRasterLab::SetScrollLoop(bool loop)
{
    // The wrap happens in the scroll steps: the picture stays as it is.
    Change(d->FScrollLoop, loop, false);
}

void TRasterLab::SetCharBlockMode(TRDBlockMode mode) { ChangeEnum(d->FCharBlockMode, mode, "CharBlockMode"); }

void TRasterLab::SetText(const QString &text)
{
    if (text == d->FText)
        return;
    d->FText = text;
    d->RebuildLayout();
    if (d->FAutoCenter)
        d->AdjustAutoCenter();
    PaintNow();
    Q_EMIT TextChanged(text);
}

qint64 TRasterLab::CalcTextBitLength(const QString &text) const
{
    const qint64 columns = text == d->FText ? d->FLayout.Columns()
                                            : TRDTextLayout(text, d->FCMat, d->FProportional).Columns();
    return columns * d->Pitch();
}

int TRasterLab::Private::BorderWidth() const
{
    switch (FFrameStyle) {
    case fsSimple:
    case fsLowered:
    case fsRaised: return 1;
    case fsEmbossed:
    case fsEngraved: return 2;
    default: return 0;
    }
}

void TRasterLab::Private::FontChanged()
{
    FCMat = CreateBitFont(&q->font());
    RebuildLayout();
    ReapplyAutoSize();
    q->PaintNow();
}

void TRasterLab::Private::RebuildLayout() { FLayout = TRDTextLayout(FText, FCMat, FProportional); }

void TRasterLab::Private::ReapplyAutoSize()
{
    q->updateGeometry();
    if (FAutoHeight)
        AdjustAutoHeight();
    if (FAutoCenter)
        AdjustAutoCenter();
}

void TRasterLab::Private::AdjustAutoHeight() { q->resize(q->width(), RowsHeight()); }

int TRasterLab::Private::RowsHeight() const { return BorderWidth() + Pitch() * FCMat.FontHeight; }

QSize TRasterLab::minimumSizeHint() const { return {d->RowsHeight() + d->BorderWidth(), d->RowsHeight()}; }

void TRasterLab::Private::AdjustAutoCenter() { FPosX = CenteredPosX(); }

int TRasterLab::Private::CenteredPosX() const
{
    // Integer halving truncates toward zero, also for a text wider than the control.
    return ClampToInt((q->width() - q->CalcTextBitLength(FText)) / 2 + BorderWidth() + 1);
}

void TRasterLab::changeEvent(QEvent *event)
{
    // The base drops the buffer first: its canvas draws with the old font and palette.
    TControl::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Guarded([this] { d->FontChanged(); });
}

void TRasterLab::resizeEvent(QResizeEvent *event)
{
    // A centred text stays centred when a layout or the application resizes the
    // control; the centre depends on the width alone.
    if (d->FAutoCenter)
        d->AdjustAutoCenter();
    TControl::resizeEvent(event);
}

void TRasterLab::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TRasterLab *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    const Private &o = *other->d;
    const bool textChanges = d->FText != o.FText;
    BeginUpdate();
    d->FFrameStyle = o.FFrameStyle;
    d->FText = o.FText;
    d->FColorLabBakG = o.FColorLabBakG;
    d->FColorDotOn = o.FColorDotOn;
    SetColorScheme(other->GetColorScheme());
    d->RebuildLayout();
    d->ReapplyAutoSize();
    EndUpdate();
    if (textChanges)
        Q_EMIT TextChanged(d->FText);
}

void TRasterLab::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

// ---- Scrolling -------------------------------------------------------------------------

void TRasterLab::Private::UpdateTimer()
{
    FTimer.Stop();
    if (FScrollInterval > 0 && FScrollMode != rdsmOff && FScrTimerEnabled)
        FTimer.Start<ENVORasterLabError>(FScrollInterval);
}

void TRasterLab::DoTimer()
{
    d->ScrollTimerEvent();
    if (OnScrollTimer)
        OnScrollTimer(this);
}

void TRasterLab::Private::ScrollTimerEvent()
{
    const qint64 textHeight = qint64(Pitch()) * FCMat.FontHeight;
    switch (FScrollMode) {
    case rdsmOff:
        // A tick that arrives after scrolling was switched off ends the timer.
        FScrTimerEnabled = false;
        FTimer.Stop();
        FScrollPosX = 0;
        FScrollPosY = 0;
        break;
    case rdsmRight:
        FScrollPosX = SaturatedOffset(FScrollPosX, FScrollIncrement);
        if (FScrollLoop && FScrollPosX > q->width()) {
            FScrollPosX = -FTextBitLength;
            DoScrLoopRestart();
        }
        break;
    case rdsmLeft:
        FScrollPosX = SaturatedOffset(FScrollPosX, -qint64(FScrollIncrement));
        if (FScrollLoop && FScrollPosX < -FTextBitLength) {
            FScrollPosX = q->width();
            DoScrLoopRestart();
        }
        break;
    case rdsmDown:
        FScrollPosY = SaturatedOffset(FScrollPosY, FScrollIncrement);
        if (FScrollLoop && FScrollPosY > q->height()) {
            FScrollPosY = -textHeight;
            DoScrLoopRestart();
        }
        break;
    case rdsmUp:
        FScrollPosY = SaturatedOffset(FScrollPosY, -qint64(FScrollIncrement));
        if (FScrollLoop && FScrollPosY < -textHeight) {
            FScrollPosY = q->height();
            DoScrLoopRestart();
        }
        break;
    }
    q->PaintNow();
}

void TRasterLab::Private::DoScrLoopRestart()
{
    if (q->OnScrollLoopRestart)
        q->OnScrollLoopRestart(q);
}

// ---- Painting --------------------------------------------------------------------------
//
// The whole picture is composed in the off-screen buffer and copied onto the control
// in one operation. The buffer is kept from paint to paint; the background covers all
// of it, so nothing of the last picture shows through. Qt sends no paint to a hidden
// widget, so there is no visibility test here.

void TRasterLab::Paint(TCanvas &canvas)
{
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();
    d->PaintBackground(bitmap);
    if (d->FCharBlockMode != rdbmOff)
        d->PaintRasterLines(bitmap);
    const TDotStyle style{d->FDotSize, d->FDotSpacing, d->FColorDotOn, d->FColorLabBakG,
                          d->FCharBlockMode == rdbmOn, !d->FProportional};
    d->FTextBitLength = PaintString(bitmap, d->FCMat, d->FLayout, d->FPosX + d->FScrollPosX,
                                    d->FPosY + d->FScrollPosY, style, width(), height());
    d->PaintFrame(bitmap);
    canvas.Draw(0, 0, buffer);
}

void TRasterLab::Private::PaintBackground(TCanvas &canvas) const
{
    const int w = q->width(), h = q->height();
    // The framed field leaves the outermost ring to the frame; the corners no frame
    // line reaches show the background instead of an earlier picture.
    canvas.Brush.SetColor(FColorLabBakG);
    if (FFrameStyle != fsNone)
        canvas.FillRect(0, 0, w, h);
    canvas.Brush.SetColor(FCharBlockMode != rdbmOff ? FColorDotOff : FColorLabBakG);
    if (FFrameStyle != fsNone)
        canvas.FillRect(1, 1, w - 1, h - 1);
    else
        canvas.FillRect(0, 0, w, h);
}

void TRasterLab::Private::PaintRasterLines(TCanvas &canvas) const
{
    const int w = q->width(), h = q->height(), pitch = Pitch();
    canvas.Brush.SetColor(FColorLabBakG);
    // Each line runs from edge to edge without its end point, as LineTo draws it: a
    // fill one pixel thick.
    const qint64 firstY = TruncatedMod(FPosY + FScrollPosY, pitch) - FDotSpacing - 1;
    for (int b = 0; b <= h / pitch + 1; ++b)
        for (int i = 1; i <= FDotSpacing; ++i) {
            const int y = int(firstY + qint64(b) * pitch + i);
            canvas.FillRect(0, y, w, y + 1);
        }
    const qint64 firstX = TruncatedMod(FPosX + FScrollPosX, pitch) - FDotSpacing - 1;
    for (int b = 0; b <= w / pitch + 1; ++b)
        for (int i = 1; i <= FDotSpacing; ++i) {
            const int x = int(firstX + qint64(b) * pitch + i);
            canvas.FillRect(x, 0, x + 1, h);
        }
}

void TRasterLab::Private::PaintFrame(TCanvas &canvas) const
{
    const int w = q->width(), h = q->height();
    const TColor black = clr::Black, gray = q->GrayLine(), white = q->WhiteLine();
    const auto outline = [&canvas](TColor color, int left, int top, int right, int bottom) {
        canvas.Pen.Color = color;
        canvas.MoveTo(left, top);
        canvas.LineTo(right, top);
        canvas.LineTo(right, bottom);
        canvas.LineTo(left, bottom);
        canvas.LineTo(left, top);
    };
    const auto corner = [&canvas](TColor color, int x0, int y0, int x1, int y1, int x2, int y2) {
        canvas.Pen.Color = color;
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    switch (FFrameStyle) {
    case fsNone: break;
    case fsSimple: outline(gray, 0, 0, w - 1, h - 1); break;
    case fsLowered:
        corner(black, 1, h - 3, 1, 1, w - 2, 1);
        corner(white, 2, h - 1, w - 1, h - 1, w - 1, 0);
        outline(gray, 0, 0, w - 2, h - 2);
        break;
    case fsRaised:
        corner(white, 1, h - 3, 1, 1, w - 2, 1);
        corner(black, 0, h - 1, w - 1, h - 1, w - 1, 0);
        outline(gray, 0, 0, w - 2, h - 2);
        break;
    case fsEmbossed:
        outline(gray, 1, 1, w - 1, h - 1);
        outline(white, 0, 0, w - 2, h - 2);
        break;
    case fsEngraved:
        outline(white, 1, 1, w - 1, h - 1);
        outline(gray, 0, 0, w - 2, h - 2);
        break;
    default:
        // An ordinal beyond the named styles (a form may store one) draws no lines;
        // the field still leaves the ring, as for any framed style.
        break;
    }
}

} // namespace nvo
