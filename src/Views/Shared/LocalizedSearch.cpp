#include "Views/Shared/LocalizedSearch.h"

#include <QLocale>

namespace tremlor {

bool localizedCaseInsensitiveContains(const QString& text, const QString& query)
{
    const QLocale locale;
    return locale.toLower(text).contains(locale.toLower(query));
}

} // namespace tremlor
