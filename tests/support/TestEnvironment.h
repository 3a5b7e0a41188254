#pragma once

#include <QTemporaryDir>

// Gives a test process its own home, config, data and runtime folders, so that no test reads
// or writes the developer's real settings, remembered login or sound files, and a session bus
// address where nobody listens (no keyring, no notification server of the developer's).
class TestEnvironment
{
public:
    TestEnvironment();
    QString home() const { return m_dir.path(); }
    QString configDir() const; // what QStandardPaths::AppConfigLocation resolves to
    QString dataDir() const; // what QStandardPaths::AppDataLocation resolves to

private:
    QTemporaryDir m_dir;
};
