#include "RenderFolder.h"

#include <QApplication>

#include <cstdio>

// Writes every kit control and every view, light and dark, as PNG files: into the build's
// renders folder, or under the folder given as the only argument.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TREMLOR_RENDER_DIR);
    renders::RenderFolder kit(root + QStringLiteral("/kit"));
    renders::renderKit(kit);
    renders::RenderFolder views(root + QStringLiteral("/views"));
    renders::renderViews(views);
    std::printf(
        "%d renders in %s/kit and %s/views\n", kit.written() + views.written(), qPrintable(root), qPrintable(root));
    return kit.failed() + views.failed() == 0 ? 0 : 1;
}
