#pragma once

#include <QWidget>

namespace kestu {

// The centred symbol, title and message that stand in for a list with nothing to show; it
// takes the full width of its container, with 16 points above and below.
class KestuEmptyState final : public QWidget {
    Q_OBJECT

public:
    // The symbol's size and the strength of the secondary colour in the symbol and the message;
    // the defaults are the kit's own quiet look.
    struct Look {
        int symbolSize = 24;
        qreal symbolOpacity = 0.5;
        qreal messageOpacity = 0.7;
        // The settings lists title their empty state in the headline font and primary colour.
        bool headlineTitle = false;
    };

    KestuEmptyState(const QString& icon, const QString& title, const QString& message, QWidget* parent = nullptr);
    KestuEmptyState(
        const QString& icon, const QString& title, const QString& message, Look look, QWidget* parent = nullptr);

    QString icon() const { return m_icon; }
    QString title() const { return m_title; }
    QString message() const { return m_message; }
    const Look& look() const { return m_look; }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QFont& titleFont() const;
    int messageHeight(int width) const;

    QString m_icon;
    QString m_title;
    QString m_message;
    Look m_look;
};

} // namespace kestu
