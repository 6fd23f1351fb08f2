#pragma once

#include <QString>

namespace tremlor {

// Whether `text` contains `query`, ignoring case as the user's locale folds it (in Turkish,
// "I" lowers to dotless "ı", so "ıe" finds "IE"; Qt::CaseInsensitive ignores the locale).
bool localizedCaseInsensitiveContains(const QString& text, const QString& query);

} // namespace tremlor
