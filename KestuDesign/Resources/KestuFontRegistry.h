#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <mutex>
#include <optional>

namespace kestu {

// Registers the kit's four faces for this process, once. The bundle lookup and the font
// loader are handed in so tests can count and fake them; shared() uses the real ones.
class KestuFontRegistry final {
public:
    // Returns the bundle folder (the real one stops the process when there is none).
    using BundleLocator = std::function<QString()>;
    // Registers one file; returns the families it added (empty when it failed).
    using FontLoader = std::function<QStringList(const QString& file)>;

    KestuFontRegistry(BundleLocator locator, FontLoader loader);
    KestuFontRegistry(const KestuFontRegistry&) = delete;
    KestuFontRegistry& operator=(const KestuFontRegistry&) = delete;

    // "Satoshi-Regular", "Satoshi-Medium", "Satoshi-Bold", "Satoshi-Black", in this order.
    static const QStringList& faceNames();
    static KestuFontRegistry& shared();

    // Runs the registration the first time only; the flag is set before any file is tried, so
    // a failed registration is never retried. Missing files are skipped silently.
    void registerAll();
    bool isRegistered() const;
    // The registered face as a font of `pixelSize`, or nothing when it did not register.
    std::optional<QFont> face(const QString& faceName, int pixelSize) const;

private:
    struct Face {
        QString family;
        QFont::Weight weight;
    };

    BundleLocator m_locator;
    FontLoader m_loader;
    std::once_flag m_once;
    bool m_registered = false;
    QHash<QString, Face> m_faces;
};

// The kit's entry point for its fonts, called once by a host before it draws: `Kestu::registerFonts()`.
namespace Kestu {
// Registers the kit's fonts for this process if that has not been done yet.
void registerFonts();
} // namespace Kestu

} // namespace kestu
