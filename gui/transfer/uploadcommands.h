#pragma once

#include "core/operations/moduleoperations.h"

#include <memory>

class AnswerProgress;
struct JournalEntry;
struct LinkSettings;
class LineInterrupt;
class QComboBox;
class SerialLink;
class QWidget;

// Read-up and verify in the window. Both ask the module for its content: the
// exchange runs on the transfer runner's thread and its end goes into the
// journal entry there; the outcome is shown on the window's thread once the
// entry is complete. Read-up puts the answer into the form once every check
// has passed; verify compares it with the form and says whether they match.

// The progress dialogs of each, ready to show once the port is ours.
std::unique_ptr<AnswerProgress> readupProgress(QWidget *window, LineInterrupt &interrupt);
std::unique_ptr<AnswerProgress> verifyProgress(QWidget *window, LineInterrupt &interrupt);

// On the runner's thread. An exchange the technician cancelled counts as
// cancelled, however far it had come: its answer is not used.
ReadupOutcome readupExchange(const LinkSettings &settings, const FormValues &current, UploadWatcher &watcher,
                             const LineInterrupt &interrupt, JournalEntry &entry);
// The link stays open: the port is ours until the technician has read the outcome.
VerifyOutcome verifyExchange(SerialLink &link, LinkSettings &settings, const FormValues &form, UploadWatcher &watcher,
                             const LineInterrupt &interrupt, JournalEntry &entry);

// On the window's thread. Whether the read-up's content went into the form;
// otherwise a box has said why, or the technician cancelled it.
bool showReadup(QWidget *window, QWidget *central, QComboBox *operatorCombo, const ReadupOutcome &outcome);
void showVerify(QWidget *window, const QString &port, QWidget *central, const VerifyOutcome &outcome);
