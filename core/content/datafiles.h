#pragma once

#include <QString>

// Where the program finds its data files ("default16.ui", "tavir_16.hlp"):
// the current directory first, so a technician's own copy wins, then the data
// folder beside the program (build tree or installed), then the folder it was
// installed to. Returns `name` itself when none has it.
QString dataFilePath(const QString &name);
