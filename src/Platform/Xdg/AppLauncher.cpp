#include "Platform/Xdg/AppLauncher.h"

#include "Platform/Xdg/ExecCommand.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>

#include <mutex>
#include <vector>

namespace tremlor::xdg {

namespace {

struct Launched {
    qint64 pid = 0;
    QByteArray startTime; // field 22 of /proc/<pid>/stat: tells a reused pid apart
};

std::mutex& registryLock()
{
    static std::mutex lock;
    return lock;
}

QHash<QString, std::vector<Launched>>& registry()
{
    static QHash<QString, std::vector<Launched>> launched;
    return launched;
}

// The start time of a live process; empty when it is gone (or a zombie).
QByteArray startTimeOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.read(4096);
    // The command name may hold spaces and parentheses: fields restart after the last ')'.
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    // fields[0] is field 3 (state); field 22 (start time) is fields[19].
    if (fields.size() < 20 || fields[0] == "Z" || fields[0] == "X")
        return {};
    return fields[19];
}

} // namespace

bool AppLauncher::launch(const DesktopEntry& entry)
{
    const auto command = ExecCommand::parse(entry.exec);
    if (!command)
        return false;
    const QString program = command->resolvedProgram();
    if (program.isEmpty())
        return false;
    // Detached, without a shell; its output goes nowhere rather than into ours.
    QProcess process;
    process.setProgram(program);
    process.setArguments(command->arguments);
    process.setWorkingDirectory(QDir::homePath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid) || pid <= 0)
        return false;
    const QByteArray startTime = startTimeOf(pid);
    if (!entry.id.isEmpty() && !startTime.isEmpty()) {
        std::lock_guard guard(registryLock());
        registry()[entry.id].push_back({ pid, startTime });
    }
    return true;
}

bool AppLauncher::hasLiveProcess(const QString& id)
{
    std::lock_guard guard(registryLock());
    auto it = registry().find(id);
    if (it == registry().end())
        return false;
    std::erase_if(*it, [](const Launched& l) { return startTimeOf(l.pid) != l.startTime; });
    if (it->empty()) {
        registry().erase(it);
        return false;
    }
    return true;
}

} // namespace tremlor::xdg
