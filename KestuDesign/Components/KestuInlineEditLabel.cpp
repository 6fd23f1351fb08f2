#include "KestuDesign/Components/KestuInlineEditLabel.h"

#include "KestuDesign/Components/KestuFocusRing.h"
#include "KestuDesign/Components/KestuTextField.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuAnimation.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "KestuDesign/Utilities/KestuReducedMotion.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QVariantAnimation>

#include <algorithm>

namespace kestu {

namespace {
QString localized(const char* text)
{
    return QCoreApplication::translate("KestuInlineEditLabel", text);
}

bool isNameSpace(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}
} // namespace

// The text on one line, cut with an ellipsis when it does not fit; never read as markup.
class KestuInlineEditLabel::Label final : public QWidget {
public:
    explicit Label(QWidget* parent)
        : QWidget(parent)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    void setText(const QString& value)
    {
        text = value;
        updateGeometry();
        update();
    }
    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return QSize(metrics.horizontalAdvance(text) + 1, metrics.height());
    }
    QSize minimumSizeHint() const override { return QSize(0, QFontMetrics(font()).height()); }
    QString text;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QString shown = QFontMetrics(font()).elidedText(text, Qt::ElideRight, width());
        const Qt::Alignment leading = QStyle::visualAlignment(layoutDirection(), Qt::AlignLeft);
        painter.drawText(rect(), int(leading | Qt::AlignVCenter | Qt::TextSingleLine), shown);
    }
};

// The borderless pencil: the "pencil" symbol at 11 points in the secondary colour, 22 x 22,
// drawn at its own opacity (a graphics effect could not be drawn inside one of the host's).
// Tab reaches it while it shows, so the keyboard alone can rename.
class KestuInlineEditLabel::Pencil final : public QAbstractButton {
public:
    explicit Pencil(QWidget* parent)
        : QAbstractButton(parent)
    {
        setObjectName(QStringLiteral("inline-edit-pencil"));
        setFixedSize(pencilSide, pencilSide);
        setFocusPolicy(Qt::TabFocus);
    }
    void setOpacity(double value)
    {
        opacity = std::clamp(value, 0.0, 1.0);
        update();
    }
    double opacity = 1.0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setOpacity(opacity);
        const QColor secondary = withOpacity(palette().color(QPalette::WindowText), isDown() ? 0.8 : 0.5);
        KestuSymbols::paint(painter, rect(), QStringLiteral("pencil"), 11, secondary);
        painter.setOpacity(1);
        if (showsFocusRing(this))
            paintFocusRing(painter, this, QRectF(rect()), Radius::small);
    }
};

KestuInlineEditLabel::KestuInlineEditLabel(KestuBinding<QString> text, QFont font, PencilVisibility pencilVisibility,
    bool isHovering, std::function<void()> onCommit, QWidget* parent)
    : QWidget(parent)
    , m_text(std::move(text))
    , m_font(std::move(font))
    , m_pencilVisibility(pencilVisibility)
    , m_hovering(isHovering)
    , m_onCommit(std::move(onCommit))
    , m_display(new QWidget(this))
    , m_label(new Label(m_display))
    , m_pencil(new Pencil(m_display))
    , m_pencilFade(new QVariantAnimation(this))
{
    m_label->setFont(m_font);
    auto* face = new QHBoxLayout(m_display);
    face->setContentsMargins(0, 0, 0, 0);
    face->setSpacing(4);
    face->addWidget(m_label, 0, Qt::AlignVCenter);
    face->addWidget(m_pencil, 0, Qt::AlignVCenter);
    face->addStretch(1);

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(m_display);

    connect(m_pencil, &QAbstractButton::clicked, this, &KestuInlineEditLabel::beginEdit);
    m_pencilFade->setObjectName(QStringLiteral("pencil-fade"));
    connect(m_pencilFade, &QVariantAnimation::valueChanged, this,
        [this](const QVariant& value) { m_pencil->setOpacity(value.toDouble()); });
    connect(m_pencilFade, &QVariantAnimation::finished, this, [this] {
        if (m_pencilShown == false)
            m_pencil->hide();
    });
    refresh();
}

QAbstractButton* KestuInlineEditLabel::pencil() const
{
    return m_pencil;
}

double KestuInlineEditLabel::pencilOpacity() const
{
    return m_pencil->opacity;
}

QString KestuInlineEditLabel::trimmedName(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isNameSpace(text.at(begin)))
        ++begin;
    while (end > begin && isNameSpace(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString KestuInlineEditLabel::displayedText() const
{
    return m_label->text;
}

void KestuInlineEditLabel::setHovering(bool hovering)
{
    m_hovering = hovering;
    refreshPencil(true);
}

void KestuInlineEditLabel::refresh()
{
    m_label->setText(m_text.get());
    refreshPencil();
}

void KestuInlineEditLabel::refreshPencil(bool animated)
{
    m_pencil->setAccessibleName(localized("Rename %1").arg(m_label->text));
    const bool shown = m_pencilVisibility == PencilVisibility::always || m_hovering;
    if (m_pencilShown == shown)
        return;
    m_pencilShown = shown;
    m_pencilFade->stop();
    const double target = shown ? 1.0 : 0.0;
    if (!animated || prefersReducedMotion()) {
        m_pencil->setOpacity(target);
        m_pencil->setVisible(shown);
        return;
    }
    // A fade that turns back starts from where the pencil is drawn now.
    m_pencil->show();
    m_pencilFade->setStartValue(m_pencil->opacity);
    m_pencilFade->setEndValue(target);
    Animation::fadeQuick().apply(m_pencilFade);
    m_pencilFade->start();
}

void KestuInlineEditLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_editing && event->button() == Qt::LeftButton) {
        beginEdit();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void KestuInlineEditLabel::beginEdit()
{
    if (m_editing)
        return;
    *m_editBuffer = m_text.get();
    m_editing = true;
    auto* editor = new KestuTextField(localized("Name"), KestuBinding<QString>::of(m_editBuffer), m_font, Qt::AlignLeft,
        /*bordered*/ true, /*numericOnly*/ false, /*autoFocus*/ true, {}, {}, this);
    // The callbacks name their editor, so a late call from a retired one changes nothing.
    KestuTextField::Description description = editor->description();
    description.onCommit = [this, editor] { commitEdit(editor); };
    description.onCancel = [this, editor] { cancelEdit(editor); };
    editor->setDescription(std::move(description));
    editor->setMinimumWidth(editorMinimumWidth);
    m_editor = editor;
    layout()->addWidget(editor);
    // Tab and Backtab leave the editor for the label's neighbours, as from the pencil.
    setTabOrder(m_pencil, editor);
    editor->show();
    // The pencil pressed by the keyboard hands it straight to the editor, before it hides.
    if (m_display->isAncestorOf(QApplication::focusWidget()))
        editor->setFocus(Qt::OtherFocusReason);
    m_display->hide();
}

void KestuInlineEditLabel::commitEdit(const KestuTextField* from)
{
    if (!m_editing || from != m_editor)
        return;
    const QString name = trimmedName(*m_editBuffer);
    if (!name.isEmpty())
        m_text.set(name);
    closeEditor();
    refresh();
    if (const auto onCommit = m_onCommit)
        onCommit();
}

void KestuInlineEditLabel::cancelEdit(const KestuTextField* from)
{
    if (!m_editing || from != m_editor)
        return;
    closeEditor();
}

void KestuInlineEditLabel::closeEditor()
{
    m_editing = false;
    KestuTextField* editor = m_editor;
    m_editor = nullptr;
    m_display->show();
    if (editor) {
        // An edit ended by Return or Escape leaves the keyboard on the label, its pencil when
        // shown; one ended by the keyboard moving elsewhere leaves it there.
        if (editor->hasFocus()) {
            if (m_pencilShown.value_or(false))
                m_pencil->setFocus(Qt::OtherFocusReason);
            else
                setFocus(Qt::OtherFocusReason);
        }
        // Still inside the editor's own key or focus handler: retire it later.
        editor->hide();
        editor->deleteLater();
    }
}

} // namespace kestu
