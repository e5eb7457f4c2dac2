#include "NVO_sevenseg.h"

#include "NVO_ControlAccessible_p.h"

#include <QtCore/QStringView>

#include <algorithm>
#include <optional>
#include <vector>

namespace nvo {

namespace {

constexpr int kGlyphWidth = 312;
constexpr int kGlyphHeight = 432;
constexpr QRgb kSurround = 0xFFFFFFFF;

/// Where a segment picture goes in the 312 x 432 glyph (top-left corner).
struct TSegmentPlace {
    bool Vertical;
    QPoint At;
};

/// Segment positions 1..7.
constexpr TSegmentPlace kSegmentPlaces[7] = {
    {false, {94, 0}},  {true, {37, 23}},  {true, {244, 23}}, {false, {57, 197}},
    {true, {0, 220}},  {true, {207, 220}}, {false, {20, 394}},
};
constexpr QPoint kPointPlace{269, 394};
constexpr QPoint kPlusPlace{57, 120};
constexpr QPoint kColonPlace{122, 121};
constexpr QPoint kDegreePlace{150, 0};

constexpr int Segs(std::initializer_list<int> positions)
{
    int bits = 0;
    for (const int p : positions)
        bits |= 1 << (p - 1);
    return bits;
}

bool IsPointChar(QChar ch) { return ch == QLatin1Char('.') || ch == QLatin1Char(','); }

QRgb ToRgb(TColor color) { return qRgb(GetRValue(color), GetGValue(color), GetBValue(color)); }

/// Recolours the 4-connected region of the seed pixel's colour (a flood fill in
/// surface mode). The bitmap is at device pixel ratio 1, 32 bits per pixel.
void FloodFillSurface(TBitmap &bitmap, QPoint seed, QRgb color)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    if (seed.x() < 0 || seed.y() < 0 || seed.x() >= w || seed.y() >= h)
        return;
    const auto pixel = [&](int x, int y) -> QRgb & { return reinterpret_cast<QRgb *>(bitmap.ScanLine(y))[x]; };
    const QRgb target = pixel(seed.x(), seed.y());
    if (target == color)
        return;
    // Span filling: each popped point fills its whole run on the row, then queues
    // the runs above and below it.
    std::vector<QPoint> todo{seed};
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (pixel(p.x(), p.y()) != target)
            continue;
        int left = p.x(), right = p.x();
        while (left > 0 && pixel(left - 1, p.y()) == target)
            --left;
        while (right < w - 1 && pixel(right + 1, p.y()) == target)
            ++right;
        for (int x = left; x <= right; ++x)
            pixel(x, p.y()) = color;
        for (const int y : {p.y() - 1, p.y() + 1}) {
            if (y < 0 || y >= h)
                continue;
            for (int x = left; x <= right; ++x)
                if (pixel(x, y) == target && (x == left || pixel(x - 1, y) != target))
                    todo.push_back(QPoint(x, y));
        }
    }
}

/// Every pixel of `from` becomes `to`.
void ReplaceColor(TBitmap &bitmap, QRgb from, QRgb to)
{
    for (int y = 0; y < bitmap.Height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(bitmap.ScanLine(y));
        std::replace(row, row + bitmap.Width(), from, to);
    }
}

void LoadSegment(TBitmap &bitmap, const char *name)
{
    const QString resource = QString::fromLatin1(name);
    if (!bitmap.LoadFromResourceName(resource))
        throw Exception(QStringLiteral("Resource %1 not found").arg(resource));
    bitmap.SetPixelFormat(pf32bit);
}

} // namespace

// ---- Pure rules ------------------------------------------------------------------------

int SevenSegSegments(QChar ch)
{
    switch (ch.toUpper().unicode()) {
    case '0': return Segs({1, 2, 3, 5, 6, 7});
    case '1': return Segs({3, 6});
    case '2': return Segs({1, 3, 4, 5, 7});
    case '3': return Segs({1, 3, 4, 6, 7});
    case '4': return Segs({2, 3, 4, 6});
    case '5': return Segs({1, 2, 4, 6, 7});
    case '6': return Segs({1, 2, 4, 5, 6, 7});
    case '7': return Segs({1, 3, 6});
    case '8': return Segs({1, 2, 3, 4, 5, 6, 7});
    case '9': return Segs({1, 2, 3, 4, 6, 7});
    case '-': return Segs({4});
    case 'A': return Segs({1, 2, 3, 4, 5, 6});
    case 'B': return Segs({2, 4, 5, 6, 7});
    case 'C': return Segs({1, 2, 5, 7});
    case 'D': return Segs({3, 4, 5, 6, 7});
    case 'E': return Segs({1, 2, 4, 5, 7});
    case 'F': return Segs({1, 2, 4, 5});
    default: return 0;
    }
}

std::vector<TSevenSegDigit> ParseSevenSegCaption(const QString &caption, int numDigits)
{
    const QStringView cacheChars(kSevenSegCacheChars);
    std::vector<TSevenSegDigit> digits;
    qsizetype i = 0;
    while (int(digits.size()) < numDigits && i < caption.size()) {
        const QChar c = caption[i++];
        TSevenSegDigit digit;
        if (IsPointChar(c)) {
            digit.Point = true;
        } else if (i < caption.size() && IsPointChar(caption[i])) {
            ++i;
            digit.Point = true;
        }
        digit.Glyph = int(cacheChars.indexOf(c.toUpper()));
        digits.push_back(digit);
    }
    return digits;
}

// ---- TSevenSeg ----------------------------------------------------------------------------

struct TSevenSeg::Private {
    /// What the image cache is made from: a paint that finds any of it changed makes
    /// the cache again, so that no setter, Assign or resize has to remember to.
    struct TCacheKey {
        TColor Text, Back;
        int Margin, InterDigDist, NumDigits;
        QSize Size;
        bool operator==(const TCacheKey &) const = default;
    };

    explicit Private(TSevenSeg *owner);

    TCacheKey CacheKey() const;
    int CellWidth() const;
    void UpdateImageCache();
    void CreateImageCache();
    void ColorizeSegments(TColor color);
    void CreateDigit(QChar ch, bool withDot);

    TSevenSeg *const q;
    QString FCaption = QStringLiteral("8.8.8.8.");
    TColor FColorBackGnd = 0x333333;
    TColor FColorText = clr::Red;
    TFrameStyle FFrameStyle = fsLowered;
    int FInterDigDist = 2;
    int FMargin = 8;
    int FNumDigits = 4;

    TBitmap DigImg{kGlyphWidth, kGlyphHeight};
    TBitmap ImgCache;
    TBitmap SegVert, SegHorz, SegDot, SegPlus, SegColon, SegDeg;
    std::optional<TCacheKey> FCachedFor; ///< none before the first paint
};

TSevenSeg::Private::Private(TSevenSeg *owner) : q(owner)
{
    LoadSegment(SegVert, "SEGVERT");
    LoadSegment(SegHorz, "SEGHORZ");
    LoadSegment(SegDot, "SEGDOT");
    LoadSegment(SegPlus, "SEGPLUS");
    LoadSegment(SegColon, "SEGCOLON");
    LoadSegment(SegDeg, "SEGDEG");
}

/// A display whose caption is what it shows.
template<>
struct TControlAccessibility<TSevenSeg> {
    static constexpr QAccessible::Role Role = QAccessible::StaticText;
    static QString Name(const TSevenSeg &) { return TSevenSeg::tr("Seven-segment display"); }
    static QString Value(const TSevenSeg &display) { return display.GetCaption(); }
};

TSevenSeg::TSevenSeg(QWidget *parent) : TControl(parent), d(std::make_unique<Private>(this))
{
    InstallControlAccessibility(this, &TSevenSeg::ValueChanged);
    // Every pixel is painted by the control: Qt need not paint the parent first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(216, 76);
}

TSevenSeg::~TSevenSeg() = default;

QSize TSevenSeg::minimumSizeHint() const
{
    // Below about 8 x 14 pixels a slanted digit's seven segments run together.
    constexpr int cellWidth = 8, cellHeight = 14;
    return {2 * d->FMargin + d->FNumDigits * (cellWidth + d->FInterDigDist), 2 * d->FMargin + cellHeight};
}

QString TSevenSeg::GetCaption() const { return d->FCaption; }
TColor TSevenSeg::GetColorBackGnd() const { return d->FColorBackGnd; }
TColor TSevenSeg::GetColorText() const { return d->FColorText; }
TFrameStyle TSevenSeg::GetFrameStyle() const { return d->FFrameStyle; }
int TSevenSeg::GetInterDigDist() const { return d->FInterDigDist; }
int TSevenSeg::GetMargin() const { return d->FMargin; }
int TSevenSeg::GetNumDigits() const { return d->FNumDigits; }

void TSevenSeg::SetCaption(const QString &caption)
{
    if (caption == d->FCaption)
        return;
    d->FCaption = caption;
    PaintNow();
    Q_EMIT ValueChanged(caption);
}

void TSevenSeg::SetColorBackGnd(TColor color) { Change(d->FColorBackGnd, color); }
void TSevenSeg::SetColorText(TColor color) { Change(d->FColorText, color); }
void TSevenSeg::SetFrameStyle(TFrameStyle style) { ChangeEnum(d->FFrameStyle, style, "FrameStyle"); }
void TSevenSeg::SetInterDigDist(int dist)
{
    Change(d->FInterDigDist, std::min(dist, 255));
    updateGeometry();
}

void TSevenSeg::SetMargin(int margin)
{
    // Compared before the clamp: a margin set again as it is stays, also on a
    // control that has become too low for it since.
    if (margin != d->FMargin)
        Change(d->FMargin, std::min(margin, height() / 2 - 1));
    updateGeometry();
}

void TSevenSeg::SetNumDigits(int count)
{
    if (count >= 1 && count <= 32)
        Change(d->FNumDigits, count);
    updateGeometry();
}

void TSevenSeg::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TSevenSeg *>(source);
    if (!other)
        throw EConvertError(msg::CannotAssign(source, this));
    if (other == this)
        return;
    const bool captionChanges = d->FCaption != other->d->FCaption;
    BeginUpdate();
    d->FColorBackGnd = other->d->FColorBackGnd;
    d->FColorText = other->d->FColorText;
    d->FNumDigits = other->d->FNumDigits;
    d->FCaption = other->d->FCaption;
    d->FFrameStyle = other->d->FFrameStyle;
    SetColorScheme(other->GetColorScheme());
    d->FMargin = other->d->FMargin;
    d->FInterDigDist = other->d->FInterDigDist;
    EndUpdate();
    if (captionChanges)
        Q_EMIT ValueChanged(d->FCaption);
}

void TSevenSeg::AssignTo(QObject *dest) const { AssignToSameClass(this, dest); }

// ---- Size ------------------------------------------------------------------------------------

void TSevenSeg::resizeEvent(QResizeEvent *event)
{
    TControl::resizeEvent(event);
    // The cache follows the size in every paint (see UpdateImageCache), not in an
    // assignable handler, so that an application's own OnResize cannot leave it at
    // the old size.
    if (OnResize)
        Guarded([&] { OnResize(this); });
}

TSevenSeg::Private::TCacheKey TSevenSeg::Private::CacheKey() const
{
    return {FColorText, FColorBackGnd, FMargin, FInterDigDist, FNumDigits, q->size()};
}

void TSevenSeg::Private::UpdateImageCache()
{
    const TCacheKey key = CacheKey();
    if (FCachedFor == key)
        return;
    CreateImageCache();
    FCachedFor = key;
}

int TSevenSeg::Private::CellWidth() const
{
    return (q->width() - 2 * FMargin) / FNumDigits - FInterDigDist;
}

// ---- Glyphs ------------------------------------------------------------------------------------

void TSevenSeg::Private::ColorizeSegments(TColor color)
{
    QRgb rgb = ToRgb(ColorToRGB(color, q->palette()));
    // Pure white is the pictures' surround, which later becomes background.
    if (rgb == kSurround)
        rgb = qRgb(0xFE, 0xFE, 0xFE);
    const auto centre = [](const TBitmap &b) { return QPoint(b.Width() / 2, b.Height() / 2); };
    for (TBitmap *segment : {&SegVert, &SegHorz, &SegDot, &SegPlus})
        FloodFillSurface(*segment, centre(*segment), rgb);
    FloodFillSurface(SegColon, QPoint(18, SegColon.Height() - 18), rgb);
    FloodFillSurface(SegColon, QPoint(SegColon.Width() - 18, 18), rgb);
    FloodFillSurface(SegDeg, QPoint(25, SegDeg.Height() / 2), rgb);
}

void TSevenSeg::Private::CreateDigit(QChar ch, bool withDot)
{
    TCanvas &canvas = DigImg.Canvas();
    canvas.CopyMode = cmSrcCopy;
    canvas.Pen.Color = clr::White;
    canvas.Brush.SetColor(clr::White);
    canvas.Rectangle(0, 0, kGlyphWidth, kGlyphHeight);
    // Coloured shapes on white, ANDed: each shape keeps its colour, white keeps
    // whatever lies beneath.
    canvas.CopyMode = cmSrcAnd;
    if (ch == QLatin1Char('+')) {
        canvas.Draw(kPlusPlace.x(), kPlusPlace.y(), SegPlus);
    } else if (ch == QLatin1Char(':')) {
        canvas.Draw(kColonPlace.x(), kColonPlace.y(), SegColon);
    } else if (ch == QChar(0x00B0)) {
        canvas.Draw(kDegreePlace.x(), kDegreePlace.y(), SegDeg);
    } else {
        withDot = withDot || IsPointChar(ch);
        const int segments = SevenSegSegments(ch);
        for (int p = 0; p < 7; ++p)
            if (segments & (1 << p))
                canvas.Draw(kSegmentPlaces[p].At.x(), kSegmentPlaces[p].At.y(),
                            kSegmentPlaces[p].Vertical ? SegVert : SegHorz);
    }
    if (withDot)
        canvas.Draw(kPointPlace.x(), kPointPlace.y(), SegDot);
    canvas.CopyMode = cmSrcCopy;
    // The surround becomes background. All white does, not only the white connected
    // to a corner: the degree sign's centre is enclosed by its ring and would stay
    // white. No glyph pixel is pure white, as ColorizeSegments sees to.
    ReplaceColor(DigImg, kSurround, canvas.Resolve(FColorBackGnd).rgb() | 0xFF000000);
}

void TSevenSeg::Private::CreateImageCache()
{
    const int cw = CellWidth(), ch = q->height() - 2 * FMargin;
    if (cw <= 0 || ch <= 0) {
        // No room for a digit: the paint shows background and frame only.
        ImgCache = TBitmap();
        return;
    }
    ImgCache = TBitmap(cw * kSevenSegGlyphCount, ch);
    TCanvas &cache = ImgCache.Canvas();
    cache.Pen.Color = FColorBackGnd;
    cache.Brush.SetColor(FColorBackGnd);
    cache.Rectangle(0, 0, cw * kSevenSegGlyphCount, ch);
    ColorizeSegments(FColorText);
    const QStringView chars(kSevenSegCacheChars);
    for (int k = 0; k < kSevenSegGlyphCount; ++k) {
        CreateDigit(chars[k], false);
        cache.StretchDraw(QRect(cw * k, 0, cw, ch), DigImg, smSmooth);
    }
}

// ---- Painting ------------------------------------------------------------------------------------

void TSevenSeg::Paint(TCanvas &canvas)
{
    d->UpdateImageCache();
    const int w = width(), h = height();
    // The kept buffer still holds the last picture: the background covers all of it.
    TBitmap &buffer = Buffer();
    TCanvas &bitmap = buffer.Canvas();
    bitmap.Pen.Color = d->FColorBackGnd;
    bitmap.Brush.SetColor(d->FColorBackGnd);
    bitmap.Rectangle(0, 0, w, h);

    const TBitmap &cache = d->ImgCache;
    const int cw = d->CellWidth(), ch = cache.Height(), margin = d->FMargin;
    if (!cache.Empty() && cw == cache.Width() / kSevenSegGlyphCount) {
        const std::vector<TSevenSegDigit> digits = ParseSevenSegCaption(d->FCaption, d->FNumDigits);
        for (int n = 0; n < int(digits.size()); ++n) {
            const int x = n * (d->FInterDigDist + cw) + margin;
            if (digits[n].Glyph >= 0)
                bitmap.CopyRect(QRect(x, margin, cw, ch), cache, QRect(cw * digits[n].Glyph, 0, cw, ch));
            if (digits[n].Point) {
                // The lower-right sixth of the point glyph, over whatever the digit shows.
                const int dx = cw * 5 / 6, dy = ch * 5 / 6;
                bitmap.CopyRect(QRect(x + dx, margin + dy, cw - dx, ch - dy), cache,
                                QRect(kSevenSegPointGlyph * cw + dx, dy, cw - dx, ch - dy));
            }
        }
    }

    if (StyledClient())
        DrawFrame(bitmap, d->FFrameStyle, 0, 0, w - 1, h - 1, clr::Light3D, clr::BtnHighlight,
                  clr::BtnShadow, clr::DkShadow3D, 0);
    else
        DrawFrame(bitmap, d->FFrameStyle, 0, 0, w - 1, h - 1, clr::White, clr::Silver, clr::Gray,
                  clr::Black, 0);
    canvas.CopyMode = cmSrcCopy;
    canvas.Draw(0, 0, buffer);
}

} // namespace nvo
