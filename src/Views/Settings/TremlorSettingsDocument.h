#pragma once

#include "Models/SettingsExport.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tremlor {

class TremlorSettings;

// The settings file: the bytes of one SettingsExport record as JSON. Reading is strict and all
// or nothing; writing replaces the file atomically. Failures are answered, never shown.
class TremlorSettingsDocument final {
public:
    // Larger files are not read: a settings file is a few kilobytes, even with many profiles.
    static constexpr qint64 maximumFileSize = 16 * 1024 * 1024;
    static QString defaultFileName() { return QStringLiteral("TremlorSettings.json"); }
    static QString nameFilter() { return QStringLiteral("JSON (*.json)"); }

    explicit TremlorSettingsDocument(QByteArray data = {})
        : m_data(std::move(data))
    {
    }

    const QByteArray& data() const { return m_data; }

    // The store's current record; nullopt when a value cannot be encoded (a non-finite number).
    static std::optional<TremlorSettingsDocument> fromSettings(const TremlorSettings& settings);
    // The whole file; nullopt when it is no regular file, is over the limit or cannot be read.
    static std::optional<TremlorSettingsDocument> read(const QString& path);
    // All or nothing: the old file stays whole when writing fails.
    bool write(const QString& path) const;

    // The record, when the bytes hold all 20 keys with values of the right type and range
    // (finite numbers, known cases, times of day that exist, no id used twice in a list).
    std::optional<SettingsExport> record() const;

    // Export and import as the Advanced section runs them; false when nothing was written or
    // nothing was applied (the store is then untouched).
    static bool exportTo(const QString& path, const TremlorSettings& settings);
    static bool importFrom(const QString& path, TremlorSettings& settings);

    // Whether every value of the record may enter the store.
    static bool isSound(const SettingsExport& record);

private:
    QByteArray m_data;
};

} // namespace tremlor
