#pragma once

#include <QByteArray>
#include <QHash>
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

} // namespace kestu
