#include "KestuDesign/Utilities/LaunchAtLogin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStandardPaths>

namespace kestu {

namespace {
// Quotes an Exec argument by the Desktop Entry rules when it needs quoting.
QString quoteExecArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=%");
    bool needs = argument.isEmpty();
    for (const QChar c : argument)
        needs = needs || reserved.contains(c);
    QString escaped = argument;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (!needs)
        return escaped;
    QString quoted;
    for (const QChar c : escaped) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    // Inside a desktop file a backslash is itself escaped.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString defaultDesktopId()
{
    QString id = QGuiApplication::desktopFileName();
    if (id.isEmpty())
        id = QCoreApplication::applicationName();
    if (id.endsWith(QLatin1String(".desktop")))
        id.chop(8);
    return id;
}
} // namespace

LaunchAtLogin::LaunchAtLogin()
    : LaunchAtLogin(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart"),
        defaultDesktopId(), QCoreApplication::applicationFilePath(), QCoreApplication::applicationName())
{
}

LaunchAtLogin::LaunchAtLogin(QString autostartFolder, QString desktopId, QString executable, QString name)
    : m_folder(std::move(autostartFolder))
    , m_desktopId(std::move(desktopId))
    , m_executable(std::move(executable))
    , m_name(std::move(name))
{
}

QString LaunchAtLogin::entryPath() const
{
    return QDir(m_folder).filePath(m_desktopId + QStringLiteral(".desktop"));
}

bool LaunchAtLogin::isEnabled() const
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Hidden"))) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq > 0 && line.left(eq).trimmed() == QLatin1String("Hidden")
                && line.mid(eq + 1).trimmed() == QLatin1String("true"))
                return false;
        }
    }
    return true;
}

void LaunchAtLogin::setEnabled(bool enabled)
{
    const QString path = entryPath();
    if (!enabled) {
        if (QFile::exists(path) && !QFile::remove(path))
            throw LaunchAtLoginError("cannot remove " + path.toStdString());
        return;
    }
    if (!QDir().mkpath(m_folder))
        throw LaunchAtLoginError("cannot create " + m_folder.toStdString());
    const QByteArray entry
        = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\nX-GNOME-Autostart-enabled=true\n")
              .arg(m_name, quoteExecArgument(m_executable))
              .toUtf8();
    // Flushed before the commit, which alone would put a truncated entry in place on a full disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size() || !file.flush() || !file.commit())
        throw LaunchAtLoginError("cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
}

} // namespace kestu
