#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QWidget>

class QLineEdit;

namespace kestu {

class KestuClearButton;

// The settings-style search box: a magnifying glass, a plain text input (12 points, no focus
// of its own; unfocused, a text too long for it shows its start and "…"; reached by Tab, caret
// at the end and nothing selected) and a clear button shown at once while there is text, on a
// 4-point rounded surfaceTertiary background. Every change of the input's text that the box did
// not make reaches the binding, typed or set by an assistive tool. Pressing clear empties the
// text and leaves the keyboard in the input. While the input holds the keyboard, the kit's focus
// ring goes round the whole box.
class KestuSettingsSearchField final : public QWidget {
    Q_OBJECT

public:
    KestuSettingsSearchField(KestuBinding<QString> text, const QString& placeholder, QWidget* parent = nullptr);

    void refresh();
    QLineEdit* lineEdit() const { return m_edit; }
    KestuClearButton* clearButton() const { return m_clear; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyColors();
    void showClear(bool shown);

    KestuBinding<QString> m_text;
    class Glass;
    class Edit;
    Glass* m_glass;
    QLineEdit* m_edit;
    KestuClearButton* m_clear;
    bool m_ownChange = false;
};

} // namespace kestu
