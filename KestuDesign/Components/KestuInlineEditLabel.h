#pragma once

#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Utilities/KestuBinding.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QVariantAnimation;

namespace kestu {

// Rename in place: a one-line label that turns into a text field on a double-click or a click
// on its pencil (which Tab reaches while it shows). Committing (Return, or the keyboard moving
// elsewhere, typed in or not) writes the text without surrounding spaces and tabs through the
// binding (an empty result keeps the old text) and then runs onCommit; cancelling (Escape) only
// leaves the editor. After Return or Escape the keyboard stays on the label, its pencil when
// shown.
class KestuInlineEditLabel final : public QWidget {
    Q_OBJECT
public:
    enum class PencilVisibility { always, onHover };

    KestuInlineEditLabel(KestuBinding<QString> text, QFont font, PencilVisibility pencilVisibility, bool isHovering,
        std::function<void()> onCommit, QWidget* parent = nullptr);

    // The host tracks the pointer over its row and hands the result in.
    void setHovering(bool hovering);
    bool isHovering() const { return m_hovering; }
    // Shows the binding's current text (after the host changed it elsewhere).
    void refresh();

    bool isEditing() const { return m_editing; }
    QString editBuffer() const { return *m_editBuffer; }
    QString displayedText() const;
    QAbstractButton* pencil() const;
    // How strongly the pencil is drawn: it fades in and out as it is shown and hidden.
    double pencilOpacity() const;
    KestuTextField* editor() const { return m_editor; }

    // Spaces (every Unicode space separator) and tabs off both ends; line breaks stay.
    static QString trimmedName(const QString& text);

    static constexpr int pencilSide = 22;
    static constexpr int editorMinimumWidth = 60;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void beginEdit();
    void commitEdit(const KestuTextField* from);
    void cancelEdit(const KestuTextField* from);
    void closeEditor();
    // Shows or hides the pencil, with a fade when `animated` and motion is allowed.
    void refreshPencil(bool animated = false);

    class Label;
    class Pencil;

    KestuBinding<QString> m_text;
    QFont m_font;
    PencilVisibility m_pencilVisibility;
    bool m_hovering;
    std::function<void()> m_onCommit;
    bool m_editing = false;
    std::shared_ptr<QString> m_editBuffer = std::make_shared<QString>();

    QWidget* m_display;
    Label* m_label;
    Pencil* m_pencil;
    QVariantAnimation* m_pencilFade;
    std::optional<bool> m_pencilShown;
    QPointer<KestuTextField> m_editor;
};

} // namespace kestu
