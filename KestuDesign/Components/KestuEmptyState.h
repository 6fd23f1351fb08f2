#pragma once

#include <QWidget>

namespace kestu {

// The centred symbol, title and message that stand in for a list with nothing to show; it
// takes the full width of its container, with 16 points above and below.
class KestuEmptyState final : public QWidget {
    Q_OBJECT

public:
    KestuEmptyState(const QString& icon, const QString& title, const QString& message, QWidget* parent = nullptr);

    QString icon() const { return m_icon; }
    QString title() const { return m_title; }
    QString message() const { return m_message; }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int messageHeight(int width) const;

    QString m_icon;
    QString m_title;
    QString m_message;
};

} // namespace kestu
