#include "ControlContract.h"
#include "NVO_RotLab.h"
#include "PaintCounter.h"
#include "PinnedFont.h"
#include "PixelProbe.h"

#include <QtGui/QAccessible>
#include <QtGui/QFontMetrics>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace nvo;
using namespace nvo::test;

namespace {

constexpr TColor kGround = clr::White;
constexpr TColor kInk = clr::Black;

/// An opaque white label without frame, drawing the caption in black plain pixels
/// of the pinned font, so that every pixel that is not white is the text's.
std::unique_ptr<TRotLab> MakePlainLabel(const QString &caption = QStringLiteral("MMMM    ."))
{
    auto label = std::make_unique<TRotLab>();
    label->setFont(PinnedFont(16));
    label->SetAntiAlias(false);
    label->SetTransparent(false);
    label->SetColor(kGround);
    label->SetFrameStyle(fsNone);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 0));
    label->setPalette(palette);
    label->SetCaption(caption);
    return label;
}

/// How many pixels of `rect` differ from the ground.
int InkIn(const QImage &image, const QRect &rect)
{
    return rect.width() * rect.height() - CountPixels(image, rect, kGround);
}

/// The smallest rectangle holding every pixel of colour `color`.
QRect BoundsOf(const QImage &image, TColor color)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == color)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

TEST(RotLab, Defaults)
{
    TRotLab label;
    EXPECT_EQ(label.size(), QSize(200, 200));
    EXPECT_EQ(label.GetPosX(), 100);
    EXPECT_EQ(label.GetPosY(), 100);
    EXPECT_EQ(label.GetAlignment(), taCenter);
    EXPECT_TRUE(label.GetAntiAlias());
    EXPECT_TRUE(label.GetAutoCenter());
    EXPECT_EQ(label.GetColor(), clr::BtnFace);
    EXPECT_EQ(label.GetFrameStyle(), fsLowered);
    EXPECT_EQ(label.GetTextAngle(), 0);
    EXPECT_TRUE(label.GetTransparent());
    EXPECT_EQ(label.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(label.font().pointSize(), 11);
    label.SetAlignment(TAlignment(7));
    EXPECT_EQ(label.GetAlignment(), taCenter);
    label.SetTextAngle(450);
    EXPECT_EQ(label.GetTextAngle(), 450);
}

TEST(RotLab, AutoCenterKeepsTheReferencePointInTheMiddle)
{
    TRotLab label;
    label.SetPosX(5);
    EXPECT_EQ(label.GetPosX(), 100);
    // Qt holds a hidden widget's resize event back until it is shown; the point
    // follows the size at once all the same.
    label.resize(120, 81);
    EXPECT_EQ(label.GetPosX(), 60);
    EXPECT_EQ(label.GetPosY(), 40);
    label.show();
    // An application's resize handler replaces the centring.
    int resized = 0;
    label.OnResize = [&](QObject *sender) {
        EXPECT_EQ(sender, &label);
        ++resized;
    };
    label.resize(50, 50);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(label.GetPosX(), 60);
    label.OnResize = nullptr;
    label.SetAutoCenter(false);
    label.SetPosX(5);
    label.SetPosY(7);
    EXPECT_EQ(label.GetPosX(), 5);
    EXPECT_EQ(label.GetPosY(), 7);
    label.SetAutoCenter(true);
    EXPECT_EQ(label.GetPosX(), 25);
    EXPECT_EQ(label.GetPosY(), 25);
}

TEST(RotLabPaint, TextTurnsAboutTheReferencePointByItsAngle)
{
    // The caption's heavy end ("MMMM", then blanks and a dot) shows which way the text runs.
    struct Case {
        int angle;
        QRect heavy, light; ///< halves of the 200 x 200 label about the centre
    };
    const QRect left(0, 0, 100, 200), right(100, 0, 100, 200), top(0, 0, 200, 100),
        bottom(0, 100, 200, 100);
    const Case cases[] = {
        {0, left, right}, {90, bottom, top}, {180, right, left}, {270, top, bottom},
        {450, bottom, top}, {-90, top, bottom},
    };
    for (const Case &c : cases) {
        auto label = MakePlainLabel();
        label->SetTextAngle(c.angle);
        const QImage image = Grab(label.get());
        EXPECT_GT(InkIn(image, c.heavy), 2 * InkIn(image, c.light)) << c.angle << " degrees";
        // Centred on (100, 100): the ink's middle lies within two pixels of it.
        const QRect ink = InkBounds(image, kGround);
        EXPECT_NEAR(ink.center().x(), 100, 2 + (c.angle % 180 == 0 ? 4 : 0)) << c.angle;
        EXPECT_NEAR(ink.center().y(), 100, 2 + (c.angle % 180 != 0 ? 4 : 0)) << c.angle;
    }
}

TEST(RotLabPaint, AlignmentPutsTheTextBeforeOnOrAfterTheReferencePoint)
{
    struct Case {
        TAlignment alignment;
        int angle;
        /// Which edge of the ink lies at the reference point (50, 60): 'l' left,
        /// 'r' right, 'b' bottom, 't' top, 'c' the middle across the text.
        char edge;
    };
    const Case cases[] = {
        {taLeftJustify, 0, 'l'}, {taRightJustify, 0, 'r'}, {taCenter, 0, 'c'},
        {taLeftJustify, 90, 'b'}, {taRightJustify, 90, 't'}, {taLeftJustify, 180, 'r'},
    };
    for (const Case &c : cases) {
        auto label = MakePlainLabel(QStringLiteral("HHHH"));
        label->SetAutoCenter(false);
        label->resize(200, 200);
        label->SetPosX(100);
        label->SetPosY(100);
        label->SetAlignment(c.alignment);
        label->SetTextAngle(c.angle);
        const QRect ink = InkBounds(Grab(label.get()), kGround);
        const std::string at = std::to_string(int(c.alignment)) + " at " + std::to_string(c.angle);
        // A glyph's side bearing keeps its ink a pixel or two off the line's ends.
        switch (c.edge) {
        case 'l': EXPECT_NEAR(ink.left(), 100, 2) << at; break;
        case 'r': EXPECT_NEAR(ink.right() + 1, 100, 2) << at; break;
        case 'b': EXPECT_NEAR(ink.bottom() + 1, 100, 2) << at; break;
        case 't': EXPECT_NEAR(ink.top(), 100, 2) << at; break;
        default: EXPECT_NEAR(ink.center().x(), 100, 1) << at; break;
        }
        // Across the text the reference point lies on the line's middle: the line
        // height straddles it.
        const int lineHeight = QFontMetrics(PinnedFont(16)).height();
        if (c.angle % 180 == 0) {
            EXPECT_GE(ink.top(), 100 - lineHeight / 2 - 1) << at;
            EXPECT_LE(ink.bottom(), 100 + lineHeight / 2) << at;
        } else {
            EXPECT_GE(ink.left(), 100 - lineHeight / 2 - 1) << at;
            EXPECT_LE(ink.right(), 100 + lineHeight / 2) << at;
        }
    }
}

TEST(RotLabPaint, DisabledTextIsEmbossedWithTheHighlightOnePixelRightAndDown)
{
    constexpr TColor highlight = RGBColor(250, 240, 10), shadow = RGBColor(20, 30, 200);
    for (const int angle : {0, 90, 33}) {
        auto label = MakePlainLabel(QStringLiteral("Off"));
        QPalette palette = label->palette();
        palette.setColor(QPalette::Light, ToQColor(highlight));
        palette.setColor(QPalette::Dark, ToQColor(shadow));
        label->setPalette(palette);
        label->SetTextAngle(angle);
        label->setEnabled(false);
        const QImage image = Grab(label.get());
        const QRect light = BoundsOf(image, highlight), dark = BoundsOf(image, shadow);
        ASSERT_FALSE(dark.isNull()) << angle;
        EXPECT_EQ(CountPixels(image, image.rect(), kInk), 0) << angle;
        // The shadow covers the highlight but at its right and bottom edges.
        EXPECT_EQ(light.right(), dark.right() + 1) << angle;
        EXPECT_EQ(light.bottom(), dark.bottom() + 1) << angle;
    }
    // Inside a disabled parent the label looks disabled too.
    QWidget parent;
    auto *label = MakePlainLabel().release();
    label->setParent(&parent);
    parent.setEnabled(false);
    EXPECT_TRUE(label->GetEnabled());
    EXPECT_EQ(CountPixels(Grab(label), label->rect(), kInk), 0);
}

TEST(RotLabPaint, AntiAliasSmoothsTheEdges)
{
    for (const bool smooth : {false, true}) {
        auto label = MakePlainLabel(QStringLiteral("Wavy"));
        label->SetTextAngle(30);
        label->SetAntiAlias(smooth);
        const QImage image = Grab(label.get());
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_EQ(colours.size() > 2, smooth);
    }
}

TEST(RotLabPaint, FrameAndBackground)
{
    auto label = MakePlainLabel();
    label->SetColor(RGBColor(10, 200, 30));
    label->SetFrameStyle(fsLowered);
    const QImage image = Grab(label.get());
    EXPECT_EQ(PixelAt(image, 0, 0), clr::Gray);
    EXPECT_EQ(PixelAt(image, 1, 1), clr::Black);
    EXPECT_EQ(PixelAt(image, 199, 199), clr::White);
    EXPECT_EQ(PixelAt(image, 198, 198), clr::Silver);
    EXPECT_EQ(PixelAt(image, 5, 5), RGBColor(10, 200, 30));
}

TEST(RotLab, EqualAssignmentAndHiddenSettingsDoNotRepaint)
{
    auto label = MakePlainLabel(QString());
    label->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(label.get()));
    PaintCounter paints(label.get());
    label->SetCaption(QString());
    label->SetFrameStyle(fsNone);
    label->SetTextAngle(45);        // no caption to turn
    label->SetAlignment(taRightJustify);
    label->SetPosX(3);              // centred anyway
    EXPECT_EQ(paints.Count, 0);
    label->SetCaption(QStringLiteral("x"));
    EXPECT_EQ(paints.Count, 1);
    label->SetTextAngle(90);
    EXPECT_EQ(paints.Count, 2);
}

TEST(RotLab, CaptionIsTheNotifyingUserProperty)
{
    TRotLab label;
    ExpectNotifyingUserProperty(label, "Caption", QStringLiteral("Turned"));
}

TEST(RotLab, AssignCopiesThePlacement)
{
    TRotLab source, target;
    source.SetAutoCenter(false);
    source.SetPosX(12);
    source.SetPosY(34);
    source.SetTextAngle(75);
    source.SetFrameStyle(fsRaised);
    source.SetAntiAlias(false);
    source.SetCaption(QStringLiteral("not copied"));
    target.Assign(&source);
    EXPECT_FALSE(target.GetAutoCenter());
    EXPECT_EQ(target.GetPosX(), 12);
    EXPECT_EQ(target.GetPosY(), 34);
    EXPECT_EQ(target.GetTextAngle(), 75);
    EXPECT_EQ(target.GetFrameStyle(), fsRaised);
    EXPECT_FALSE(target.GetAntiAlias());
    EXPECT_TRUE(target.GetCaption().isEmpty());
    QWidget other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(RotLab, SizeHintFollowsTheTurnedCaption)
{
    auto label = MakePlainLabel(QStringLiteral("A longer caption"));
    const QSize upright = label->sizeHint();
    const QFontMetrics metrics(PinnedFont(16));
    EXPECT_GE(upright.width(), metrics.horizontalAdvance(label->GetCaption()));
    EXPECT_LT(upright.height(), upright.width() / 3);
    label->SetTextAngle(90);
    EXPECT_NEAR(label->sizeHint().width(), upright.height(), 2);
    EXPECT_NEAR(label->sizeHint().height(), upright.width(), 2);
    // Anchored at one end, the caption reaches to one side of the centre only, and
    // the hint leaves the same room on the other.
    label->SetTextAngle(0);
    label->SetAlignment(taLeftJustify);
    EXPECT_GE(label->sizeHint().width(), 2 * metrics.horizontalAdvance(label->GetCaption()));
    EXPECT_GE(label->minimumSizeHint().height(), metrics.height());
}

TEST(RotLab, KeyAndMouseEventsFire)
{
    ExpectInputEvents<TRotLab>();
}

TEST(RotLab, AccessibleAsStaticTextNamedByItsCaption)
{
    TRotLab label;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&label);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::StaticText);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Rotated label"));
    label.SetCaption(QStringLiteral("Altitude"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Altitude"));
    label.setAccessibleName(QStringLiteral("Axis title"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Axis title"));
}

TEST(RotLab, AnyFormOrderGivesTheSameLabel)
{
    ExpectAnyFormOrderGivesTheSameControl<TRotLab>([](TRotLab &label) {
        label.SetCaption(QStringLiteral("Placed"));
        label.SetAutoCenter(false);
        label.SetPosX(30);
        label.SetPosY(140);
        label.SetTextAngle(45);
        label.SetAlignment(taLeftJustify);
        label.SetTransparent(false);
        label.SetColor(clr::Silver);
    });
    ExpectAnyFormOrderGivesTheSameControl<TRotLab>([](TRotLab &label) {
        label.SetCaption(QStringLiteral("Centred"));
        label.SetTextAngle(300);
        label.SetTransparent(false);
    });
}

TEST(RotLab, APointSetUnderAutoCenterWaitsForItToBeSwitchedOff)
{
    TRotLab label;
    label.SetPosX(5);
    label.SetPosY(6);
    EXPECT_EQ(label.GetPosX(), 100);
    label.SetAutoCenter(false);
    EXPECT_EQ(label.GetPosX(), 5);
    EXPECT_EQ(label.GetPosY(), 6);
    // Switched on and off again, the text stays where the centre put it.
    label.SetAutoCenter(true);
    label.SetAutoCenter(false);
    EXPECT_EQ(label.GetPosX(), 100);
    EXPECT_EQ(label.GetPosY(), 100);
}
