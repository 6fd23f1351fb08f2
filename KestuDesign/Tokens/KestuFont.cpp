#include "KestuDesign/Tokens/KestuFont.h"

#include "KestuDesign/Resources/KestuFontRegistry.h"

#include <QFontDatabase>

#include <optional>

namespace kestu {

namespace {
// The custom typeface at each of its sizes, shared by both families of factories.
struct Face {
    const char* name;
    int pixelSize;
    QFont::Weight weight;
};
constexpr Face displayLargeFace { "Satoshi-Black", 28, QFont::Black };
constexpr Face displayFace { "Satoshi-Bold", 22, QFont::Bold };
constexpr Face titleFace { "Satoshi-Bold", 18, QFont::Bold };
constexpr Face subtitleFace { "Satoshi-Medium", 15, QFont::Medium };

std::optional<QFont> registered(const Face& face)
{
    Kestu::registerFonts();
    return KestuFontRegistry::shared().face(QLatin1String(face.name), face.pixelSize);
}

QFont customFace(const Face& face)
{
    if (auto font = registered(face))
        return *font;
    // Qt picks its fallback for an unknown family; keep the face's weight.
    QFont font { QString::fromLatin1(face.name) };
    font.setWeight(face.weight);
    font.setPixelSize(face.pixelSize);
    return font;
}

QFont faceOrSystem(const Face& face)
{
    if (auto font = registered(face))
        return *font;
    return systemFont(face.pixelSize, face.weight);
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
    return customFace(displayLargeFace);
}
QFont KestuFont::display()
{
    return customFace(displayFace);
}
QFont KestuFont::title()
{
    return customFace(titleFace);
}
QFont KestuFont::subtitle()
{
    return customFace(subtitleFace);
}
QFont KestuFont::nsDisplayLarge()
{
    return faceOrSystem(displayLargeFace);
}
QFont KestuFont::nsDisplay()
{
    return faceOrSystem(displayFace);
}
QFont KestuFont::nsTitle()
{
    return faceOrSystem(titleFace);
}
QFont KestuFont::nsSubtitle()
{
    return faceOrSystem(subtitleFace);
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
