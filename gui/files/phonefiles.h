#pragma once

class FormHistory;
class QWidget;

// File → Telefonszámok importálása: a vCard or CSV file chosen, its numbers
// previewed, the chosen ones put into the form's free rows as one step of
// its history.
void importPhones(QWidget *window, QWidget *form, FormHistory &history);

// File → Telefonszámok exportálása: the form's numbers as CSV or vCard, by
// the filter chosen or the name's suffix.
void exportPhones(QWidget *window, QWidget *form);
