#pragma once

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// What the program keeps per user ($XDG_CONFIG_HOME/tavir340/tavir340.ini):
// the port used last, the recent files, the station's set-up.
//
// It runs as root with configuration folders others may share, so the file
// is read and written only where it is the user's own: its folder is the
// user's and 0700, the file a regular file of the user's, never reached
// through a link, and written whole and 0600 through OutputFile. A folder or
// file of someone else is neither read nor written; the settings then last
// as long as this object. Qt's own ini reading and writing work on a private
// copy.
class UserSettings
{
public:
    UserSettings();
    // Writes the settings back when they changed.
    ~UserSettings();
    UserSettings(const UserSettings &) = delete;
    UserSettings &operator=(const UserSettings &) = delete;

    QSettings *operator->() { return m_settings.get(); }
    // The file, and whether it is the user's own (read, and written back).
    static QString path();
    bool isOwn() const { return m_own; }

private:
    QTemporaryDir m_copy;
    std::unique_ptr<QSettings> m_settings;
    QByteArray m_read;
    bool m_own = false;
};
