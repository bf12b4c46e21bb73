#pragma once

#include <QObject>

class QLineEdit;
class QWidget;

// A number pasted into a telephone field (Shift+Insert, or Paste in the
// field's menu) goes in as the module keeps it: "+36 30 999 8877" becomes
// 36309998877, read as a number of the form's own country, as an import
// reads it; what is no number is pasted as it stands, under the field's
// rules. Typing keeps the field's own rules.
class TelephonePaste : public QObject
{
public:
    TelephonePaste(QWidget *form, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paste(QLineEdit *field);
    void showMenu(QLineEdit *field, const class QPoint &where);

    QWidget *m_form;
};
