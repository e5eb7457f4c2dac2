#include "NVO_RasterLab.h"

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
/// follows the frame's `mod`, which takes the sign of the dividend; both give the
/// same lines, only counted from another first one.
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
            // A one-pixel fill is the square the framework's rectangle draws with pen
            // and brush of the same colour, without drawing its outline twice.
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

TRasterLab::TRasterLab(QWidget *parent)
    : TControl(parent), FTimer(this, [this] { DoTimer(); })
{
    resize(400, 68);
    // Every pixel is painted by the control: Qt need not paint the parent beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont defaultFont = font();
    defaultFont.setFamily(QStringLiteral("default"));
    defaultFont.setPointSize(8);
    setFont(defaultFont);
    // The font change above has built the bit font already, unless the application's
    // font was this one: building the built-in font twice costs next to nothing.
    FCMat = CreateBitFont(&font());
    RebuildLayout();
}

TRasterLab::~TRasterLab() = default;

void TRasterLab::SetAutoHeight(bool autoHeight)
{
    if (autoHeight == FAutoHeight)
        return;
    FAutoHeight = autoHeight;
    if (FAutoHeight)
        AdjustAutoHeight();
    PaintNow();
}

void TRasterLab::SetAutoCenter(bool autoCenter)
{
    if (autoCenter == FAutoCenter)
        return;
    FAutoCenter = autoCenter;
    if (FAutoCenter)
        AdjustAutoCenter();
    else
        FPosX = 1;
    PaintNow();
}

void TRasterLab::SetColorLabBakG(TColor color) { Change(FColorLabBakG, color); }
void TRasterLab::SetColorDotOn(TColor color) { Change(FColorDotOn, color); }
void TRasterLab::SetColorDotOff(TColor color) { Change(FColorDotOff, color); }

void TRasterLab::SetColorScheme(TColorScheme scheme)
{
    if (scheme == FColorScheme)
        return;
    FColorScheme = scheme;
    FColorGrayLine = GrayLineColor(scheme);
    FColorWhiteLine = WhiteLineColor(scheme);
    FColorBlackLine = clr::Black;
    PaintNow();
}

void TRasterLab::SetDotSpacing(int spacing)
{
    spacing = std::clamp(spacing, kMinDotSpacing, kMaxDotSpacing);
    if (spacing == FDotSpacing)
        return;
    FDotSpacing = spacing;
    ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetDotSize(int size)
{
    size = std::clamp(size, kMinDotSize, kMaxDotSize);
    if (size == FDotSize)
        return;
    FDotSize = size;
    ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetFrameStyle(TFrameStyle style)
{
    if (style == FFrameStyle)
        return;
    FFrameStyle = style;
    // The border width enters both the automatic height and the centre.
    ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetPosX(int posX) { Change(FPosX, posX); }
void TRasterLab::SetPosY(int posY) { Change(FPosY, posY); }

void TRasterLab::SetProportional(bool proportional)
{
    if (proportional == FProportional)
        return;
    FProportional = proportional;
    RebuildLayout();
    // The text's length changes with the pitch mode: a centred text stays centred.
    ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::SetScrollMode(TRDScrollMode mode)
{
    if (mode == FScrollMode)
        return;
    FScrollMode = mode;
    if (!Designing()) {
        FScrTimerEnabled = mode != rdsmOff;
        UpdateTimer();
    }
    if (mode == rdsmOff) {
        FScrollPosX = 0;
        FScrollPosY = 0;
        PaintNow();
    }
}

void TRasterLab::SetScrollInterval(int interval)
{
    // Raised to the minimum first: a negative interval has no meaning beyond "fast".
    interval = std::max(interval, kMinScrollInterval);
    if (interval == FScrollInterval)
        return;
    FScrollInterval = interval;
    if (!Designing())
        UpdateTimer();
}

void TRasterLab::SetScrollIncrement(int increment)
{
    if (increment == 0)
        increment = 1;
    // The magnitude of the most negative int has no int: it becomes the largest one.
    increment = increment == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                             : std::abs(increment);
    if (increment == FScrollIncrement)
        return;
    FScrollIncrement = increment;
    if (!Designing())
        UpdateTimer();
}

void TRasterLab::SetScrollLoop(bool loop)
{
    FScrollLoop = loop;
    PaintNow();
}

void TRasterLab::SetCharBlockMode(TRDBlockMode mode) { Change(FCharBlockMode, mode); }

void TRasterLab::SetText(const QString &text)
{
    if (text == FText)
        return;
    FText = text;
    RebuildLayout();
    if (FAutoCenter)
        AdjustAutoCenter();
    PaintNow();
    Q_EMIT TextChanged(FText);
}

qint64 TRasterLab::CalcTextBitLength(const QString &text) const
{
    const qint64 columns = text == FText ? FLayout.Columns()
                                         : TRDTextLayout(text, FCMat, FProportional).Columns();
    return columns * Pitch();
}

int TRasterLab::BorderWidth() const
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

void TRasterLab::FontChanged()
{
    FCMat = CreateBitFont(&font());
    RebuildLayout();
    ReapplyAutoSize();
    PaintNow();
}

void TRasterLab::RebuildLayout() { FLayout = TRDTextLayout(FText, FCMat, FProportional); }

void TRasterLab::ReapplyAutoSize()
{
    if (FAutoHeight)
        AdjustAutoHeight();
    if (FAutoCenter)
        AdjustAutoCenter();
}

void TRasterLab::AdjustAutoHeight()
{
    resize(width(), BorderWidth() + Pitch() * FCMat.FontHeight);
}

void TRasterLab::AdjustAutoCenter()
{
    // Integer halving truncates toward zero, also for a text wider than the control.
    FPosX = ClampToInt((width() - CalcTextBitLength(FText)) / 2 + BorderWidth() + 1);
}

void TRasterLab::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        FBuffer = TBitmap(); // its canvas draws with the font it was made with
        Guarded([this] { FontChanged(); });
    } else if (event->type() == QEvent::PaletteChange) {
        FBuffer = TBitmap();
    }
    TControl::changeEvent(event);
}

void TRasterLab::resizeEvent(QResizeEvent *event)
{
    // A centred text stays centred when a layout or the application resizes the
    // control; the centre depends on the width alone.
    if (FAutoCenter)
        AdjustAutoCenter();
    TControl::resizeEvent(event);
}

void TRasterLab::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TRasterLab *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    const bool textChanges = FText != other->FText;
    FFrameStyle = other->FFrameStyle;
    FText = other->FText;
    FColorLabBakG = other->FColorLabBakG;
    FColorDotOn = other->FColorDotOn;
    FColorGrayLine = other->FColorGrayLine;
    FColorWhiteLine = other->FColorWhiteLine;
    FColorBlackLine = other->FColorBlackLine;
    FColorScheme = other->FColorScheme;
    RebuildLayout();
    ReapplyAutoSize();
    PaintNow();
    if (textChanges)
        Q_EMIT TextChanged(FText);
}

void TRasterLab::AssignTo(QObject *dest) const
{
    auto *other = qobject_cast<TRasterLab *>(dest);
    if (!other)
        throw EConvertError(msg::CannotAssign(this, dest));
    other->Assign(this);
}

// ---- Scrolling -------------------------------------------------------------------------

void TRasterLab::UpdateTimer()
{
    FTimer.Stop();
    if (FScrollInterval > 0 && FScrollMode != rdsmOff && FScrTimerEnabled)
        FTimer.Start<ENVORasterLabError>(FScrollInterval);
}

void TRasterLab::DoTimer()
{
    ScrollTimerEvent();
    if (OnScrollTimer)
        OnScrollTimer(this);
}

void TRasterLab::ScrollTimerEvent()
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
        if (FScrollLoop && FScrollPosX > width()) {
            FScrollPosX = -FTextBitLength;
            DoScrLoopRestart();
        }
        break;
    case rdsmLeft:
        FScrollPosX = SaturatedOffset(FScrollPosX, -qint64(FScrollIncrement));
        if (FScrollLoop && FScrollPosX < -FTextBitLength) {
            FScrollPosX = width();
            DoScrLoopRestart();
        }
        break;
    case rdsmDown:
        FScrollPosY = SaturatedOffset(FScrollPosY, FScrollIncrement);
        if (FScrollLoop && FScrollPosY > height()) {
            FScrollPosY = -textHeight;
            DoScrLoopRestart();
        }
        break;
    case rdsmUp:
        FScrollPosY = SaturatedOffset(FScrollPosY, -qint64(FScrollIncrement));
        if (FScrollLoop && FScrollPosY < -textHeight) {
            FScrollPosY = height();
            DoScrLoopRestart();
        }
        break;
    }
    PaintNow();
}

void TRasterLab::DoScrLoopRestart()
{
    if (OnScrollLoopRestart)
        OnScrollLoopRestart(this);
}

// ---- Painting --------------------------------------------------------------------------
//
// The whole picture is composed in one off-screen bitmap and copied onto the control
// in one operation. Qt sends no paint to a hidden widget, so there is no visibility
// test here.

TBitmap &TRasterLab::Buffer()
{
    // Kept from paint to paint: a scrolling label repaints up to a hundred times a
    // second. Every paint covers the whole bitmap.
    if (FBuffer.Width() != width() || FBuffer.Height() != height()
        || FBuffer.DevicePixelRatio() != devicePixelRatioF())
        FBuffer = TBitmap::ForWidget(this);
    return FBuffer;
}

void TRasterLab::Paint(TCanvas &canvas)
{
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();
    PaintBackground(bitmap);
    if (FCharBlockMode != rdbmOff)
        PaintRasterLines(bitmap);
    const TDotStyle style{FDotSize, FDotSpacing, FColorDotOn, FColorLabBakG,
                          FCharBlockMode == rdbmOn, !FProportional};
    FTextBitLength = PaintString(bitmap, FCMat, FLayout, FPosX + FScrollPosX, FPosY + FScrollPosY,
                                 style, width(), height());
    PaintFrame(bitmap);
    canvas.Draw(0, 0, buffer);
}

void TRasterLab::PaintBackground(TCanvas &canvas)
{
    const int w = width(), h = height();
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

void TRasterLab::PaintRasterLines(TCanvas &canvas)
{
    const int w = width(), h = height(), pitch = Pitch();
    canvas.Brush.SetColor(FColorLabBakG);
    // Each line is the framework's line from edge to edge without its end point: a
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

void TRasterLab::PaintFrame(TCanvas &canvas)
{
    const int w = width(), h = height();
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
    case fsSimple: outline(FColorGrayLine, 0, 0, w - 1, h - 1); break;
    case fsLowered:
        corner(FColorBlackLine, 1, h - 3, 1, 1, w - 2, 1);
        corner(FColorWhiteLine, 2, h - 1, w - 1, h - 1, w - 1, 0);
        outline(FColorGrayLine, 0, 0, w - 2, h - 2);
        break;
    case fsRaised:
        corner(FColorWhiteLine, 1, h - 3, 1, 1, w - 2, 1);
        corner(FColorBlackLine, 0, h - 1, w - 1, h - 1, w - 1, 0);
        outline(FColorGrayLine, 0, 0, w - 2, h - 2);
        break;
    case fsEmbossed:
        outline(FColorGrayLine, 1, 1, w - 1, h - 1);
        outline(FColorWhiteLine, 0, 0, w - 2, h - 2);
        break;
    case fsEngraved:
        outline(FColorWhiteLine, 1, 1, w - 1, h - 1);
        outline(FColorGrayLine, 0, 0, w - 2, h - 2);
        break;
    default:
        // An ordinal beyond the named styles (a form may store one) draws no lines;
        // the field still leaves the ring, as for any framed style.
        break;
    }
}

} // namespace nvo
