#include "PinnedFont.h"

#include <QtCore/QStringList>
#include <QtGui/QFontDatabase>

#include <cstdio>
#include <cstdlib>

namespace nvo::test {

namespace {
QString &Family()
{
    static QString family;
    return family;
}
} // namespace

void LoadPinnedFont()
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(NVO_TEST_FONT));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        std::fprintf(stderr, "cannot load the test font %s\n", NVO_TEST_FONT);
        std::exit(2);
    }
    Family() = families.first();
}

QFont PinnedFont(int pixelSize)
{
    QFont font(Family());
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace nvo::test
