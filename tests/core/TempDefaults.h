#pragma once

#include "Models/TremlorSettings.h"
#include "Platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaProperty>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Writes a file, making its folder first; returns its path.
inline QString writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(data);
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A defaults domain in a private temporary folder, with a store over it that can be reopened
// (as a restart would) to check what reached the file.
class TempDefaults {
public:
    TempDefaults() { open(); }

    QString folder() const { return m_dir.path(); }
    QString filePath() const { return m_defaults->filePath(); }
    tremlor::UserDefaults& defaults() { return *m_defaults; }
    tremlor::TremlorSettings& settings() { return *m_settings; }

    // Writes what is pending and opens the domain and store afresh from the file.
    void reopen() { replaceFile({}, false); }

    // Puts raw text in place of the defaults file, then reopens.
    void replaceFile(const QByteArray& text, bool replace = true)
    {
        m_settings.reset();
        m_defaults.reset();
        if (replace)
            writeFile(m_dir.path() + QStringLiteral("/com.tremlor.app.json"), text);
        open();
    }

    QByteArray fileText() const { return readFile(m_defaults->filePath()); }

private:
    void open()
    {
        m_defaults = std::make_unique<tremlor::UserDefaults>(m_dir.path());
        m_settings = std::make_unique<tremlor::TremlorSettings>(*m_defaults);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<tremlor::UserDefaults> m_defaults;
    std::unique_ptr<tremlor::TremlorSettings> m_settings;
};

// A value of the property's type that differs from value.
inline QVariant different(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        return value.toDouble() + 1.5;
    case QMetaType::LongLong:
        return value.toLongLong() + 41;
    case QMetaType::Bool:
        return !value.toBool();
    case QMetaType::QString:
        return value.toString() + QStringLiteral("x");
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<tremlor::MovementPattern>())
        return QVariant::fromValue(tremlor::MovementPattern::natural);
    if (value.metaType() == QMetaType::fromType<tremlor::RotationMode>())
        return QVariant::fromValue(tremlor::RotationMode::random);
    if (value.metaType() == QMetaType::fromType<tremlor::MenuBarDisplayMode>())
        return QVariant::fromValue(tremlor::MenuBarDisplayMode::iconAndAppName);
    return {};
}

// The store's own scalar properties: everything but the lists.
inline QList<QMetaProperty> scalarProperties(const QObject& object)
{
    QList<QMetaProperty> list;
    const QMetaObject* meta = object.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QByteArray name = meta->property(i).name();
        if (!name.contains("selectedApp") && name != "profiles" && name != "scheduleEntries")
            list.append(meta->property(i));
    }
    return list;
}
