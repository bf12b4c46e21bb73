#pragma once

#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;

// The help viewer: the help file up to its "---" line, read-only, unwrapped.
// Closing it only hides it; it goes with the main window.
class help : public QDialog
{
    Q_OBJECT

public:
    explicit help(QWidget *parent);
    QPlainTextEdit *textView() const { return m_text; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QPlainTextEdit *m_text;
    QDialogButtonBox *m_buttonBox;
};
