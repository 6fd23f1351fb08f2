#include "Platform/Xdg/ExecCommand.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace tremlor::xdg {

namespace {

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Removes the field codes of one argument (%f %U %i …; "%%" is a literal percent sign).
// `onlyCodes` tells whether nothing but field codes was there, so the argument is dropped.
QString removeFieldCodes(const QString& argument, bool& onlyCodes)
{
    QString out;
    onlyCodes = true;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const QChar c = argument.at(i);
        if (c == u'%' && i + 1 < argument.size()) {
            const QChar code = argument.at(++i);
            if (code == u'%') {
                out += u'%';
                onlyCodes = false;
            }
            continue;
        }
        out += c;
        onlyCodes = false;
    }
    return out;
}

} // namespace

std::optional<ExecCommand> ExecCommand::parse(const QString& exec)
{
    // Split first (quoted arguments keep their spaces), remembering which arguments were quoted:
    // field codes are not expanded inside quotes.
    QStringList words;
    QList<bool> quoted;
    QString current;
    bool inWord = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u'"') {
            inWord = true;
            wasQuoted = true;
            bool closed = false;
            for (++i; i < exec.size(); ++i) {
                const QChar q = exec.at(i);
                if (q == u'"') {
                    closed = true;
                    break;
                }
                if (q == u'\\' && i + 1 < exec.size()) {
                    const QChar next = exec.at(i + 1);
                    if (next == u'"' || next == u'`' || next == u'$' || next == u'\\') {
                        current += next;
                        ++i;
                        continue;
                    }
                }
                current += q;
            }
            if (!closed)
                return std::nullopt;
            continue;
        }
        if (isSpace(c)) {
            if (inWord) {
                words << current;
                quoted << wasQuoted;
                current.clear();
                inWord = false;
                wasQuoted = false;
            }
            continue;
        }
        current += c;
        inWord = true;
    }
    if (inWord) {
        words << current;
        quoted << wasQuoted;
    }

    ExecCommand command;
    for (qsizetype i = 0; i < words.size(); ++i) {
        QString word = words.at(i);
        if (!quoted.at(i)) {
            bool onlyCodes = false;
            word = removeFieldCodes(word, onlyCodes);
            if (onlyCodes)
                continue;
        }
        if (command.program.isEmpty() && command.arguments.isEmpty() && i == 0)
            command.program = word;
        else
            command.arguments << word;
    }
    if (command.program.isEmpty())
        return std::nullopt;
    return command;
}

QString ExecCommand::resolvedProgram() const
{
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        // Permission bits, not access(): for root access() calls every file executable.
        const auto exec = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        return info.isAbsolute() && info.isFile() && (info.permissions() & exec) ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

} // namespace tremlor::xdg
