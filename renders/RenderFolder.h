#pragma once

#include <QPalette>
#include <QSize>
#include <QString>

class QWidget;

namespace renders {

QPalette lightPalette();
QPalette darkPalette();

// A folder of renders: each widget written as <name>-light.png and <name>-dark.png.
class RenderFolder {
public:
    explicit RenderFolder(const QString& path);

    // Draws `widget` at `size` (its size hint when none is given) in both appearances, over
    // the appearance's window colour; a file not written or a picture of the bare background
    // counts as failed.
    void save(QWidget& widget, const QString& name, QSize size = {});

    int written() const { return m_written; }
    int failed() const { return m_failed; }

private:
    QString m_path;
    int m_written = 0;
    int m_failed = 0;
};

void renderKit(RenderFolder& folder);
void renderViews(RenderFolder& folder);

} // namespace renders
