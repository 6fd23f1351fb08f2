#include "Platform/Xdg/DesktopEntry.h"

#include <QFile>
#include <QStringDecoder>

#include <sys/stat.h>

namespace tremlor::xdg {

namespace {

bool isKeyChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// The string-value escapes of the format: \s \n \t \r \\ (others are kept as written).
QString unescape(const QString& value)
{
    if (!value.contains(u'\\'))
        return value;
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            out += c;
            out += next;
        }
    }
    return out;
}

QByteArray trimSpaces(QByteArray bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && (bytes[begin] == ' ' || bytes[begin] == '\t'))
        ++begin;
    while (end > begin && (bytes[end - 1] == ' ' || bytes[end - 1] == '\t'))
        --end;
    return bytes.mid(begin, end - begin);
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& text, const QStringList& localeNames)
{
    if (text.size() > maxFileSize || text.contains('\0'))
        return std::nullopt;
    {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString decoded = decoder.decode(text);
        if (decoder.hasError())
            return std::nullopt;
    }

    DesktopEntry entry;
    bool haveName = false;
    bool inMainGroup = false;
    bool seenGroup = false;
    qsizetype bestLocale = localeNames.size(); // index of the Name[...] taken; size() = none yet
    bool haveLocalized = false;

    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > maxLineLength)
            return std::nullopt;
        const QByteArray trimmed = trimSpaces(line);
        if (trimmed.isEmpty() || trimmed.startsWith('#'))
            continue;
        if (trimmed.startsWith('[')) {
            if (!trimmed.endsWith(']') || trimmed.size() < 3)
                return std::nullopt;
            const QByteArray group = trimmed.mid(1, trimmed.size() - 2);
            if (group.contains('[') || group.contains(']'))
                return std::nullopt;
            // The main group comes first; a second one of the same name is invalid.
            if (group == "Desktop Entry" && seenGroup)
                return std::nullopt;
            if (!seenGroup && group != "Desktop Entry")
                return std::nullopt;
            inMainGroup = group == "Desktop Entry";
            seenGroup = true;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!seenGroup || eq <= 0)
            return std::nullopt;
        const QByteArray rawKey = trimSpaces(line.left(eq));
        qsizetype keyEnd = 0;
        while (keyEnd < rawKey.size() && isKeyChar(rawKey[keyEnd]))
            ++keyEnd;
        if (keyEnd == 0)
            return std::nullopt;
        const QByteArray key = rawKey.left(keyEnd);
        QByteArray locale;
        if (keyEnd < rawKey.size()) {
            if (rawKey[keyEnd] != '[' || !rawKey.endsWith(']') || rawKey.size() - keyEnd < 3)
                return std::nullopt;
            locale = rawKey.mid(keyEnd + 1, rawKey.size() - keyEnd - 2);
            if (locale.contains('[') || locale.contains(']') || locale.contains(' '))
                return std::nullopt;
        }
        if (!inMainGroup)
            continue;
        QByteArray rawValue = line.mid(eq + 1);
        while (!rawValue.isEmpty() && (rawValue[0] == ' ' || rawValue[0] == '\t'))
            rawValue.remove(0, 1);
        const QString value = unescape(QString::fromUtf8(rawValue));

        if (!locale.isEmpty()) {
            if (key == "Name") {
                const qsizetype index = localeNames.indexOf(QString::fromUtf8(locale));
                if (index >= 0 && index < bestLocale) {
                    bestLocale = index;
                    entry.localizedName = value;
                    haveLocalized = true;
                }
            }
            continue;
        }
        if (key == "Type")
            entry.type = value;
        else if (key == "Name" && !haveName) {
            entry.name = value;
            haveName = true;
        } else if (key == "NoDisplay")
            entry.noDisplay = value == u"true";
        else if (key == "Hidden")
            entry.hidden = value == u"true";
        else if (key == "Exec")
            entry.exec = value;
        else if (key == "Icon")
            entry.icon = value;
        else if (key == "StartupWMClass")
            entry.startupWMClass = value;
        else if (key == "Terminal")
            entry.terminal = value == u"true";
    }
    if (!seenGroup || !haveName || entry.name.isEmpty())
        return std::nullopt;
    if (!haveLocalized)
        entry.localizedName = entry.name;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::load(
    const QString& filePath, const QString& id, const QStringList& localeNames)
{
    // Only regular files: opening a FIFO would block, a device could stream for ever.
    struct stat info { };
    const QByteArray native = QFile::encodeName(filePath);
    if (::stat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxFileSize)
        return std::nullopt;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.read(maxFileSize + 1);
    auto entry = parse(text, localeNames);
    if (entry) {
        entry->id = id;
        entry->filePath = filePath;
    }
    return entry;
}

QStringList DesktopEntry::localeNamesFromEnvironment()
{
    QString value;
    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            break;
    }
    if (value.isEmpty() || value == u"C" || value == u"POSIX")
        return {};
    QString modifier;
    if (const qsizetype at = value.indexOf(u'@'); at >= 0) {
        modifier = value.mid(at + 1);
        value.truncate(at);
    }
    if (const qsizetype dot = value.indexOf(u'.'); dot >= 0)
        value.truncate(dot);
    QString lang = value;
    QString country;
    if (const qsizetype underscore = value.indexOf(u'_'); underscore >= 0) {
        lang = value.left(underscore);
        country = value.mid(underscore + 1);
    }
    QStringList names;
    if (!country.isEmpty() && !modifier.isEmpty())
        names << lang + u'_' + country + u'@' + modifier;
    if (!country.isEmpty())
        names << lang + u'_' + country;
    if (!modifier.isEmpty())
        names << lang + u'@' + modifier;
    if (!lang.isEmpty())
        names << lang;
    return names;
}

} // namespace tremlor::xdg
