#include "KestuDesign/Tokens/KestuFont.h"

#include "KestuDesign/Resources/KestuFontRegistry.h"

#include <QFontDatabase>

namespace kestu {

namespace {
QFont customFace(const char* face, int pixelSize, QFont::Weight weightIfMissing)
{
    Kestu::registerFonts();
    if (auto font = KestuFontRegistry::shared().face(QLatin1String(face), pixelSize))
        return *font;
    // Qt picks its fallback for an unknown family; keep the face's weight.
    QFont font { QString::fromLatin1(face) };
    font.setWeight(weightIfMissing);
    font.setPixelSize(pixelSize);
    return font;
}

QFont faceOrSystem(const char* face, int pixelSize, QFont::Weight weight)
{
    Kestu::registerFonts();
    if (auto font = KestuFontRegistry::shared().face(QLatin1String(face), pixelSize))
        return *font;
    return systemFont(pixelSize, weight);
}
} // namespace

QFont systemFont(int pixelSize, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont monospacedSystemFont(int pixelSize, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont KestuFont::displayLarge()
{
    return customFace("Satoshi-Black", 28, QFont::Black);
}
QFont KestuFont::display()
{
    return customFace("Satoshi-Bold", 22, QFont::Bold);
}
QFont KestuFont::title()
{
    return customFace("Satoshi-Bold", 18, QFont::Bold);
}
QFont KestuFont::subtitle()
{
    return customFace("Satoshi-Medium", 15, QFont::Medium);
}
QFont KestuFont::nsDisplayLarge()
{
    return faceOrSystem("Satoshi-Black", 28, QFont::Black);
}
QFont KestuFont::nsDisplay()
{
    return faceOrSystem("Satoshi-Bold", 22, QFont::Bold);
}
QFont KestuFont::nsTitle()
{
    return faceOrSystem("Satoshi-Bold", 18, QFont::Bold);
}
QFont KestuFont::nsSubtitle()
{
    return faceOrSystem("Satoshi-Medium", 15, QFont::Medium);
}

namespace Font {
const QFont& displayLarge()
{
    static const QFont f = KestuFont::displayLarge();
    return f;
}
const QFont& display()
{
    static const QFont f = KestuFont::display();
    return f;
}
const QFont& title()
{
    static const QFont f = KestuFont::title();
    return f;
}
const QFont& subtitle()
{
    static const QFont f = KestuFont::subtitle();
    return f;
}
const QFont& headline()
{
    static const QFont f = systemFont(15, QFont::DemiBold);
    return f;
}
const QFont& body()
{
    static const QFont f = systemFont(13);
    return f;
}
const QFont& callout()
{
    static const QFont f = systemFont(12, QFont::Medium);
    return f;
}
const QFont& caption()
{
    static const QFont f = systemFont(11);
    return f;
}
const QFont& tag()
{
    static const QFont f = systemFont(10, QFont::Medium);
    return f;
}
const QFont& mono()
{
    static const QFont f = monospacedSystemFont(12, QFont::Medium);
    return f;
}
const QFont& monoLarge()
{
    static const QFont f = monospacedSystemFont(22, QFont::Light);
    return f;
}
} // namespace Font

} // namespace kestu
