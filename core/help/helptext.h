#pragma once

#include <QString>

#include <optional>

// The help file is plain text; a line that is exactly "---" ends what the
// viewer shows (that line included), so notes for maintainers can follow it.
// Nothing when there is no file at `path`.
std::optional<QString> readHelpText(const QString &path);
