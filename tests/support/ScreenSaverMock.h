#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

// The screensaver service, and the lock logind lists for us while the pair is held.
inline const QString kScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
inline const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
inline const QString kReason = QStringLiteral("Tremlor is keeping the system awake");
inline const QString kOurLock = "idle:sleep|Tremlor|" + kReason + "|block";

// Writes a dbusmock template for org.freedesktop.ScreenSaver served at path, whose Inhibit runs
// inhibitCode; returns its file (empty when it could not be written). The methods are added
// before the mock answers its first call, so a client never sees a half-made service.
inline QString screenSaverTemplate(const QTemporaryDir& dir, const QString& path = kScreenSaverPath,
    const QString& inhibitCode = QStringLiteral("ret = 7"))
{
    static int counter = 0;
    const QString file = dir.filePath(QStringLiteral("screensaver%1.py").arg(++counter));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    out.write(QStringLiteral("BUS_NAME = 'org.freedesktop.ScreenSaver'\n"
                             "MAIN_OBJ = '%1'\n"
                             "MAIN_IFACE = 'org.freedesktop.ScreenSaver'\n"
                             "SYSTEM_BUS = False\n"
                             "def load(mock, parameters):\n"
                             "    mock.AddMethods(MAIN_IFACE, [\n"
                             "        ('Inhibit', 'ss', 'u', '%2'),\n"
                             "        ('UnInhibit', 'u', '', ''),\n"
                             "    ])\n")
                  .arg(path, inhibitCode)
                  .toUtf8());
    return file;
}
