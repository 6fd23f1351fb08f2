#pragma once

#include <QPointer>
#include <QWidget>

namespace kestu {

// A quiet rounded surface (8-point corners, surfaceSecondary) around any content, with an
// optional 0.5-point border laid inside its edge. The content is cut off at the rounded
// corners. The card adds no padding: callers pad what they pass in.
class KestuCard final : public QWidget {
    Q_OBJECT

public:
    KestuCard(bool showBorder, QWidget* content, QWidget* parent = nullptr);

    bool showBorder() const { return m_showBorder; }
    QWidget* content() const { return m_content; }
    // The rounded shape the card fills and clips to, in its own coordinates.
    QPainterPath shape() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class BorderOverlay;

    bool m_showBorder;
    QPointer<QWidget> m_content;
    BorderOverlay* m_border = nullptr;
};

} // namespace kestu
