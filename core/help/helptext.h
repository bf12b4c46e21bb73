#pragma once

#include <QString>

// The help file is plain text; a line that is exactly "---" ends what the
// viewer shows (that line included), so notes for maintainers can follow it.
QString readHelpText(const QString &path);
