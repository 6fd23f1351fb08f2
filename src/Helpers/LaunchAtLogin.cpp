#include "Helpers/LaunchAtLogin.h"

#include "Platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tremlor {

namespace {

const QString kEntryName = QStringLiteral("com.tremlor.app.desktop");

// One Exec argument: quoted, with the characters the quoting rules reserve escaped, then
// the escapes of a string value applied on top, and '%' doubled so it is no field code.
QString execArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'%')
            value += QStringLiteral("%%");
        else
            value += c;
    }
    return value;
}

bool isHidden(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(64 * 1024).trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && line.left(equals).trimmed() == "Hidden")
            return line.mid(equals + 1).trimmed() == "true";
    }
    return false;
}

} // namespace

LaunchAtLogin::LaunchAtLogin(QString configHome, QString executable)
    : m_configHome(std::move(configHome))
    , m_executable(std::move(executable))
{
}

QString LaunchAtLogin::entryPath() const
{
    QString configHome = m_configHome;
    if (configHome.isEmpty())
        configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Relative XDG base directories are ignored, as desktops do.
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/autostart/") + kEntryName;
}

QByteArray LaunchAtLogin::entryText(const QString& executable)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Tremlor\n"
                                  "Exec=%1\n"
                                  "Terminal=false\n"
                                  "X-GNOME-Autostart-enabled=true\n")
                       .arg(execArgument(executable));
    return text.toUtf8();
}

bool LaunchAtLogin::isEnabled() const
{
    const QString path = entryPath();
    return QFileInfo::exists(path) && !isHidden(path);
}

void LaunchAtLogin::setEnabled(bool enabled)
{
    const QString path = entryPath();
    if (!enabled) {
        QFile file(path);
        if (file.exists() && !file.remove())
            throw LoginItemError(QStringLiteral("cannot remove %1: %2").arg(path, file.errorString()).toStdString());
        return;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw LoginItemError(QStringLiteral("cannot create %1").arg(folder).toStdString());
    const QString executable = m_executable.isEmpty() ? QCoreApplication::applicationFilePath() : m_executable;
    if (QString error; !writeFileAtomically(path, entryText(executable), &error))
        throw LoginItemError(QStringLiteral("cannot write %1: %2").arg(path, error).toStdString());
}

} // namespace tremlor
