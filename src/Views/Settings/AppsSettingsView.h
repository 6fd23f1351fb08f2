#pragma once

#include "Helpers/AppScanning.h"
#include "Models/AppInfo.h"

#include <QWidget>

#include <memory>

namespace tremlor {

struct SettingsContext;
class AppChecklistView;

// The applications a session keeps active, and how it rotates through them. The view has its
// own scanner (never shared with the panel's) and scans when it is built. With `searchTakesKeyboard`,
// the checklist's search takes the keyboard once the view is made.
class AppsSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit AppsSettingsView(SettingsContext& context, QWidget* parent = nullptr, bool searchTakesKeyboard = true);
    ~AppsSettingsView() override;

    AppChecklistView* checklist() const { return m_checklist; }
    const QList<AppInfo>& apps() const { return m_apps; }
    // "Switch every 1 cycle", "Switch every 2 cycles", …
    static QString switchLabel(std::int64_t interval);

private:
    std::unique_ptr<AppScanning> m_scanner;
    QString m_searchText;
    QList<AppInfo> m_apps;
    AppChecklistView* m_checklist = nullptr;
};

} // namespace tremlor
