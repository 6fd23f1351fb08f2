#pragma once

#include <QByteArray>
#include <QString>

namespace tremlor {

// Replaces the file at `path` with `data` in one step: on any failure the old file (or none)
// stays, never a truncated one. `error` receives the reason.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

} // namespace tremlor
