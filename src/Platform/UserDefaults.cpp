#include "Platform/UserDefaults.h"

#include "Platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace tremlor {

namespace {

// Larger files are not ours: treat them as unreadable rather than load them into memory.
constexpr qint64 maxFileSize = 256LL * 1024 * 1024;
constexpr const char* dataTag = "$data";

UserDefaults::Value fromJson(nlohmann::json&& value)
{
    using Json = nlohmann::json;
    switch (value.type()) {
    case Json::value_t::number_float:
        return value.get<double>();
    case Json::value_t::number_integer:
        return value.get<std::int64_t>();
    case Json::value_t::number_unsigned: {
        const auto u = value.get<std::uint64_t>();
        if (u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return static_cast<std::int64_t>(u);
        break;
    }
    case Json::value_t::boolean:
        return value.get<bool>();
    case Json::value_t::string:
        return QString::fromStdString(value.get_ref<const std::string&>());
    case Json::value_t::object: {
        const auto it = value.find(dataTag);
        if (value.size() == 1 && it != value.end() && it->is_string()) {
            const auto decoded = QByteArray::fromBase64Encoding(
                QByteArray::fromStdString(it->get<std::string>()), QByteArray::AbortOnBase64DecodingErrors);
            if (decoded)
                return *decoded;
        }
        break;
    }
    default:
        break;
    }
    return std::move(value);
}

nlohmann::json toJson(const UserDefaults::Value& value)
{
    return std::visit(
        [](const auto& v) -> nlohmann::json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QString>) {
                return v.toStdString();
            } else if constexpr (std::is_same_v<T, QByteArray>) {
                return { { dataTag, v.toBase64().toStdString() } };
            } else if constexpr (std::is_same_v<T, double>) {
                // Written with a fraction or exponent, so it reads back as a double.
                return nlohmann::json(v);
            } else {
                return v;
            }
        },
        value);
}

} // namespace

UserDefaults::UserDefaults(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_folder(QDir::cleanPath(folder))
    , m_filePath(m_folder + QLatin1Char('/') + QLatin1String(domain) + QStringLiteral(".json"))
{
    load();
}

UserDefaults::~UserDefaults()
{
    synchronize();
}

QString UserDefaults::defaultFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + QLatin1String(domain);
}

UserDefaults& UserDefaults::standard()
{
    // Never destroyed: it outlives every user; pending values are written when the app quits.
    static UserDefaults* const instance = [] {
        auto* defaults = new UserDefaults(defaultFolder());
        if (QCoreApplication* app = QCoreApplication::instance()) {
            defaults->moveToThread(app->thread());
            QObject::connect(app, &QCoreApplication::aboutToQuit, defaults, [defaults] { defaults->synchronize(); });
        }
        return defaults;
    }();
    return *instance;
}

bool UserDefaults::loadedUnreadableFile() const
{
    std::lock_guard lock(m_mutex);
    return m_loadedUnreadable;
}

void UserDefaults::load()
{
    QFile file(m_filePath);
    if (!file.exists())
        return;
    bool readable = false;
    QHash<QString, Value> values;
    if (file.open(QIODevice::ReadOnly) && file.size() <= maxFileSize) {
        try {
            const QByteArray data = file.readAll();
            nlohmann::json root = nlohmann::json::parse(data.constBegin(), data.constEnd());
            if (root.is_object()) {
                for (auto& [key, value] : root.items())
                    values.insert(QString::fromStdString(key), fromJson(std::move(value)));
                readable = true;
            }
        } catch (const std::exception&) {
            values.clear();
        }
    }
    std::lock_guard lock(m_mutex);
    m_values = std::move(values);
    m_unreadableFile = !readable;
    m_loadedUnreadable = !readable;
}

template <typename T> std::optional<T> UserDefaults::typed(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return std::nullopt;
    if (const T* value = std::get_if<T>(&*it))
        return *value;
    if constexpr (std::is_same_v<T, double>) {
        if (const auto* integer = std::get_if<std::int64_t>(&*it))
            return static_cast<double>(*integer);
    }
    return std::nullopt;
}

std::optional<double> UserDefaults::doubleValue(const QString& key) const
{
    return typed<double>(key);
}

std::optional<std::int64_t> UserDefaults::integerValue(const QString& key) const
{
    return typed<std::int64_t>(key);
}

std::optional<bool> UserDefaults::boolValue(const QString& key) const
{
    return typed<bool>(key);
}

std::optional<QString> UserDefaults::stringValue(const QString& key) const
{
    return typed<QString>(key);
}

std::optional<QByteArray> UserDefaults::dataValue(const QString& key) const
{
    return typed<QByteArray>(key);
}

bool UserDefaults::contains(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    return m_values.contains(key);
}

QByteArray UserDefaults::jsonText(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return {};
    return QByteArray::fromStdString(toJson(*it).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void UserDefaults::set(const QString& key, const Value& value)
{
    {
        std::lock_guard lock(m_mutex);
        m_values.insert(key, value);
        m_dirty = true;
    }
    scheduleWrite();
    Q_EMIT valueChanged(key);
}

void UserDefaults::scheduleWrite()
{
    if (m_writeScheduled.exchange(true))
        return;
    if (QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_writeScheduled = false;
                synchronize();
            },
            Qt::QueuedConnection);
    } else {
        m_writeScheduled = false;
        synchronize();
    }
}

bool UserDefaults::synchronize()
{
    std::lock_guard fileLock(m_fileMutex);
    nlohmann::json root = nlohmann::json::object(); // keys sorted, so the file diffs well
    bool unreadable = false;
    {
        std::lock_guard lock(m_mutex);
        if (!m_dirty)
            return true;
        for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
            root[it.key().toStdString()] = toJson(it.value());
        unreadable = m_unreadableFile;
        m_dirty = false;
    }
    const auto failed = [this] {
        std::lock_guard lock(m_mutex);
        m_dirty = true;
        return false;
    };
    // Never write over a file we could not read before a copy of it is safe.
    if (unreadable) {
        if (!backUpUnreadableFile())
            return failed();
        std::lock_guard lock(m_mutex);
        m_unreadableFile = false;
    }
    std::string text;
    try {
        text = root.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    } catch (const std::exception&) {
        return failed();
    }
    text += '\n';
    if (!QDir().mkpath(m_folder))
        return failed();
    if (!writeFileAtomically(m_filePath, QByteArray::fromStdString(text)))
        return failed();
    return true;
}

QString UserDefaults::uniquePath(const QString& stem, const QString& suffix) const
{
    const QString base = m_folder + QLatin1Char('/') + stem + QLatin1Char('-')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = base + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QLatin1Char('-') + QString::number(n) + suffix;
    return path;
}

bool UserDefaults::backUpUnreadableFile()
{
    if (!QFileInfo::exists(m_filePath))
        return true;
    const QString copy = uniquePath(QFileInfo(m_filePath).fileName() + QStringLiteral(".unreadable"), QString());
    return QFile::copy(m_filePath, copy);
}

QString UserDefaults::keepCopy(const QString& stem, const QByteArray& data)
{
    std::lock_guard fileLock(m_fileMutex);
    if (!QDir().mkpath(m_folder))
        return {};
    const QString path = uniquePath(stem, QStringLiteral(".json"));
    return writeFileAtomically(path, data) ? path : QString();
}

} // namespace tremlor
