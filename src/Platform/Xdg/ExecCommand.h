#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tremlor::xdg {

// A desktop entry's Exec line as a program and its arguments, split by the Desktop Entry quoting
// rules with the field codes removed; meant to be started directly, never through a shell.
struct ExecCommand {
    QString program;
    QStringList arguments;

    // Nothing for an empty line, an unterminated quote or an empty program.
    static std::optional<ExecCommand> parse(const QString& exec);
    // The program as an absolute path: a path as given, else looked up in PATH; empty when
    // there is no such executable.
    QString resolvedProgram() const;
};

} // namespace tremlor::xdg
