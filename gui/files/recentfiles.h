#pragma once

#include <QStringList>

// The content files opened or saved last, newest first, kept per user beside
// the remembered port ($XDG_CONFIG_HOME/tavir340/tavir340.ini).
namespace RecentFiles {

inline constexpr int Kept = 8;

QStringList list();
// `path` first; a name that was there moves up, the oldest beyond Kept goes.
void add(const QString &path);

} // namespace RecentFiles
