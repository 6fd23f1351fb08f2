#pragma once

#include "KestuDesign/Utilities/KestuBinding.h"

#include <QWidget>

class QLineEdit;

namespace kestu {

class KestuClearButton;

// The settings-style search box: a magnifying glass, a plain text input (12 points, no focus
// of its own; unfocused, a text too long for it shows its start and "…") and a clear button
// shown at once while there is text, on a 4-point rounded surfaceTertiary background.
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

private:
    void applyColors();

    KestuBinding<QString> m_text;
    class Glass;
    class Edit;
    Glass* m_glass;
    QLineEdit* m_edit;
    KestuClearButton* m_clear;
};

} // namespace kestu
