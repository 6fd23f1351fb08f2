#pragma once

#include "Models/AppInfo.h"

#include <QAbstractButton>
#include <QIcon>

#include <optional>

class QVariantAnimation;

namespace tremlor {

class RunningIndicator;

// One application in the panel's list: a checkbox, the application's icon and name, and the
// running dot while it runs. The row only shows what it is told; a change of its checked state
// (a click, Space, an assistive tool's Toggle) is reported through toggled() and the list
// decides. Below every row but the last runs a divider indented by 32.
class CompactAppRow final : public QAbstractButton {
    Q_OBJECT

public:
    explicit CompactAppRow(AppInfo app, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CompactAppRow)

    static constexpr int horizontalPadding = 8;
    static constexpr int verticalPadding = 5;
    static constexpr int spacing = 4;
    static constexpr int checkboxFrame = 16;
    static constexpr int checkboxSize = 12;
    static constexpr int iconSize = 18;
    static constexpr int dividerIndent = 32;

    const AppInfo& app() const { return m_app; }

    bool isSelected() const { return m_selected; }
    // Fades the checkbox to its new look (at once with reduced motion or while hidden).
    void setSelected(bool selected);
    // 0 shows the empty box, 1 the filled check; between while fading.
    double checkPresence() const { return m_presence; }

    bool isAppRunning() const { return m_running; }
    // The running dot shows while `running`; it pulses while `activeTarget` too.
    void setRunning(bool running, bool activeTarget);
    RunningIndicator* runningIndicator() const { return m_indicator; }

    bool showsDivider() const { return m_showsDivider; }
    void setShowsDivider(bool shows);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int contentHeight() const;
    void updateAccessibleName();
    void placeIndicator();

    AppInfo m_app;
    std::optional<QIcon> m_icon; // read at the first paint: reading parses the entry
    bool m_selected = false;
    double m_presence = 0;
    bool m_running = false;
    bool m_showsDivider = false;
    QVariantAnimation* m_fade;
    RunningIndicator* m_indicator;
};

} // namespace tremlor
