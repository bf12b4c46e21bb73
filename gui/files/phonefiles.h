#pragma once

class FormHistory;
class QWidget;
class WindowPhoneBook;
struct PhoneBook;

// File → Telefonszámok importálása: a contacts file chosen, its numbers
// previewed, the chosen ones put into the form's free rows as one step of
// its history, their names into the phone book.
void importPhones(QWidget *window, QWidget *form, FormHistory &history, WindowPhoneBook &book);

// File → Telefonszámok exportálása: the form's numbers with their names as
// a table (with rows and permissions: it reads back into the same rows) or
// vCard, by the filter chosen or the name's suffix.
void exportPhones(QWidget *window, QWidget *form, const PhoneBook &book);
