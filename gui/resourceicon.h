#pragma once

#include <QIcon>
#include <QString>

// An icon whose picture is read from its file only when something first draws
// it. The menu pictures are large (up to 600 × 600) and mostly never shown,
// so decoding them all at start-up would double the time to the first window.
QIcon resourceIcon(const QString &path);
