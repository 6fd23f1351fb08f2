#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <optional>

namespace kestu {

// A ready-made About page: icon, name, "Version x (y)" from the host application's Info
// values, a description and the kit maker's credit with a link, centred in its space.
class KestuAboutView final : public QWidget {
    Q_OBJECT
public:
    KestuAboutView(QString appName, QString appDescription, std::optional<QIcon> appIcon, QWidget* parent = nullptr);

    // The host's version (QCoreApplication::applicationVersion()) and build number (the
    // application object's string property "buildNumber").
    static QString appVersion();
    static QString buildNumber();
    static QString versionLine();

    // The kit maker's credit.
    static QString makerName();
    static QString makerDomain();
    static QUrl makerUrl();

    // Widest line of the description, in points.
    static constexpr int descriptionWidth = 300;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void applyColors();

    QString m_appName;
    QString m_appDescription;
    std::optional<QIcon> m_appIcon;
};

} // namespace kestu
