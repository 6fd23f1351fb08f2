#include "Views/Shared/ViewSymbols.h"

#include "KestuDesign/Resources/KestuSymbols.h"
#include "Models/Enumerations.h"
#include "Views/Settings/MouseSettingsView.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace tremlor;

namespace {

// Opaque pixels of the symbol drawn at `size`.
int inkedPixels(const QString& name, int size)
{
    const QImage image = kestu::KestuSymbols::pixmap(name, size, Qt::black, 1).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

} // namespace

// Each name the views draw has a drawing of its own: none is missing, blank or a filled square.
TEST(ViewSymbols, EveryNameResolvesToAVisibleSymbol)
{
    ViewSymbols::registerAll();
    const QStringList& names = ViewSymbols::names();
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "a name is listed twice";
    for (const QString& name : names) {
        ASSERT_FALSE(kestu::KestuSymbols::pixmap(name, 24, Qt::black, 1).isNull()) << name.toStdString();
        const int ink = inkedPixels(name, 24);
        EXPECT_GT(ink, 24) << name.toStdString() << " draws nothing";
        EXPECT_LT(ink, 24 * 24 * 9 / 10) << name.toStdString() << " fills its whole square";
    }
    // Names the views take from the models, and those the panel's sections draw.
    QStringList used;
    for (const SettingsSection section : allCases<SettingsSection>())
        used << icon(section);
    for (const MovementPattern pattern : allCases<MovementPattern>())
        used << MouseSettingsView::icon(pattern);
    used << QStringLiteral("checkmark.square.fill") << QStringLiteral("square") << QStringLiteral("chevron.right")
         << QStringLiteral("chevron.up.chevron.down") << QStringLiteral("person.crop.rectangle.stack")
         << QStringLiteral("square.grid.2x2") << QStringLiteral("arrow.right.arrow.left") << QStringLiteral("shuffle");
    for (const QString& name : used)
        EXPECT_TRUE(names.contains(name)) << name.toStdString() << " is drawn but not listed";
}
