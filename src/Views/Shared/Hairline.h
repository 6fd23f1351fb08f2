#pragma once

#include <QWidget>

namespace tremlor {

// A one-point divider in the kit's border colour, across the width it is given.
class Hairline final : public QWidget {
    Q_OBJECT

public:
    explicit Hairline(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tremlor
