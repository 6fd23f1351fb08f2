#include "KestuDesign/Components/KestuAboutView.h"
#include "KitCompositeSupport.h"

#include <QLabel>

using namespace kestu;

namespace {
// Sets the host's Info values for one test and takes them away afterwards.
class AboutView : public CompositeTest {
protected:
    void TearDown() override { setVersion(QString(), QVariant()); }
    static void setVersion(const QString& version, const QVariant& build)
    {
        QCoreApplication::setApplicationVersion(version);
        qApp->setProperty("buildNumber", build);
    }
    static QLabel* label(const QWidget& view, const char* name) { return view.findChild<QLabel*>(QLatin1String(name)); }
};
} // namespace

// A build number that is not a string counts as missing; placeholder markers in a
// version are shown as they are.
TEST_F(AboutView, VersionLineComesFromTheHostOrFallsBack)
{
    const struct {
        QString version;
        QVariant build;
        const char* line;
    } cases[] = {
        { QString(), QVariant(), "Version 1.0.0 (1)" },
        { QStringLiteral("2.4.1"), QStringLiteral("311"), "Version 2.4.1 (311)" },
        { QStringLiteral("2.4.1"), QByteArray("42"), "Version 2.4.1 (1)" },
        { QStringLiteral("%2-beta"), QStringLiteral("7"), "Version %2-beta (7)" },
    };
    for (const auto& c : cases) {
        setVersion(c.version, c.build);
        EXPECT_EQ(KestuAboutView::versionLine(), QLatin1String(c.line));
    }
}

// The version is read when the page is shown, not when built; the name is plain text.
TEST_F(AboutView, PageReadsTheVersionWhenShownAndKeepsTextsVerbatim)
{
    KestuAboutView view(QStringLiteral("<i>Tremlor</i>"), QStringLiteral("Keeps & wakes"), std::nullopt);
    setVersion(QStringLiteral("3.0"), QStringLiteral("9"));
    view.resize(400, 560);
    view.show();
    EXPECT_EQ(label(view, "about-version")->text(), QStringLiteral("Version 3.0 (9)"));
    EXPECT_EQ(label(view, "about-name")->textFormat(), Qt::PlainText);
}
