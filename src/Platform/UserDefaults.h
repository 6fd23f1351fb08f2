#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <variant>

namespace tremlor {

// The application's defaults domain: typed values kept in memory and persisted as one JSON file
// in a folder (by default $XDG_CONFIG_HOME/com.tremlor.app). Writes reach the file through an
// atomic replace, coalesced to one per turn of the event loop; synchronize() writes at once.
// A file that cannot be read is kept as a copy beside it before it is first written over.
// Thread-safe.
class UserDefaults final : public QObject {
    Q_OBJECT

public:
    // nlohmann::json holds members of the file that no typed value stands for: they read as
    // absent and are written back unchanged.
    using Value = std::variant<double, std::int64_t, bool, QString, QByteArray, nlohmann::json>;

    static constexpr const char* domain = "com.tremlor.app";

    // Binds the domain to folder; the file is read at once.
    explicit UserDefaults(const QString& folder, QObject* parent = nullptr);
    ~UserDefaults() override;
    Q_DISABLE_COPY_MOVE(UserDefaults)

    // $XDG_CONFIG_HOME/com.tremlor.app, with ~/.config when the variable is unset or relative.
    static QString defaultFolder();
    // The production domain in defaultFolder(), created once and kept for the whole run.
    static UserDefaults& standard();

    QString folder() const { return m_folder; }
    QString filePath() const { return m_filePath; }
    // Whether the file existed but could not be read when the domain was loaded.
    bool loadedUnreadableFile() const;

    // A value of another type reads as absent. An integer reads as a double too.
    std::optional<double> doubleValue(const QString& key) const;
    std::optional<std::int64_t> integerValue(const QString& key) const;
    std::optional<bool> boolValue(const QString& key) const;
    std::optional<QString> stringValue(const QString& key) const;
    std::optional<QByteArray> dataValue(const QString& key) const;
    bool contains(const QString& key) const;
    // The stored value as JSON text, whatever its type (for keeping copies); empty when absent.
    QByteArray jsonText(const QString& key) const;

    void set(const QString& key, const Value& value);

    // Writes pending changes now. False when the file could not be written (the values stay
    // in memory and are written with the next change).
    bool synchronize();

    // Writes data to a new file named after stem beside the defaults file, never replacing an
    // existing one. Returns the file's path, or an empty string when it could not be written.
    QString keepCopy(const QString& stem, const QByteArray& data);

Q_SIGNALS:
    // A value was stored (emitted on the writing thread, after the store).
    void valueChanged(const QString& key);

private:
    void load();
    void scheduleWrite();
    QString uniquePath(const QString& stem, const QString& suffix) const;
    bool backUpUnreadableFile();

    template <typename T> std::optional<T> typed(const QString& key) const;

    const QString m_folder;
    const QString m_filePath;

    mutable std::mutex m_mutex;
    QHash<QString, Value> m_values;
    bool m_dirty = false;
    bool m_unreadableFile = false;
    bool m_loadedUnreadable = false;

    std::mutex m_fileMutex; // serializes writers of the file
    std::atomic<bool> m_writeScheduled { false };
};

} // namespace tremlor
