#pragma once

#include <QUrl>
#include <QWidget>

namespace tremlor {

struct SettingsContext;

// The application presented: icon, name, version and build, what it does and who makes it, on
// a slowly swinging warm gradient; then two link tiles (feedback by e-mail, the maker's site) and the copyright line.
// Changes nothing.
class AboutSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit AboutSettingsView(SettingsContext& context, QWidget* parent = nullptr);

    static QUrl feedbackUrl();
    static QUrl websiteUrl();
    // The maker's one line under its name.
    static QString makerTagline();
    // "Copyright © <year> <maker>. All rights reserved.", the year in plain digits.
    static QString copyrightLine(int year);
};

} // namespace tremlor
