#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tremlor::xdg {

// The keys of a desktop entry's [Desktop Entry] group that Tremlor reads. Files that do not
// follow the format (junk lines, bad UTF-8, NUL bytes, oversize) do not parse at all.
struct DesktopEntry {
    QString id; // desktop-file ID without ".desktop" ("org.gnome.Calculator")
    QString filePath;
    QString type;
    QString name; // Name, unlocalised
    QString localizedName; // Name[locale] for the current messages locale, else Name
    bool noDisplay = false;
    bool hidden = false;
    QString exec; // Exec after the string-value unescaping
    QString icon;
    QString startupWMClass;
    bool terminal = false; // Terminal=true: the program runs in a terminal

    // Largest file read; bigger files are refused whole.
    static constexpr qint64 maxFileSize = 1024 * 1024;
    // Lines longer than this are refused.
    static constexpr qsizetype maxLineLength = 64 * 1024;

    // Parses the text of an entry. `localeNames` are the Name[...] suffixes to try, best first
    // (see localeNamesFromEnvironment()). Nothing when the text is malformed or has no Name.
    static std::optional<DesktopEntry> parse(const QByteArray& text, const QStringList& localeNames);
    // Reads and parses a regular file (FIFOs, devices and unreadable files give nothing).
    static std::optional<DesktopEntry> load(const QString& filePath, const QString& id, const QStringList& localeNames);
    // From LC_ALL, LC_MESSAGES, LANG (first set): lang_COUNTRY@MODIFIER, lang_COUNTRY,
    // lang@MODIFIER, lang, in the order desktop entries rank them.
    static QStringList localeNamesFromEnvironment();
};

} // namespace tremlor::xdg
