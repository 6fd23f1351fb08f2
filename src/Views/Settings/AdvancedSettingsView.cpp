#include "Views/Settings/AdvancedSettingsView.h"

#include "Helpers/AccessibilityHelper.h"
#include "KestuDesign/Resources/KestuSymbols.h"
#include "KestuDesign/Tokens/KestuColor.h"
#include "KestuDesign/Tokens/KestuFont.h"
#include "KestuDesign/Tokens/KestuMetrics.h"
#include "Models/TremlorSettings.h"
#include "Views/Settings/BarButton.h"
#include "Views/Settings/SettingsContext.h"
#include "Views/Shared/FormButton.h"
#include "Views/Shared/GroupedForm.h"
#include "Views/Shared/KeyboardReturn.h"
#include "Views/Shared/TokenLabel.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tremlor {

namespace {

// The reset alert's message wraps at about this many characters.
constexpr int readableMeasure = 45;

// Buttons at the leading edge of a form row, the rest of the row left empty.
QWidget* leadingRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(int(kestu::Space::space12));
    for (QWidget* button : buttons)
        layout->addWidget(button);
    layout->addStretch(1);
    return row;
}

// "Granted" with a green check, or "Not Granted" with a red cross, in the callout style.
class PermissionStatus final : public QWidget {
public:
    explicit PermissionStatus(QWidget* parent)
        : QWidget(parent)
        , m_text(new TokenLabel(QString(), kestu::Font::callout(), kestu::Color::danger(), this))
    {
        setObjectName(QStringLiteral("accessibility-status"));
        m_text->setObjectName(QStringLiteral("accessibility-status-text"));
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(kestu::Font::callout().pixelSize() + int(kestu::Space::space4) + 2, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(m_text);
        setGranted(false);
    }

    void setGranted(bool granted)
    {
        m_granted = granted;
        m_text->setText(granted ? tr("Granted") : tr("Not Granted"));
        m_text->setColorToken(color());
        setAccessibleName(m_text->text());
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const int side = kestu::Font::callout().pixelSize() + 2;
        kestu::KestuSymbols::paint(p, QRectF(0, 0, side, height()),
            m_granted ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("xmark.circle.fill"), side,
            color().resolve(this));
    }

private:
    const kestu::KestuColor& color() const { return m_granted ? kestu::Color::success() : kestu::Color::danger(); }

    TokenLabel* m_text;
    bool m_granted = false;
};

} // namespace

AdvancedSettingsView::AdvancedSettingsView(
    SettingsContext& context, std::chrono::milliseconds pollInterval, QWidget* parent)
    : QWidget(parent)
    , m_settings(context.settings)
    , m_accessibility(context.accessibility)
    , m_poll(new QTimer(this))
    , m_status(new PermissionStatus(nullptr))
{
    setObjectName(QStringLiteral("advanced-settings"));
    setAccessibleName(tr("Advanced"));
    m_poll->setObjectName(QStringLiteral("accessibility-poll"));
    m_poll->setInterval(pollInterval);
    connect(m_poll, &QTimer::timeout, this, &AdvancedSettingsView::checkAccessibility);

    auto* form = new GroupedForm(this);
    GroupedFormSection* access = form->addSection(tr("Accessibility"), QStringLiteral("advanced-accessibility"));
    access->addRow(tr("Accessibility Permission"), m_status);
    auto* open = new FormButton(tr("Open System Settings"));
    open->setObjectName(QStringLiteral("open-system-settings"));
    connect(open, &QAbstractButton::clicked, this, [] { AccessibilityHelper::openAccessibilitySettings(); });
    access->addRow(leadingRow({ open }));

    GroupedFormSection* dataSection = form->addSection(tr("Data"), QStringLiteral("advanced-data"));
    m_reset = new BarButton(
        BarButton::Style::destructive, tr("Reset to Defaults"), std::nullopt, QStringLiteral("reset-to-defaults"));
    dataSection->addRow(leadingRow({ m_reset }));
    m_export = new BarButton(BarButton::Style::bordered, tr("Export"), QStringLiteral("square.and.arrow.up"),
        QStringLiteral("export-settings"));
    m_import = new BarButton(BarButton::Style::bordered, tr("Import"), QStringLiteral("square.and.arrow.down"),
        QStringLiteral("import-settings"));
    dataSection->addRow(leadingRow({ m_export, m_import }));

    connect(m_reset, &QAbstractButton::clicked, this, &AdvancedSettingsView::confirmReset);
    connect(m_export, &QAbstractButton::clicked, this, &AdvancedSettingsView::exportSettings);
    connect(m_import, &QAbstractButton::clicked, this, &AdvancedSettingsView::importSettings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
}

void AdvancedSettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    checkAccessibility();
    m_poll->start();
}

void AdvancedSettingsView::hideEvent(QHideEvent* event)
{
    m_poll->stop();
    QWidget::hideEvent(event);
}

void AdvancedSettingsView::checkAccessibility()
{
    m_granted = m_accessibility.isTrusted();
    static_cast<PermissionStatus*>(m_status)->setGranted(m_granted);
}

void AdvancedSettingsView::confirmReset()
{
    auto* alert = new QDialog(this);
    alert->setObjectName(QStringLiteral("reset-alert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowTitle(tr("Reset to Defaults"));
    auto* title = new QLabel(alert->windowTitle(), alert);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* message
        = new QLabel(tr("This will reset all settings to their default values. This action cannot be undone."), alert);
    message->setObjectName(QStringLiteral("reset-message"));
    message->setWordWrap(true);
    // The window manager draws the title beside the frame's buttons, each about a line high: the
    // alert keeps room for them, and for the message at a readable measure.
    const QFontMetrics titleMetrics(titleFont);
    message->setFixedWidth(std::max(titleMetrics.horizontalAdvance(alert->windowTitle()) + 6 * titleMetrics.height(),
        message->fontMetrics().averageCharWidth() * readableMeasure));

    auto* buttons = new QDialogButtonBox(alert);
    QPushButton* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("reset-cancel"));
    QPushButton* confirm = buttons->addButton(tr("Reset"), QDialogButtonBox::DestructiveRole);
    confirm->setObjectName(QStringLiteral("reset-confirm"));
    // Cancel is the default and has the keyboard. Qt makes the box a stand-in for its first
    // button (Reset, by the desktop's order), which the box would then report focused as well.
    cancel->setDefault(true);
    buttons->setFocusProxy(nullptr);
    cancel->setFocus();
    connect(buttons, &QDialogButtonBox::rejected, alert, &QDialog::reject);
    connect(confirm, &QAbstractButton::clicked, alert, [this, alert] {
        m_settings.resetToDefaults();
        alert->accept();
    });

    auto* layout = new QVBoxLayout(alert);
    layout->addWidget(title);
    layout->addWidget(message);
    layout->addSpacing(int(kestu::Space::space8));
    layout->addWidget(buttons);
    // A fixed size: the frame offers no maximise.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    returnKeyboardWhenClosed(alert, m_reset);
    alert->open();
}

void AdvancedSettingsView::exportSettings()
{
    // A record that cannot be encoded opens no dialog.
    m_exportDocument = TremlorSettingsDocument::fromSettings(m_settings);
    if (!m_exportDocument)
        return;
    auto* dialog = new QFileDialog(this, tr("Export Settings"));
    dialog->setObjectName(QStringLiteral("export-dialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(TremlorSettingsDocument::nameFilter());
    dialog->setDefaultSuffix(QStringLiteral("json"));
    // In the user's home, not in whatever folder the program was started from.
    dialog->setDirectory(QDir::homePath());
    dialog->selectFile(QDir::home().filePath(TremlorSettingsDocument::defaultFileName()));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        if (m_exportDocument)
            m_exportDocument->write(path);
    });
    connect(dialog, &QDialog::finished, this, [this] { m_exportDocument.reset(); });
    returnKeyboardWhenClosed(dialog, m_export);
    dialog->open();
}

void AdvancedSettingsView::importSettings()
{
    auto* dialog = new QFileDialog(this, tr("Import Settings"));
    dialog->setObjectName(QStringLiteral("import-dialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(TremlorSettingsDocument::nameFilter());
    dialog->setDirectory(QDir::homePath());
    connect(dialog, &QFileDialog::fileSelected, this,
        [this](const QString& path) { TremlorSettingsDocument::importFrom(path, m_settings); });
    returnKeyboardWhenClosed(dialog, m_import);
    dialog->open();
}

} // namespace tremlor
