#include "KestuDesign/Components/KestuAboutView.h"
#include "KitCompositeSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>

using namespace kestu;

namespace {
// Sets the host's Info values for one test and takes them away afterwards.
class AboutView : public CompositeTest {
protected:
    void TearDown() override
    {
        QCoreApplication::setApplicationVersion(QString());
        qApp->setProperty("buildNumber", QVariant());
        QApplication::setWindowIcon(QIcon());
        CompositeTest::TearDown();
    }

    static QString textOf(const QWidget& view, const char* name)
    {
        auto* label = view.findChild<QLabel*>(QLatin1String(name));
        return label ? label->text() : QStringLiteral("<missing>");
    }
};

QIcon squareIcon()
{
    QPixmap pixmap(128, 128);
    pixmap.fill(Qt::darkCyan);
    return QIcon(pixmap);
}
} // namespace

TEST_F(AboutView, VersionLineComesFromTheHostOrFallsBack)
{
    EXPECT_EQ(KestuAboutView::versionLine(), QStringLiteral("Version 1.0.0 (1)"));

    QCoreApplication::setApplicationVersion(QStringLiteral("2.4.1"));
    qApp->setProperty("buildNumber", QStringLiteral("311"));
    EXPECT_EQ(KestuAboutView::versionLine(), QStringLiteral("Version 2.4.1 (311)"));

    // A build number that is not a string counts as missing.
    qApp->setProperty("buildNumber", 42);
    EXPECT_EQ(KestuAboutView::buildNumber(), QStringLiteral("1"));
    qApp->setProperty("buildNumber", QByteArray("42"));
    EXPECT_EQ(KestuAboutView::buildNumber(), QStringLiteral("1"));
    // A version holding placeholder markers is shown as it is.
    QCoreApplication::setApplicationVersion(QStringLiteral("%2-beta"));
    qApp->setProperty("buildNumber", QStringLiteral("7"));
    EXPECT_EQ(KestuAboutView::versionLine(), QStringLiteral("Version %2-beta (7)"));
}

TEST_F(AboutView, PageReadsTheVersionWhenShownAndKeepsTextsVerbatim)
{
    KestuAboutView view(QStringLiteral("<i>Tremlor</i>"), QStringLiteral("Keeps & wakes"), std::nullopt);
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0"));
    qApp->setProperty("buildNumber", QStringLiteral("9"));
    view.resize(400, 560);
    view.show();
    EXPECT_EQ(textOf(view, "about-version"), QStringLiteral("Version 3.0 (9)"));
    EXPECT_EQ(textOf(view, "about-name"), QStringLiteral("<i>Tremlor</i>"));
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("about-name"))->textFormat(), Qt::PlainText);
}

TEST_F(AboutView, IconIsGivenOrTheApplicationsOrLeftOut)
{
    {
        KestuAboutView view(QStringLiteral("App"), QString(), std::nullopt);
        EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("about-icon")), nullptr);
    }
    QApplication::setWindowIcon(squareIcon());
    {
        KestuAboutView view(QStringLiteral("App"), QString(), std::nullopt);
        auto* icon = view.findChild<QLabel*>(QStringLiteral("about-icon"));
        ASSERT_NE(icon, nullptr);
        EXPECT_FALSE(icon->pixmap().isNull());
    }
    {
        QPixmap wide(200, 100);
        wide.fill(Qt::red);
        QPixmap small(24, 12);
        small.fill(Qt::red);
        for (const QPixmap& given : { wide, small }) {
            KestuAboutView view(QStringLiteral("App"), QString(), QIcon(given));
            auto* icon = view.findChild<QLabel*>(QStringLiteral("about-icon"));
            ASSERT_NE(icon, nullptr);
            // Fitted to the 96-point frame with its shape kept, small ones grown.
            EXPECT_EQ(icon->pixmap().deviceIndependentSize().toSize(), QSize(96, 48));
        }
    }
}
