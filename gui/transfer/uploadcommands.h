#pragma once

#include <functional>

struct JournalEntry;
struct LinkSettings;
class QComboBox;
class TransferRunner;
class QWidget;

// Read-up and verify: both ask the module for its content behind a
// window-modal, cancellable progress dialog, the exchange on the runner's
// thread while the window goes on serving its events. Read-up puts the answer into the form once every check has
// passed; verify compares it with the form and says whether they match. Each
// fills in the end of its journal entry before it says how it went.
void readupFromModule(QWidget *window, TransferRunner &runner, const LinkSettings &settings, QWidget *central,
                      QComboBox *operatorCombo, JournalEntry &entry);
void verifyAgainstModule(QWidget *window, TransferRunner &runner, LinkSettings &settings, QWidget *central, JournalEntry &entry);

// Told every value the read-up's and verify's bar is given, as it is given:
// what a test watches instead of sampling the screen. None by default.
void setAnswerBarObserver(std::function<void(int value)> observer);
