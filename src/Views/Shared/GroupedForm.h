#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"
#include "Views/Shared/FocusScrollArea.h"

#include <QList>
#include <QWidget>

class QAbstractScrollArea;
class QLabel;
class QVBoxLayout;

namespace kestu {
class KestuToggleStyle;
}

namespace tremlor {

class GroupedFormSection;

// Gives a scroll area the forms' slim scroll bars (a rounded handle on a clear track) in place
// of the style's wide ones.
void applySlimScrollBars(QAbstractScrollArea* area);

// The settings sections' grouped form: plain-text headers over rounded cards of rows (a label
// with its control at the trailing edge, or a control spanning the row), with captions in the
// caption font and secondary colour. Scrolls when taller than its pane.
class GroupedForm final : public FocusScrollArea {
    Q_OBJECT

public:
    explicit GroupedForm(QWidget* parent = nullptr);

    // A new card under `header` (no header when empty), after the cards already there.
    GroupedFormSection* addSection(const QString& header, const QString& objectName = {});
    QList<GroupedFormSection*> sections() const { return m_sections; }
    // Space around the cards (the window's standard margin by default).
    void setOuterMargins(int left, int top, int right, int bottom);
    // Space between one card and the next header.
    void setSectionSpacing(int spacing) { m_sectionSpacing = spacing; }
    // Puts any widget between the cards (a button row, a note).
    void addWidget(QWidget* widget);

private:
    QWidget* m_content;
    QVBoxLayout* m_layout;
    QList<GroupedFormSection*> m_sections;
    int m_sectionSpacing;
};

// One card of a grouped form.
class GroupedFormSection final : public QWidget {
    Q_OBJECT

public:
    explicit GroupedFormSection(QWidget* parent = nullptr);

    // A row of `label` (body text) and `control` at the trailing edge. Returns the row.
    QWidget* addRow(const QString& label, QWidget* control);
    // A row that `content` fills (a toggle row, a slider row, a list).
    QWidget* addRow(QWidget* content);
    // A row with the kit's switch, named `objectName` (its automation identifier).
    kestu::KestuToggleStyle* addToggle(const QString& label, const QString& objectName, kestu::KestuBinding<bool> isOn);
    // A caption under the row before it, in the caption font and secondary colour.
    QLabel* addCaption(const QString& text, const QString& objectName = {});
    // Shows or hides a row (or caption) and redraws the separators.
    void setRowVisible(QWidget* row, bool visible);
    int rowCount() const { return static_cast<int>(m_rows.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Row {
        QWidget* widget;
        bool caption;
    };
    QWidget* appendRow(QWidget* row, bool caption);

    QVBoxLayout* m_layout;
    QList<Row> m_rows;
};

} // namespace tremlor
