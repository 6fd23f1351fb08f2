#include "KestuDesign/Utilities/KestuUserDefaults.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace kestu {

namespace {
const QString dataTag = QStringLiteral("$data");
} // namespace

KestuFileUserDefaults::KestuFileUserDefaults(const QString& folder, const QString& domain)
    : m_folder(folder)
    , m_filePath(folder + QLatin1Char('/') + domain + QStringLiteral(".json"))
{
    QFile file(m_filePath);
    if (!file.exists())
        return;
    const QJsonDocument document
        = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()) : QJsonDocument();
    if (document.isObject())
        m_root = document.object();
    else
        m_unreadable = true;
}

std::optional<QByteArray> KestuFileUserDefaults::data(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    const QJsonValue value = m_root.value(key);
    const QJsonObject tagged = value.toObject();
    if (!value.isObject() || tagged.size() != 1 || !tagged.value(dataTag).isString())
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(
        tagged.value(dataTag).toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

void KestuFileUserDefaults::setData(const QString& key, const QByteArray& data)
{
    QMutexLocker lock(&m_mutex);
    m_root.insert(key, QJsonObject { { dataTag, QString::fromLatin1(data.toBase64()) } });
    m_dirty = true;
    write();
}

void KestuFileUserDefaults::remove(const QString& key)
{
    QMutexLocker lock(&m_mutex);
    if (!m_root.contains(key))
        return;
    m_root.remove(key);
    m_dirty = true;
    write();
}

bool KestuFileUserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    return write();
}

bool KestuFileUserDefaults::write()
{
    if (!m_dirty)
        return true;
    if (!QDir().mkpath(m_folder))
        return false;
    if (m_unreadable && QFileInfo::exists(m_filePath)) {
        // Never write over a file we could not read before a copy of it is safe.
        const QString stem = m_filePath + QStringLiteral(".unreadable-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString copy = stem;
        for (int n = 2; QFileInfo::exists(copy); ++n)
            copy = stem + QLatin1Char('-') + QString::number(n);
        if (!QFile::copy(m_filePath, copy))
            return false;
    }
    m_unreadable = false;
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(m_root).toJson()) < 0 || !file.commit())
        return false;
    m_dirty = false;
    return true;
}

} // namespace kestu
