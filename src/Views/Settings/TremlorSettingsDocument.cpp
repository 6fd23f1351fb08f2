#include "Views/Settings/TremlorSettingsDocument.h"

#include "Models/TremlorSettings.h"
#include "Platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cmath>

namespace tremlor {

namespace {

bool isTimeOfDay(const DateComponents& time)
{
    const bool hourOk = !time.hour || (*time.hour >= 0 && *time.hour <= 23);
    const bool minuteOk = !time.minute || (*time.minute >= 0 && *time.minute <= 59);
    return hourOk && minuteOk;
}

// Views, edits and the schedule find a record by its id: two records with one id would make a
// row that edits the other one.
template <typename Record> bool hasUniqueIds(const QList<Record>& records)
{
    QSet<QUuid> seen;
    seen.reserve(records.size());
    for (const Record& record : records) {
        if (seen.contains(record.id))
            return false;
        seen.insert(record.id);
    }
    return true;
}

} // namespace

std::optional<TremlorSettingsDocument> TremlorSettingsDocument::fromSettings(const TremlorSettings& settings)
{
    const SettingsExport record(settings, settings.profiles(), settings.scheduleEntries());
    std::optional<QByteArray> data = record.encode();
    if (!data)
        return std::nullopt;
    return TremlorSettingsDocument(std::move(*data));
}

std::optional<TremlorSettingsDocument> TremlorSettingsDocument::read(const QString& path)
{
    // A pipe or a device would block the reader or never end: only regular files are read.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > maximumFileSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The file may have grown since it was measured.
    QByteArray data = file.read(maximumFileSize + 1);
    if (data.size() > maximumFileSize || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return TremlorSettingsDocument(std::move(data));
}

bool TremlorSettingsDocument::write(const QString& path) const
{
    return writeFileAtomically(path, m_data);
}

bool TremlorSettingsDocument::isSound(const SettingsExport& record)
{
    const auto finite = [](double value) { return std::isfinite(value); };
    if (!finite(record.maxInterval) || !finite(record.jiggleDistance) || !finite(record.idleThreshold))
        return false;
    if (!hasUniqueIds(record.profiles) || !hasUniqueIds(record.scheduleEntries))
        return false;
    for (const Profile& profile : record.profiles) {
        if (!finite(profile.maxInterval) || !finite(profile.jiggleDistance))
            return false;
    }
    for (const ScheduleEntry& entry : record.scheduleEntries) {
        if (!isTimeOfDay(entry.startTime) || !isTimeOfDay(entry.endTime))
            return false;
    }
    return true;
}

std::optional<SettingsExport> TremlorSettingsDocument::record() const
{
    DecodeResult<SettingsExport> result = SettingsExport::decode(m_data);
    if (!result || !isSound(*result.value))
        return std::nullopt;
    return std::move(result.value);
}

bool TremlorSettingsDocument::exportTo(const QString& path, const TremlorSettings& settings)
{
    const std::optional<TremlorSettingsDocument> document = fromSettings(settings);
    return document && document->write(path);
}

bool TremlorSettingsDocument::importFrom(const QString& path, TremlorSettings& settings)
{
    const std::optional<TremlorSettingsDocument> document = read(path);
    if (!document)
        return false;
    const std::optional<SettingsExport> record = document->record();
    if (!record)
        return false;
    record->apply(settings);
    return true;
}

} // namespace tremlor
