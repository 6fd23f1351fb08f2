#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QMutex>
#include <QString>

#include <optional>

namespace kestu {

// The key/value store the kit's storage utility writes to: data by key. A host adapts its own
// user-defaults store to it.
class KestuUserDefaults {
public:
    virtual ~KestuUserDefaults() = default;
    // The data stored under `key`, or nothing.
    virtual std::optional<QByteArray> data(const QString& key) const = 0;
    virtual void setData(const QString& key, const QByteArray& data) = 0;
    virtual void remove(const QString& key) = 0;
};

// A store kept in memory only.
class KestuMemoryUserDefaults final : public KestuUserDefaults {
public:
    std::optional<QByteArray> data(const QString& key) const override
    {
        const auto it = m_values.constFind(key);
        return it == m_values.constEnd() ? std::nullopt : std::optional<QByteArray>(*it);
    }
    void setData(const QString& key, const QByteArray& data) override { m_values.insert(key, data); }
    void remove(const QString& key) override { m_values.remove(key); }

private:
    QHash<QString, QByteArray> m_values;
};

// A store persisted as one JSON file, <folder>/<domain>.json, so values survive a restart. The
// file is read when the store is made; every change replaces it in one step (never a truncated
// file). Data is kept as base64 under "$data"; members of another form read as absent and are
// written back unchanged. A file that cannot be read counts as empty and is kept as a copy
// beside it before it is first written over. Thread-safe.
class KestuFileUserDefaults final : public KestuUserDefaults {
public:
    KestuFileUserDefaults(const QString& folder, const QString& domain);
    Q_DISABLE_COPY_MOVE(KestuFileUserDefaults)

    QString filePath() const { return m_filePath; }

    std::optional<QByteArray> data(const QString& key) const override;
    void setData(const QString& key, const QByteArray& data) override;
    void remove(const QString& key) override;

    // Writes what is not yet in the file. False when it could not be written: the values stay
    // in memory and the next change tries again.
    bool synchronize();

private:
    bool write();

    const QString m_folder;
    const QString m_filePath;
    mutable QMutex m_mutex;
    QJsonObject m_root;
    bool m_unreadable = false;
    bool m_dirty = false;
};

} // namespace kestu
