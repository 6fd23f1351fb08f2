#include "Platform/Xdg/AppLauncher.h"

#include "Platform/Xdg/ExecCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

#include <algorithm>
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

// A terminal and the words after which it takes the command to run.
struct Terminal {
    QString program;
    QStringList before;
};

// Tried after Debian's chosen terminal and the user's $TERMINAL. The process we start stands
// for the application while it lives, so terminals that hand the command to a running server
// are asked to stay until it ends.
const std::vector<Terminal>& commonTerminals()
{
    static const std::vector<Terminal> terminals { { QStringLiteral("xdg-terminal-exec"), {} },
        { QStringLiteral("gnome-terminal"), { QStringLiteral("--wait"), QStringLiteral("--") } },
        { QStringLiteral("konsole"), { QStringLiteral("-e") } },
        { QStringLiteral("xfce4-terminal"), { QStringLiteral("--disable-server"), QStringLiteral("-x") } },
        { QStringLiteral("xterm"), { QStringLiteral("-e") } } };
    return terminals;
}

QString findExecutable(const QString& program)
{
    return ExecCommand { program, {} }.resolvedProgram();
}

} // namespace

QStringList AppLauncher::commandLine(
    const DesktopEntry& entry, const ProgramFinder& find, const QString& terminalVariable)
{
    const auto command = ExecCommand::parse(entry.exec);
    if (!command)
        return {};
    const QString program = find(command->program);
    if (program.isEmpty())
        return {};
    const QStringList words = QStringList { program } + command->arguments;
    if (!entry.terminal)
        return words;
    // Debian's chosen terminal first, then the user's.
    std::vector<Terminal> terminals { { QStringLiteral("x-terminal-emulator"), { QStringLiteral("-e") } } };
    if (!terminalVariable.isEmpty()) {
        // A terminal we know takes the command after its own option, wherever it is installed.
        const QString name = QFileInfo(terminalVariable).fileName();
        const auto known = std::find_if(commonTerminals().begin(), commonTerminals().end(),
            [&](const Terminal& terminal) { return terminal.program == name; });
        terminals.push_back({ terminalVariable,
            known != commonTerminals().end() ? known->before : QStringList { QStringLiteral("-e") } });
    }
    terminals.insert(terminals.end(), commonTerminals().begin(), commonTerminals().end());
    for (const Terminal& terminal : terminals) {
        const QString found = find(terminal.program);
        if (!found.isEmpty())
            return QStringList { found } + terminal.before + words;
    }
    return {};
}

QStringList AppLauncher::commandLine(const DesktopEntry& entry)
{
    return commandLine(entry, &findExecutable, qEnvironmentVariable("TERMINAL"));
}

bool AppLauncher::launch(const DesktopEntry& entry)
{
    QStringList words = commandLine(entry);
    if (words.isEmpty())
        return false;
    // Detached, without a shell; its output goes nowhere rather than into ours.
    QProcess process;
    process.setProgram(words.takeFirst());
    process.setArguments(words);
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
