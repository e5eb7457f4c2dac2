#include "NVO_onoffbut.h"

#include "ControlContract.h"
#include "EventRecorder.h"
#include "PinnedFont.h"
#include "PixelProbe.h"
#include "TempDir.h"

#include <QtGui/QAccessible>
#include <QtGui/QPainter>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace nvo;
using namespace nvo::test;
using Style = TOnOffBut::TOnOffButStyle;

namespace {

std::unique_ptr<TOnOffBut> MakeButton(Style style = TOnOffBut::oobsCheckbox)
{
    auto button = std::make_unique<TOnOffBut>();
    button->setObjectName(QStringLiteral("OnOff1"));
    button->setFont(PinnedFont());
    button->SetButtonStyle(style);
    return button;
}

/// A picture's pixel as a TColor; transparent pixels read as the key colour.
TColor PicturePixel(const QImage &picture, int x, int y)
{
    const QRgb p = picture.pixel(x, y);
    return qAlpha(p) == 0 ? kOnOffKeyColor : RGBColor(qRed(p), qGreen(p), qBlue(p));
}

/// The point inside the glyph area: one pixel in from its top-left edge.
QPoint InsideGlyph(const TOnOffBut &b) { return {b.GetLeftSpace() + 3, b.GetTopSpace() + 3}; }

/// A 2 x 2 sheet of `cell`-sized pictures in four plain colours with a key-coloured
/// top-left pixel in each.
QImage ColourSheet(QSize cell)
{
    QImage sheet(cell * 2, QImage::Format_RGB32);
    QPainter painter(&sheet);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(QPoint((i % 2) * cell.width(), (i / 2) * cell.height()), cell), colours[i]);
    painter.end();
    for (int i = 0; i < 4; ++i)
        sheet.setPixel((i % 2) * cell.width(), (i / 2) * cell.height(), qRgb(0xEB, 0xBE, 0xEB));
    return sheet;
}

} // namespace

TEST(OnOffBut, Defaults)
{
    TOnOffBut button;
    EXPECT_TRUE(button.GetOnOff());
    EXPECT_EQ(button.GetButtonStyle(), TOnOffBut::oobsColSlideLR);
    EXPECT_EQ(button.GetMode(), TOnOffBut::oobmNormalBut);
    EXPECT_EQ(button.GetMouseAction(), TOnOffBut::oomaFocused);
    EXPECT_EQ(button.GetGroupIndex(), 0);
    EXPECT_TRUE(button.GetAllowAllOff());
    EXPECT_TRUE(button.GetAutoCenter());
    EXPECT_EQ(button.GetLeftTextAlignment(), taRightJustify);
    EXPECT_EQ(button.GetRightTextAlignment(), taLeftJustify);
    EXPECT_EQ(button.GetTopTextAlignment(), taCenter);
    EXPECT_EQ(button.GetBottomTextAlignment(), taCenter);
    EXPECT_EQ(button.GetColorText(), clr::Black);
    EXPECT_EQ(button.GetColorBackgnd(), clr::BtnFace);
    EXPECT_EQ(button.GetFrameStyle(), fsLowered);
    EXPECT_EQ(button.GetColorScheme(), csClassic);
    EXPECT_FALSE(button.GetTransparent());
    EXPECT_EQ(button.size(), QSize(100, 50));
    EXPECT_EQ(button.GlyphSize(), QSize(30, 18));
}

// Every style's sheet is shipped, cut into four pictures of half its size, and each
// style looks different on and off.
TEST(OnOffBut, EveryStyleHasItsFourPictures)
{
    const struct {
        Style style;
        const char *resource;
        QSize glyph;
    } styles[] = {
        {TOnOffBut::oobsCheckbox, "CHECKBOX", {16, 16}},     {TOnOffBut::oobsRadioBut, "RADIOBUT", {14, 14}},
        {TOnOffBut::oobsSlideTB, "SLIDETOPBOT", {18, 30}},   {TOnOffBut::oobsSlideLR, "SLIDELFTRGT", {30, 18}},
        {TOnOffBut::oobsColSlideTB, "COLSLIDETB", {18, 30}}, {TOnOffBut::oobsColSlideLR, "COLSLIDELR", {30, 18}},
        {TOnOffBut::oobsLedRedGreen, "LEDREDGREEN", {14, 14}}, {TOnOffBut::oobsArrowTopRgt, "ARROWTR", {25, 25}},
        {TOnOffBut::oobsArrowUpDown, "ARROWUD", {25, 25}},   {TOnOffBut::oobsArrowLeftRight, "ARROWLR", {25, 25}},
        {TOnOffBut::oobsTrafficLPed, "TRAFFICLGT", {31, 31}}, {TOnOffBut::oobsBeveledLed, "BEVELEDLED", {17, 17}},
        {TOnOffBut::oobsSmileyYellow, "SMILEYS", {18, 18}},  {TOnOffBut::oobsSmileyRedGrn, "SMILEYRG", {18, 18}},
        {TOnOffBut::oobsBulb, "BULB", {39, 49}},             {TOnOffBut::oobsButLamp, "BUTLAMP", {49, 24}},
        {TOnOffBut::oobsHDLeft, "HDLEFT", {48, 16}},         {TOnOffBut::oobsHDRight, "HDRIGHT", {48, 16}},
        {TOnOffBut::oobsUser1, "USER1", {24, 24}},           {TOnOffBut::oobsUser2, "USER2", {24, 24}},
        {TOnOffBut::oobsUser3, "USER3", {24, 24}},           {TOnOffBut::oobsUser4, "USER4", {24, 24}},
        {TOnOffBut::oobsUser5, "USER5", {24, 24}},
    };
    EXPECT_EQ(TOnOffBut::StyleResourceName(TOnOffBut::oobsUser), QString());
    for (const auto &s : styles) {
        SCOPED_TRACE(s.resource);
        EXPECT_EQ(TOnOffBut::StyleResourceName(s.style), QLatin1String(s.resource));
        auto button = MakeButton(s.style);
        EXPECT_EQ(button->GlyphSize(), s.glyph);
        const QImage on = button->CurrentPicture();
        button->SetOnOff(false);
        const QImage off = button->CurrentPicture();
        button->SetEnabled(false);
        const QImage offDisabled = button->CurrentPicture();
        EXPECT_EQ(on.size(), s.glyph);
        EXPECT_NE(on, off);
        EXPECT_NE(off, offDisabled);
    }
}

TEST(OnOffBut, SheetIsCutInOnOffEnabledDisabledOrderWithTheKeyColourTransparent)
{
    const TOnOffPictures pictures = CutOnOffSheet(ColourSheet(QSize(5, 4)));
    // Index 2 * on + enabled: top left on & enabled (red), top right off & enabled
    // (green), bottom left on & disabled (blue), bottom right off & disabled (yellow).
    const struct {
        int index;
        TColor colour;
    } cases[] = {{3, clr::Red}, {1, clr::Lime}, {2, clr::Blue}, {0, clr::Yellow}};
    for (const auto &c : cases) {
        ASSERT_EQ(pictures[c.index].size(), QSize(5, 4)) << c.index;
        EXPECT_EQ(PicturePixel(pictures[c.index], 4, 3), c.colour) << c.index;
        EXPECT_EQ(qAlpha(pictures[c.index].pixel(0, 0)), 0) << c.index;
    }
    EXPECT_TRUE(CutOnOffSheet(QImage(1, 7, QImage::Format_RGB32))[3].isNull());
}

TEST(OnOffBut, AutoCenterCentresTheGlyph)
{
    auto button = MakeButton(TOnOffBut::oobsCheckbox);
    EXPECT_EQ(button->GetLeftSpace(), 42);
    EXPECT_EQ(button->GetTopSpace(), 17);
    button->SetLeftSpace(5); // centred instead
    EXPECT_EQ(button->GetLeftSpace(), 42);
    button->resize(60, 30);
    EXPECT_EQ(button->GetLeftSpace(), 22);
    button->SetAutoCenter(false);
    EXPECT_EQ(button->GetLeftSpace(), 22);
    button->resize(100, 50);
    EXPECT_EQ(button->GetLeftSpace(), 22);
}

TEST(OnOffBut, SpacesAreLimitedToTheSizeAndNeverNegative)
{
    auto button = MakeButton();
    button->SetAutoCenter(false);
    button->SetTopSpace(500);
    EXPECT_EQ(button->GetTopSpace(), 50);
    button->SetLeftSpace(500);
    EXPECT_EQ(button->GetLeftSpace(), 100);
    button->SetLeftSpace(-4);
    EXPECT_EQ(button->GetLeftSpace(), 100);
}

TEST(OnOffBut, EnumeratedSettingsOutsideTheirRangeAreRefused)
{
    auto button = MakeButton();
    button->SetButtonStyle(Style(24));
    button->SetMode(TOnOffBut::TOOButMode(2));
    button->SetMouseAction(TOnOffBut::TOOButMouseAction(7));
    button->SetLeftTextAlignment(TAlignment(3));
    EXPECT_EQ(button->GetButtonStyle(), TOnOffBut::oobsCheckbox);
    EXPECT_EQ(button->GetMode(), TOnOffBut::oobmNormalBut);
    EXPECT_EQ(button->GetMouseAction(), TOnOffBut::oomaFocused);
    EXPECT_EQ(button->GetLeftTextAlignment(), taRightJustify);
}

TEST(OnOffBut, OnOffIsTheNotifyingUserProperty)
{
    auto button = MakeButton();
    ExpectNotifyingUserProperty(*button, "OnOff", false);
}

// A press on the glyph switches; where the press must lie depends on MouseAction.
TEST(OnOffBut, MousePressSwitchesByMouseAction)
{
    const struct {
        TOnOffBut::TOOButMouseAction action;
        Qt::MouseButton button;
        bool onGlyphEdge; // else well inside the glyph, or (for "beside") at (2, 2)
        bool beside;
        bool switches;
        bool clicks;
    } cases[] = {
        {TOnOffBut::oomaFocused, Qt::LeftButton, false, false, true, true},
        {TOnOffBut::oomaFocused, Qt::LeftButton, true, false, false, false},
        {TOnOffBut::oomaFocused, Qt::LeftButton, false, true, false, false},
        {TOnOffBut::oomaPlain, Qt::LeftButton, false, true, true, true},
        {TOnOffBut::oomaNone, Qt::LeftButton, false, false, false, false},
        {TOnOffBut::oomaPlain, Qt::RightButton, false, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "action " << int(c.action) << " edge " << c.onGlyphEdge
                                          << " beside " << c.beside << " button " << c.button);
        auto button = MakeButton();
        button->show();
        button->SetMouseAction(c.action);
        int clicks = 0;
        button->OnClick = [&](QObject *) { ++clicks; };
        const QPoint at = c.beside ? QPoint(2, 2)
            : c.onGlyphEdge        ? QPoint(button->GetLeftSpace(), button->GetTopSpace() + 5)
                                   : InsideGlyph(*button);
        QTest::mouseClick(button.get(), c.button, {}, at);
        EXPECT_EQ(button->GetOnOff(), !c.switches);
        EXPECT_EQ(clicks, c.clicks ? 1 : 0);
    }
}

TEST(OnOffBut, SpeedModeIsOnWhilePressedAndClicksOnRelease)
{
    auto button = MakeButton();
    button->show();
    button->SetMode(TOnOffBut::oobmSpeedBut);
    EXPECT_FALSE(button->GetOnOff());
    EventRecorder events;
    button->OnChange = [&](QObject *) { events.Record(button->GetOnOff() ? "on" : "off"); };
    button->OnClick = events.Recorder(QStringLiteral("click"));
    QTest::mousePress(button.get(), Qt::LeftButton, {}, InsideGlyph(*button));
    EXPECT_TRUE(button->GetOnOff());
    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, InsideGlyph(*button));
    EXPECT_EQ(events.Events().join(u'|'), QStringLiteral("on|off|click"));
}

// A release beside the glyph, or outside the control, still switches a speed button off.
TEST(OnOffBut, SpeedModeReleaseAnywhereSwitchesOff)
{
    for (const QPoint release : {QPoint(2, 2), QPoint(300, -20)}) {
        auto button = MakeButton();
        button->show();
        button->SetMode(TOnOffBut::oobmSpeedBut);
        int clicks = 0;
        button->OnClick = [&](QObject *) { ++clicks; };
        QTest::mousePress(button.get(), Qt::LeftButton, {}, InsideGlyph(*button));
        QTest::mouseRelease(button.get(), Qt::LeftButton, {}, release);
        EXPECT_FALSE(button->GetOnOff()) << release.x();
        EXPECT_EQ(clicks, 0) << release.x();
    }
}

// A speed button held with Space goes off when the key is released, and also when
// the focus leaves or the button is hidden meanwhile (the release then never comes).
TEST(OnOffBut, SpeedModeHeldWithSpaceNeverStaysOn)
{
    const struct {
        const char *name;
        std::function<void(TOnOffBut &)> end;
    } cases[] = {
        {"release", [](TOnOffBut &b) { QTest::keyRelease(&b, Qt::Key_Space); }},
        {"focus out", [](TOnOffBut &b) {
             QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
             QCoreApplication::sendEvent(&b, &out);
         }},
        {"hide", [](TOnOffBut &b) { b.hide(); }},
    };
    for (const auto &c : cases) {
        auto button = MakeButton();
        button->show();
        button->SetMode(TOnOffBut::oobmSpeedBut);
        QTest::keyPress(button.get(), Qt::Key_Space);
        EXPECT_TRUE(button->GetOnOff()) << c.name;
        c.end(*button);
        EXPECT_FALSE(button->GetOnOff()) << c.name;
    }
}

TEST(OnOffBut, SpaceTogglesLikeAPressOnTheGlyph)
{
    auto button = MakeButton();
    button->show();
    button->setFocus();
    int clicks = 0;
    button->OnClick = [&](QObject *) { ++clicks; };
    QTest::keyClick(button.get(), Qt::Key_Space);
    EXPECT_FALSE(button->GetOnOff());
    QTest::keyClick(button.get(), Qt::Key_Space);
    EXPECT_TRUE(button->GetOnOff());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(button->focusPolicy(), Qt::StrongFocus);
    button->SetMouseAction(TOnOffBut::oomaNone);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    QTest::keyClick(button.get(), Qt::Key_Space);
    EXPECT_TRUE(button->GetOnOff());
}

TEST(OnOffBut, GroupKeepsAtMostOneOnAndWithoutAllOffExactlyOne)
{
    QWidget parent;
    TOnOffBut *b[3];
    for (auto &button : b) {
        button = new TOnOffBut(&parent);
        button->SetButtonStyle(TOnOffBut::oobsRadioBut);
        button->SetGroupIndex(1);
    }
    // Joining the group one by one, each newcomer (on by default) switched the others off.
    EXPECT_FALSE(b[0]->GetOnOff());
    EXPECT_FALSE(b[1]->GetOnOff());
    EXPECT_TRUE(b[2]->GetOnOff());
    b[0]->SetAllowAllOff(false);
    for (TOnOffBut *button : b)
        EXPECT_FALSE(button->GetAllowAllOff());
    parent.show();
    QTest::mouseClick(b[2], Qt::LeftButton, {}, InsideGlyph(*b[2]));
    EXPECT_TRUE(b[2]->GetOnOff());
    b[2]->SetOnOff(false);
    EXPECT_TRUE(b[2]->GetOnOff());
    QTest::mouseClick(b[0], Qt::LeftButton, {}, InsideGlyph(*b[0]));
    EXPECT_TRUE(b[0]->GetOnOff());
    EXPECT_FALSE(b[1]->GetOnOff());
    EXPECT_FALSE(b[2]->GetOnOff());
    // A button of another group, or of none, is left alone.
    auto *other = new TOnOffBut(&parent);
    other->SetGroupIndex(2);
    b[1]->SetOnOff(true);
    EXPECT_TRUE(other->GetOnOff());
    EXPECT_FALSE(b[0]->GetOnOff());
}

TEST(OnOffBut, OnChangeFiresForEverySwitchAndNotForTheSameValue)
{
    QWidget parent;
    auto *a = new TOnOffBut(&parent);
    auto *b = new TOnOffBut(&parent);
    a->SetOnOff(false);
    a->SetGroupIndex(3);
    b->SetGroupIndex(3);
    int changesOfA = 0;
    a->OnChange = [&](QObject *sender) {
        EXPECT_EQ(sender, a);
        ++changesOfA;
    };
    a->SetOnOff(false);
    EXPECT_EQ(changesOfA, 0);
    a->SetOnOff(true);  // switches b off
    b->SetOnOff(true);  // switches a off through the group
    EXPECT_EQ(changesOfA, 2);
    EXPECT_FALSE(a->GetOnOff());
}

// Every style, on and off: each picture pixel shows as it is, each key pixel as the
// background.
TEST(OnOffBut, PaintShowsTheStatePictureOverTheBackground)
{
    for (int s = TOnOffBut::oobsUser; s <= TOnOffBut::oobsUser5; ++s) {
        const Style style = Style(s);
        SCOPED_TRACE(s);
        auto button = MakeButton(style);
        button->resize(120, 70);
        button->SetColorBackgnd(RGBColor(0x20, 0x40, 0x60));
        for (const bool on : {true, false}) {
            button->SetOnOff(on);
            const QImage picture = button->CurrentPicture();
            const QImage image = Grab(button.get());
            const QPoint origin(button->GetLeftSpace() + 1, button->GetTopSpace() + 1);
            int checked = 0;
            for (int y = 0; y < picture.height(); y += 3)
                for (int x = 0; x < picture.width(); x += 3) {
                    const TColor p = PicturePixel(picture, x, y);
                    const TColor expected = p == kOnOffKeyColor ? RGBColor(0x20, 0x40, 0x60) : p;
                    ASSERT_EQ(PixelAt(image, origin.x() + x, origin.y() + y), expected)
                        << "on " << on << " at " << x << "," << y;
                    ++checked;
                }
            EXPECT_GT(checked, 10);
            EXPECT_EQ(PixelAt(image, 5, 5), RGBColor(0x20, 0x40, 0x60));
        }
    }
}

TEST(OnOffBut, StylePicturesShowOnAndOffAtTheirKeyPixels)
{
    // Key pixels (in the picture) that prove the drawn state: a lamp's colour, the
    // check mark, a knob's end.
    const struct {
        Style style;
        QPoint at;
        bool on;
        bool (*expect)(TColor);
    } cases[] = {
        {TOnOffBut::oobsLedRedGreen, {7, 9}, true, [](TColor c) { return GetGValue(c) > GetRValue(c) + 60; }},
        {TOnOffBut::oobsLedRedGreen, {7, 9}, false, [](TColor c) { return GetRValue(c) > GetGValue(c) + 60; }},
        {TOnOffBut::oobsCheckbox, {6, 11}, true, [](TColor c) { return GetBValue(c) > GetRValue(c) + 80; }},
        {TOnOffBut::oobsCheckbox, {6, 11}, false, [](TColor c) { return GetRValue(c) > 200 && GetBValue(c) > 200; }},
        {TOnOffBut::oobsColSlideLR, {6, 9}, true, [](TColor c) { return GetGValue(c) > GetRValue(c) + 60; }},
        {TOnOffBut::oobsColSlideLR, {6, 9}, false, [](TColor c) { return GetRValue(c) > 200 && GetGValue(c) > 200; }},
    };
    for (const auto &c : cases) {
        auto button = MakeButton(c.style);
        button->SetOnOff(c.on);
        const TColor pixel = PicturePixel(button->CurrentPicture(), c.at.x(), c.at.y());
        EXPECT_TRUE(c.expect(pixel)) << TOnOffBut::StyleResourceName(c.style).toStdString() << " on " << c.on
                                     << " pixel " << std::hex << pixel;
    }
}

TEST(OnOffBut, TextsStandWhereTheirAlignmentPutsThem)
{
    const TOnOffLayout layout{100, 50, 42, 17, 16, 16, 15};
    const struct {
        QPoint (TOnOffLayout::*place)(int, TAlignment) const;
        TAlignment alignment;
        QPoint expected;
    } cases[] = {
        {&TOnOffLayout::LeftText, taLeftJustify, {4, 17}},   {&TOnOffLayout::LeftText, taRightJustify, {29, 17}},
        {&TOnOffLayout::LeftText, taCenter, {16, 17}},       {&TOnOffLayout::RightText, taLeftJustify, {62, 17}},
        {&TOnOffLayout::RightText, taRightJustify, {86, 17}}, {&TOnOffLayout::RightText, taCenter, {75, 17}},
        {&TOnOffLayout::TopText, taCenter, {45, -2}},        {&TOnOffLayout::BottomText, taLeftJustify, {4, 37}},
        {&TOnOffLayout::BottomText, taRightJustify, {86, 37}},
    };
    for (const auto &c : cases)
        EXPECT_EQ((layout.*c.place)(10, c.alignment), c.expected) << int(c.alignment) << " " << c.expected.x();
    EXPECT_FALSE(layout.InGlyph(42, 20));
    EXPECT_TRUE(layout.InGlyph(43, 20));
    EXPECT_FALSE(layout.InGlyph(58, 20));
}

TEST(OnOffBut, DisabledTextIsEngraved)
{
    auto button = MakeButton();
    button->SetColorBackgnd(clr::Silver);
    button->SetRightText(QStringLiteral("I"));
    button->SetRightTextAlignment(taLeftJustify);
    const QImage enabled = Grab(button.get());
    button->SetEnabled(false);
    const QImage disabled = Grab(button.get());
    const QRect area(button->GetLeftSpace() + 16 + 2, 10, 20, 30);
    EXPECT_GT(CountPixels(enabled, area, clr::Black), 0);
    EXPECT_EQ(CountPixels(disabled, area, clr::Black), 0);
    EXPECT_GT(CountPixels(disabled, area, clr::Gray), 0);
    EXPECT_GT(CountPixels(disabled, area, clr::White), 0);
    // The white pass lies one pixel right of and below the gray one.
    EXPECT_EQ(InkBounds(disabled.copy(area), clr::Silver).topLeft(),
              InkBounds(enabled.copy(area), clr::Silver).topLeft());
}

TEST(OnOffBut, UserStyleTakesItsSizeFromTheUserPictures)
{
    auto button = MakeButton(TOnOffBut::oobsUser);
    EXPECT_EQ(button->GlyphSize(), QSize(20, 20));
    button->SetUserGlyph(ColourSheet(QSize(12, 8)));
    EXPECT_EQ(button->GlyphSize(), QSize(12, 8));
    EXPECT_EQ(PicturePixel(button->CurrentPicture(), 5, 5), clr::Red);
    button->SetOnOff(false);
    EXPECT_EQ(PicturePixel(button->CurrentPicture(), 5, 5), clr::Lime);
    // A different style keeps its own size; back to the user style, the user's size.
    button->SetButtonStyle(TOnOffBut::oobsCheckbox);
    EXPECT_EQ(button->GlyphSize(), QSize(16, 16));
    button->SetButtonStyle(TOnOffBut::oobsUser);
    EXPECT_EQ(button->GlyphSize(), QSize(12, 8));
}

TEST(OnOffBut, UnusableUserPictureRaisesAndKeepsThePreviousOne)
{
    TempDir dir;
    const QString good = dir.Path(QStringLiteral("good.png"));
    ASSERT_TRUE(ColourSheet(QSize(6, 6)).save(good));
    auto button = MakeButton(TOnOffBut::oobsUser);
    button->LoadUserGlyph(good);
    const struct {
        const char *name;
        std::function<void()> load;
        QString message;
    } cases[] = {
        {"missing file", [&] { button->LoadUserGlyph(dir.Path(QStringLiteral("none.png"))); },
         QStringLiteral("Component \"OnOff1\": cannot read the picture file \"%1\"").arg(dir.Path(QStringLiteral("none.png")))},
        {"one pixel wide", [&] { button->SetUserGlyph(QImage(1, 30, QImage::Format_RGB32)); },
         QStringLiteral("Component \"OnOff1\": the user picture must hold four pictures of at least 1 x 1 pixels (2 x 2 or more)")},
        {"null", [&] { button->SetUserGlyph(QImage()); },
         QStringLiteral("Component \"OnOff1\": the user picture must hold four pictures of at least 1 x 1 pixels (2 x 2 or more)")},
    };
    for (const auto &c : cases) {
        try {
            c.load();
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const ENVOOnOffBut &e) {
            EXPECT_EQ(e.Message(), c.message) << c.name;
        }
        EXPECT_EQ(button->GlyphSize(), QSize(6, 6)) << c.name;
    }
}

TEST(OnOffBut, TransparentLeavesTheParentVisible)
{
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0x10, 0x80, 0x10));
    parent.setPalette(palette);
    parent.resize(140, 80);
    auto *button = new TOnOffBut(&parent);
    button->SetButtonStyle(TOnOffBut::oobsLedRedGreen);
    button->SetFrameStyle(fsNone);
    button->SetTransparent(true);
    const QImage image = parent.grab().toImage();
    EXPECT_EQ(PixelAt(image, 5, 5), RGBColor(0x10, 0x80, 0x10));
    // The glyph's own corner is key-coloured: the parent shows there too.
    EXPECT_EQ(PixelAt(image, button->GetLeftSpace() + 1, button->GetTopSpace() + 1), RGBColor(0x10, 0x80, 0x10));
}

TEST(OnOffBut, AssignCopiesSettingsPicturesAndState)
{
    auto source = MakeButton(TOnOffBut::oobsUser);
    source->SetUserGlyph(ColourSheet(QSize(9, 7)));
    source->SetOnOff(false);
    source->SetLeftText(QStringLiteral("Power"));
    source->SetColorText(clr::Navy);
    source->SetMouseAction(TOnOffBut::oomaPlain);
    auto target = MakeButton(TOnOffBut::oobsBulb);
    QSignalSpy changed(target.get(), &TOnOffBut::OnOffChanged);
    target->Assign(source.get());
    EXPECT_EQ(target->GetButtonStyle(), TOnOffBut::oobsUser);
    EXPECT_EQ(target->GlyphSize(), QSize(9, 7));
    EXPECT_FALSE(target->GetOnOff());
    EXPECT_EQ(target->GetLeftText(), QStringLiteral("Power"));
    EXPECT_EQ(target->GetColorText(), clr::Navy);
    EXPECT_EQ(target->GetMouseAction(), TOnOffBut::oomaPlain);
    EXPECT_EQ(changed.count(), 1);
    QWidget other;
    EXPECT_THROW(target->Assign(&other), EConvertError);
}

TEST(OnOffBut, AccessibleAsACheckableButtonNamedByItsTexts)
{
    auto button = MakeButton();
    button->show();
    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(button.get());
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::Button);
    EXPECT_TRUE(access->state().checkable);
    EXPECT_TRUE(access->state().checked);
    button->SetOnOff(false);
    EXPECT_FALSE(access->state().checked);
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("On/off button"));
    button->SetLeftText(QStringLiteral("Pump"));
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("Pump"));
    button->setAccessibleName(QStringLiteral("Main pump"));
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("Main pump"));
}

TEST(OnOffBut, SizeHintMakesRoomForGlyphAndTexts)
{
    auto button = MakeButton(TOnOffBut::oobsBulb);
    const QSize bare = button->sizeHint();
    EXPECT_GE(bare.width(), 39 + 6);
    EXPECT_GE(bare.height(), 49 + 6);
    button->SetRightText(QStringLiteral("Lamp on the desk"));
    button->SetTopText(QStringLiteral("Top"));
    const QSize withTexts = button->sizeHint();
    const int textWidth = QFontMetrics(PinnedFont()).horizontalAdvance(QStringLiteral("Lamp on the desk"));
    EXPECT_GE(withTexts.width(), 39 + 2 * textWidth);
    EXPECT_GT(withTexts.height(), bare.height());
    EXPECT_EQ(button->minimumSizeHint(), QSize(45, 55));
}

TEST(OnOffBut, ChangesShowAsOnFreshControls)
{
    ExpectChangesShowAsOnFreshControls<TOnOffBut>({
        [](TOnOffBut &b) { b.SetOnOff(false); },
        [](TOnOffBut &b) { b.SetButtonStyle(TOnOffBut::oobsSmileyRedGrn); },
        [](TOnOffBut &b) { b.SetLeftText(QStringLiteral("Left")); },
        [](TOnOffBut &b) { b.SetFrameStyle(fsRaised); },
        [](TOnOffBut &b) { b.SetColorBackgnd(clr::Yellow); },
        [](TOnOffBut &b) { b.SetEnabled(false); },
    });
}

TEST(OnOffBut, VisualStylesTakeThePalettesButtonColours)
{
    auto button = MakeButton();
    QPalette dark = button->palette();
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    button->setPalette(dark);
    button->SetColorBackgnd(clr::Yellow);
    button->SetLeftText(QStringLiteral("W"));
    StyleServices::SetEnabled(true);
    const QImage styled = Grab(button.get());
    StyleServices::SetEnabled(false);
    EXPECT_EQ(PixelAt(styled, 5, 25), RGBColor(0x30, 0x30, 0x30));
    EXPECT_GT(CountPixels(styled, QRect(0, 10, button->GetLeftSpace(), 30), RGBColor(0xF0, 0xF0, 0xF0)), 0);
    EXPECT_EQ(PixelAt(Grab(button.get()), 5, 25), clr::Yellow);
}

TEST(OnOffBut, FocusShowsADottedFrameAroundTheGlyph)
{
    auto button = MakeButton();
    button->SetColorBackgnd(clr::White);
    button->show();
    button->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(button.get()));
    const QRect ring = QRect(button->GetLeftSpace() + 1, button->GetTopSpace() + 1, 16, 16).adjusted(-2, -2, 2, 2);
    const QRect topEdge(ring.left(), ring.top(), ring.width(), 1);
    button->clearFocus();
    EXPECT_EQ(CountPixels(Grab(button.get()), topEdge, clr::Gray), 0);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const int dots = CountPixels(Grab(button.get()), topEdge, clr::Gray);
    EXPECT_GT(dots, 3);
    EXPECT_LT(dots, topEdge.width());
}
