#include "NVO_Bitmap.h"
#include "PixelProbe.h"

#include <gtest/gtest.h>

using namespace nvo;
using nvo::test::ExpectPixels;

namespace {

constexpr TColor W = clr::White, R = clr::Red;

} // namespace

TEST(Bitmap, ResizeKeepsTheOverlapAndWhitensTheRest)
{
    TBitmap b(4, 4);
    b.Canvas().Brush.SetColor(R);
    b.Canvas().FillRect(0, 0, 4, 4);
    b.SetSize(6, 3);
    EXPECT_EQ(b.Width(), 6);
    EXPECT_EQ(b.Height(), 3);
    ExpectPixels(b, {{3, 2, R}, {4, 2, W}});
}

TEST(Bitmap, FailedLoadKeepsTheOldPicture)
{
    TBitmap b(3, 3);
    EXPECT_FALSE(b.LoadFromFile(QStringLiteral("/nonexistent/picture.png")));
    EXPECT_FALSE(b.LoadFromResourceName(QStringLiteral("no-such-resource")));
    EXPECT_EQ(b.Width(), 3);
}

TEST(Bitmap, CopiesDoNotShareTheirPixels)
{
    TBitmap a(3, 3);
    TBitmap copy = a;
    a.Canvas().SetPixel(1, 1, R);
    EXPECT_EQ(copy.Canvas().GetPixel(1, 1), W);
}
