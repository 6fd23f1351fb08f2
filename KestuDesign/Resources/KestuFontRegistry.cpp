#include "KestuDesign/Resources/KestuFontRegistry.h"

#include "KestuDesign/Resources/KestuBundle.h"

#include <QFontDatabase>

namespace kestu {

namespace {
QFont::Weight weightOfFace(const QString& face)
{
    if (face.endsWith(QLatin1String("Black")))
        return QFont::Black;
    if (face.endsWith(QLatin1String("Bold")))
        return QFont::Bold;
    if (face.endsWith(QLatin1String("Medium")))
        return QFont::Medium;
    return QFont::Normal;
}
} // namespace

KestuFontRegistry::KestuFontRegistry(BundleLocator locator, FontLoader loader)
    : m_locator(std::move(locator))
    , m_loader(std::move(loader))
{
}

const QStringList& KestuFontRegistry::faceNames()
{
    static const QStringList names { QStringLiteral("Satoshi-Regular"), QStringLiteral("Satoshi-Medium"),
        QStringLiteral("Satoshi-Bold"), QStringLiteral("Satoshi-Black") };
    return names;
}

KestuFontRegistry& KestuFontRegistry::shared()
{
    static KestuFontRegistry registry([] { return KestuBundle::module(); },
        [](const QString& file) {
            const int id = QFontDatabase::addApplicationFont(file);
            return id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        });
    return registry;
}

void KestuFontRegistry::registerAll()
{
    std::call_once(m_once, [this] {
        m_registered = true;
        const QString bundle = m_locator();
        for (const QString& name : faceNames()) {
            const auto file = KestuBundle::resource(bundle, name, QStringLiteral("otf"));
            if (!file)
                continue;
            const QStringList families = m_loader(*file);
            if (!families.isEmpty())
                m_faces.insert(name, Face { families.first(), weightOfFace(name) });
        }
    });
}

bool KestuFontRegistry::isRegistered() const
{
    return m_registered;
}

std::optional<QFont> KestuFontRegistry::face(const QString& faceName, int pixelSize) const
{
    const auto it = m_faces.constFind(faceName);
    if (it == m_faces.constEnd())
        return std::nullopt;
    QFont font(it->family);
    font.setWeight(it->weight);
    font.setPixelSize(pixelSize);
    return font;
}

namespace Kestu {
void registerFonts()
{
    KestuFontRegistry::shared().registerAll();
}
} // namespace Kestu

} // namespace kestu
