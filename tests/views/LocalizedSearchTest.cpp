#include "Views/Shared/LocalizedSearch.h"

#include <QLocale>

#include <gtest/gtest.h>

using tremlor::localizedCaseInsensitiveContains;

TEST(LocalizedSearch, IgnoresCaseAsTheUsersLocaleFoldsIt)
{
    const struct {
        const char* locale;
        QString text, query;
        bool found;
    } cases[] = {
        { "en_US", "Visual Studio Code", "studio", true },
        { "en_US", "Visual Studio Code", "", true },
        { "en_US", "Éditeur", "éDIT", true },
        { "en_US", "Calculator", "calx", false },
        // Turkish lowers "I" to a dotless "ı", which the plain, locale-blind fold never gives.
        { "tr_TR", "ISTANBUL", "ıstan", true },
        { "en_US", "ISTANBUL", "ıstan", false },
    };
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(localizedCaseInsensitiveContains(c.text, c.query), c.found)
            << c.locale << " " << c.text.toStdString();
    }
    QLocale::setDefault(QLocale::c());
}
