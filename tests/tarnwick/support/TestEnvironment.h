#pragma once

#include "tarnwick/app/AppEnvironment.h"

#include <QTemporaryDir>

/// Volumes a test sets up, some of which may be not ready.
class FakeVolumes : public VolumeSource
{
public:
    QList<Volume> list;
    QList<Volume> volumes() const override { return list; }
    bool makeCurrent(const QString &rootPath, QString *error) override;
};

/// A fresh application directory and volume list for one test. The application directory counts as
/// writable unless a test says otherwise: root could write it anyway.
class TestEnvironment
{
public:
    TestEnvironment();
    const AppEnvironment &environment() const { return m_environment; }
    QString appDir() const { return m_environment.applicationDirectory; }
    QString settingsFile() const { return m_environment.settingsFile(); }
    /// From now on the application directory counts as read-only: the settings and temporary files
    /// go to per-user folders under the scratch space.
    void useReadOnlyApplicationFolder();
    /// The environment of a program whose folder is `relative` under the scratch space, not made.
    AppEnvironment environmentIn(const QString &relative) const;
    FakeVolumes &volumes() { return *m_volumes; }
    /// A directory under the test's own scratch space, created on demand.
    QString makeDirectory(const QString &relative) const;
    /// Creates an empty file (and its directory) under the scratch space and returns its path.
    QString makeFile(const QString &relative, const QByteArray &contents = {}) const;
    QString scratch() const { return m_scratch.path(); }

private:
    QTemporaryDir m_appDir;
    QTemporaryDir m_scratch;
    std::shared_ptr<FakeVolumes> m_volumes = std::make_shared<FakeVolumes>();
    AppEnvironment m_environment;
};
