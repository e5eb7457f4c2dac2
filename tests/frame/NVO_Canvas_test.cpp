#include "NVO_Bitmap.h"
#include "NVO_Canvas.h"
#include "PinnedFont.h"
#include "PixelProbe.h"

#include <QtGui/QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace nvo;
using nvo::test::ExpectPixels;

namespace {

constexpr TColor W = clr::White, K = clr::Black, R = clr::Red;

int CountPixelsInColumn(const TBitmap &bitmap, int x)
{
    return test::CountPixels(bitmap.Image(), QRect(x, 0, 1, bitmap.Height()), K);
}

TBitmap WhiteBitmap(int w = 12, int h = 12, qreal ratio = 1)
{
    TBitmap bitmap(w, h, ratio);
    bitmap.Canvas().Brush.SetColor(W);
    bitmap.Canvas().FillRect(0, 0, w, h);
    return bitmap;
}

} // namespace

TEST(Canvas, RectangleOutlinesWithPenFillsWithBrushAndExcludesRightAndBottom)
{
    TBitmap b = WhiteBitmap();
    TCanvas &c = b.Canvas();
    c.Pen.Color = K;
    c.Brush.SetColor(R);
    c.Rectangle(2, 2, 8, 6);
    ExpectPixels(b, {{2, 2, K}, {7, 2, K}, {2, 5, K}, {7, 5, K}, // corners of the outline
                     {3, 3, R}, {6, 4, R},                       // inside
                     {8, 3, W}, {4, 6, W}, {1, 1, W}});          // right, bottom, outside
}

TEST(Canvas, RectangleWithoutPenFillsOnePixelLessToTheRightAndBottom)
{
    TBitmap b = WhiteBitmap();
    TCanvas &c = b.Canvas();
    c.Pen.Style = psClear;
    c.Brush.SetColor(R);
    c.Rectangle(2, 2, 8, 6);
    ExpectPixels(b, {{2, 2, R}, {6, 4, R}, {7, 4, W}, {6, 5, W}});
}

TEST(Canvas, WidePenStaysInsideTheFigure)
{
    TBitmap b = WhiteBitmap();
    TCanvas &c = b.Canvas();
    c.Pen.Width = 2;
    c.Brush.SetStyle(bsClear);
    c.Rectangle(1, 1, 9, 9);
    ExpectPixels(b, {{1, 1, K}, {2, 2, K}, {3, 3, W}, {8, 8, K}, {7, 7, K}, {6, 6, W}, {9, 9, W}});
}

TEST(Canvas, FillRectAndFrameRectUseTheBrushAndExcludeRightAndBottom)
{
    TBitmap b = WhiteBitmap();
    TCanvas &c = b.Canvas();
    c.Brush.SetColor(R);
    c.FillRect(1, 1, 4, 3);
    c.FillRect(6, 1, 6, 4); // empty: nothing
    c.FillRect(9, 3, 8, 1); // reversed: nothing
    c.FrameRect(5, 5, 10, 10);
    ExpectPixels(b, {{1, 1, R}, {3, 2, R}, {4, 2, W}, {3, 3, W},
                     {5, 1, W}, {6, 2, W}, {8, 2, W},
                     {5, 5, R}, {9, 9, R}, {7, 7, W}, {10, 9, W}, {9, 10, W}});
}

TEST(Canvas, SettingTheBrushColourMakesAClearBrushSolid)
{
    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(R);
    EXPECT_EQ(brush.GetStyle(), bsSolid);
}

TEST(Canvas, LineToExcludesItsEndPointInEveryDirection)
{
    struct Case {
        QPoint from, to, lastDrawn;
    };
    const std::array<Case, 6> cases{{
        {{1, 5}, {9, 5}, {8, 5}},
        {{9, 5}, {1, 5}, {2, 5}},
        {{5, 1}, {5, 9}, {5, 8}},
        {{5, 9}, {5, 1}, {5, 2}},
        {{1, 1}, {9, 9}, {8, 8}},
        {{9, 3}, {1, 7}, {2, 7}},
    }};
    for (const Case &k : cases) {
        TBitmap b = WhiteBitmap();
        TCanvas &c = b.Canvas();
        c.MoveTo(k.from.x(), k.from.y());
        c.LineTo(k.to.x(), k.to.y());
        EXPECT_EQ(c.GetPixel(k.from.x(), k.from.y()), K);
        EXPECT_EQ(c.GetPixel(k.lastDrawn.x(), k.lastDrawn.y()), K) << k.to.x() << "," << k.to.y();
        EXPECT_EQ(c.GetPixel(k.to.x(), k.to.y()), W);
        EXPECT_EQ(c.PenPos(), k.to);
    }
}

TEST(Canvas, ShallowLineTakesOnePixelPerColumn)
{
    TBitmap b = WhiteBitmap(20, 8);
    TCanvas &c = b.Canvas();
    c.MoveTo(0, 0);
    c.LineTo(16, 4);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(CountPixelsInColumn(b, x), 1) << x;
}

TEST(Canvas, PolylineJointsArePaintedOnceSoXorKeepsThem)
{
    TBitmap b = WhiteBitmap();
    TCanvas &c = b.Canvas();
    c.Pen.Mode = pmXor;
    c.Pen.Color = W; // white XOR white = black
    const std::array<QPoint, 3> points{QPoint(1, 1), QPoint(8, 1), QPoint(8, 8)};
    c.Polyline(points);
    ExpectPixels(b, {{1, 1, K}, {8, 1, K}, {8, 7, K}, {8, 8, W}});
}

TEST(Canvas, RectangleOutlineIsPaintedOnceSoInvertingShowsItsCorners)
{
    for (int width : {1, 2, 5}) {
        TBitmap b = WhiteBitmap();
        TCanvas &c = b.Canvas();
        c.Pen.Mode = pmNot;
        c.Pen.Width = width;
        c.Brush.SetStyle(bsClear);
        c.Rectangle(1, 1, 9, 7);
        // Every pixel of the 8 x 6 figure lies on the outline or inside it; the
        // outline is black (white inverted once), the inside stays white.
        const int inside = std::max(8 - 2 * width, 0) * std::max(6 - 2 * width, 0);
        EXPECT_EQ(test::CountPixels(b.Image(), QRect(0, 0, 12, 12), K), 48 - inside) << width;
        ExpectPixels(b, {{1, 1, K}, {8, 1, K}, {1, 6, K}, {8, 6, K}, {9, 7, W}});
    }
}

TEST(Canvas, EllipseFitsItsBoxExclusiveOfRightAndBottom)
{
    TBitmap b = WhiteBitmap(20, 20);
    TCanvas &c = b.Canvas();
    c.Brush.SetColor(R);
    c.Ellipse(2, 4, 18, 14);
    const QRect ink = test::InkBounds(b.Image(), W);
    EXPECT_EQ(ink, QRect(QPoint(2, 4), QPoint(17, 13)));
    EXPECT_EQ(c.GetPixel(10, 9), R);
}

TEST(Canvas, PieFromRightToTopFillsTheUpperRightQuarter)
{
    TBitmap b = WhiteBitmap(21, 21);
    TCanvas &c = b.Canvas();
    c.Pen.Style = psClear;
    c.Brush.SetColor(R);
    // Counter-clockwise from the ray to the right to the ray upwards.
    c.Pie(0, 0, 21, 21, 20, 10, 10, 0);
    ExpectPixels(b, {{14, 6, R}, {6, 6, W}, {6, 14, W}, {14, 14, W}});
}

TEST(Canvas, TextOutIsPlacedByItsTopLeftCornerOnAnOpaqueCell)
{
    TBitmap b = WhiteBitmap(80, 40);
    TCanvas &c = b.Canvas();
    c.Font = TFont(test::PinnedFont(16), K);
    c.Brush.SetColor(R);
    c.TextOut(10, 12, QStringLiteral("Hg"));
    const int w = c.TextWidth(QStringLiteral("Hg"));
    const int h = c.TextHeight(QStringLiteral("Hg"));
    // The cell behind the text is the brush colour, exactly [x, x+w) x [y, y+h).
    ExpectPixels(b, {{10, 12, R}, {10 + w - 1, 12 + h - 1, R}, {10 + w, 12, W}, {10, 12 + h, W}, {9, 12, W}});
    // The glyphs' ink lies inside the cell.
    EXPECT_GT(test::CountPixels(b.Image(), QRect(10, 12, w, h), K), 10);
    EXPECT_EQ(test::CountPixels(b.Image(), b.Image().rect(), K),
              test::CountPixels(b.Image(), QRect(10, 12, w, h), K));
    EXPECT_EQ(c.PenPos(), QPoint(10 + w, 12));
}

TEST(Canvas, TextOutWithAClearBrushLeavesTheBackground)
{
    TBitmap b = WhiteBitmap(80, 40);
    TCanvas &c = b.Canvas();
    c.Font = TFont(test::PinnedFont(16), K);
    c.Brush.SetStyle(bsClear);
    c.TextOut(10, 12, QStringLiteral("Hg"));
    EXPECT_EQ(test::CountPixels(b.Image(), b.Image().rect(), R), 0);
    const QRect ink = test::InkBounds(b.Image(), W);
    EXPECT_GE(ink.top(), 12);
    EXPECT_LE(ink.top(), 12 + c.TextHeight(QStringLiteral("H")) / 2);
}

TEST(Canvas, RotatedTextOffsetPutsTheAnchorOnTheTurnedMiddleLine)
{
    // A line 40 wide and 10 high: m = 20, t = 5.
    struct Case {
        TAlignment alignment;
        double angle;
        QPoint expected;
    };
    const Case cases[] = {
        {taLeftJustify, 0, {0, -5}},   {taCenter, 0, {-20, -5}},   {taRightJustify, 0, {-40, -5}},
        {taLeftJustify, 90, {-5, 0}},  {taCenter, 90, {-5, 20}},   {taRightJustify, 90, {-5, 40}},
        {taCenter, 180, {20, 5}},      {taCenter, 270, {5, -20}},  {taCenter, -90, {5, -20}},
        // cos 60 x -20 - sin 60 x 5 = -14.33, sin 60 x 20 - cos 60 x 5 = 14.82
        {taCenter, 60, {-14, 15}},
        {TAlignment(9), 0, {0, -5}},   // an unknown alignment anchors at the left end
    };
    for (const Case &c : cases)
        EXPECT_EQ(RotatedTextOffset(c.alignment, 20, 5, c.angle), c.expected)
            << int(c.alignment) << " at " << c.angle;
}

TEST(Canvas, TextOutAngledTurnsTheLineAboutItsTopLeftCorner)
{
    TBitmap b = WhiteBitmap(80, 80);
    TCanvas &c = b.Canvas();
    c.Font = TFont(test::PinnedFont(16), K);
    c.Brush.SetColor(R); // the brush fills no cell behind turned text
    const int w = c.TextWidth(QStringLiteral("HHH")), h = c.TextHeight(QStringLiteral("HHH"));
    c.TextOutAngled(20, 70, QStringLiteral("HHH"), 90);
    EXPECT_EQ(test::CountPixels(b.Image(), b.Image().rect(), R), 0);
    // Turned up, the line runs from (20, 70) to the top, its cell to the right.
    const QRect ink = test::InkBounds(b.Image(), W);
    EXPECT_GE(ink.left(), 20);
    EXPECT_LE(ink.right(), 20 + h);
    EXPECT_LE(ink.bottom(), 70);
    EXPECT_GE(ink.top(), 70 - w);
    EXPECT_GT(ink.height(), ink.width());
}

TEST(Canvas, TextRectFillsItsRectangleAndClipsTheText)
{
    TBitmap b = WhiteBitmap(80, 40);
    TCanvas &c = b.Canvas();
    c.Font = TFont(test::PinnedFont(16), K);
    c.Brush.SetColor(R);
    const QRect rect(10, 10, 12, 20);
    c.TextRect(rect, 5, 10, QStringLiteral("WWWWWW"));
    const QRect ink = test::InkBounds(b.Image(), W);
    EXPECT_EQ(ink, rect);
    EXPECT_GT(test::CountPixels(b.Image(), rect, K), 0);
}

TEST(Canvas, TextDrawnAfterAnotherWasMeasuredIsQtsOwnLine)
{
    // The canvas keeps the last line it laid out for both its width and its drawing:
    // whatever was measured before, a text comes out as QPainter::drawText puts it,
    // in the font and direction of the moment.
    struct Case {
        QString measured;
        int measuredSize;
        QString drawn;
        int drawnSize;
        Qt::LayoutDirection direction;
    };
    const QString digits = QStringLiteral("12.50");
    const QString hebrew = QStringLiteral("\u05E9\u05DC\u05D5\u05DD 12");
    const Case cases[] = {
        {digits, 16, digits, 16, Qt::LeftToRight},
        {digits, 16, digits, 10, Qt::LeftToRight},
        {digits, 16, QStringLiteral("12.5"), 16, Qt::LeftToRight},
        {digits, 16, digits, 16, Qt::RightToLeft},
        {hebrew, 13, hebrew, 13, Qt::RightToLeft},
        {QString(), 13, QStringLiteral("AV Wa  "), 13, Qt::LeftToRight},
        {digits, 13, QStringLiteral("x\ty\u00B0"), 13, Qt::LeftToRight},
    };
    for (const Case &test : cases) {
        TBitmap b = WhiteBitmap(120, 40);
        TCanvas &c = b.Canvas();
        c.Font = TFont(test::PinnedFont(test.measuredSize), K);
        c.TextWidth(test.measured);
        c.Font = TFont(test::PinnedFont(test.drawnSize), K);
        c.Painter().setLayoutDirection(test.direction);
        c.Brush.SetStyle(bsClear);
        c.TextOut(5, 8, test.drawn);

        QImage expected = WhiteBitmap(120, 40).Image();
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setLayoutDirection(test.direction);
        painter.setFont(test::PinnedFont(test.drawnSize));
        painter.drawText(QPoint(5, 8 + painter.fontMetrics().ascent()), test.drawn);
        painter.end();
        EXPECT_EQ(b.Image(), expected) << qPrintable(test.drawn);
        EXPECT_EQ(c.TextWidth(test.drawn), QFontMetrics(test::PinnedFont(test.drawnSize), &expected)
                                               .horizontalAdvance(test.drawn))
            << qPrintable(test.drawn);
    }
}

TEST(Canvas, CopyModesCombineSourceAndDestination)
{
    struct Case {
        TCopyMode mode;
        TColor expected;
    };
    const TColor dest = 0x0F0F0F, source = 0x3C3C3C;
    const std::array<Case, 6> cases{{
        {cmSrcCopy, source},
        {cmSrcAnd, dest & source},
        {cmSrcPaint, dest | source},
        {cmSrcInvert, dest ^ source},
        {cmDstInvert, ~dest & 0xFFFFFF},
        {cmNotSrcCopy, ~source & 0xFFFFFF},
    }};
    TBitmap picture(4, 4);
    picture.Canvas().Brush.SetColor(source);
    picture.Canvas().FillRect(0, 0, 4, 4);
    for (const Case &k : cases) {
        TBitmap b(8, 8);
        TCanvas &c = b.Canvas();
        c.Brush.SetColor(dest);
        c.FillRect(0, 0, 8, 8);
        c.CopyMode = k.mode;
        c.Draw(2, 2, picture);
        EXPECT_EQ(c.GetPixel(3, 3), k.expected) << int(k.mode);
        EXPECT_EQ(c.GetPixel(6, 6), dest) << int(k.mode);
    }
}

TEST(Canvas, SystemColoursFollowThePalette)
{
    QPalette dark;
    dark.setColor(QPalette::Active, QPalette::Button, QColor(30, 30, 30));
    TBitmap b(4, 4);
    b.SetPalette(dark);
    TCanvas &c = b.Canvas();
    c.Brush.SetColor(clr::BtnFace);
    c.FillRect(0, 0, 4, 4);
    EXPECT_EQ(c.GetPixel(1, 1), RGBColor(30, 30, 30));
}

TEST(Canvas, PixelRulesHoldInLogicalPixelsAtDeviceRatioTwo)
{
    TBitmap b = WhiteBitmap(12, 12, 2.0);
    TCanvas &c = b.Canvas();
    c.Pen.Color = K;
    c.Brush.SetColor(R);
    c.Rectangle(2, 2, 8, 6);
    c.MoveTo(0, 10);
    c.LineTo(5, 10);
    EXPECT_EQ(b.Image().size(), QSize(24, 24));
    ExpectPixels(b, {{2, 2, K}, {7, 5, K}, {8, 3, W}, {3, 3, R}, {4, 10, K}, {5, 10, W}});
    // Every logical pixel is a whole 2 x 2 block of device pixels.
    const QImage &img = b.Image();
    EXPECT_EQ(img.pixel(15, 11), img.pixel(14, 10)); // outline corner (7,5)
    EXPECT_EQ(test::PixelAt(img, 16, 6), W);          // (8,3) stays white
    EXPECT_EQ(test::PixelAt(img, 9, 21), K);          // line pixel (4,10), lower device row
}

TEST(Canvas, AnActivePainterKeepsItsStateAfterACanvasDrewThroughIt)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::green);
    {
        TCanvas canvas(painter, QPalette());
        canvas.Brush.SetColor(clr::Red);
        canvas.FillRect(0, 0, 5, 5);
        EXPECT_FALSE(painter.testRenderHint(QPainter::Antialiasing)) << "the canvas draws with its pixel rules";
    }
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    painter.end();
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white)) << "the right and bottom edges stay out";
}
