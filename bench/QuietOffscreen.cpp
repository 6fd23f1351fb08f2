// Linked into every benchmark program: Qt's offscreen platform warns on each window shown that
// it cannot pass size hints on, which would bury the figures. Only that message is dropped.
#include <QString>
#include <QtGlobal>

namespace {

QtMessageHandler previousHandler = nullptr;

void dropSizeHintWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

const bool installed = [] {
    previousHandler = qInstallMessageHandler(dropSizeHintWarning);
    return true;
}();

} // namespace
