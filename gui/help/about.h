#pragma once

#include <QDialog>

class QLabel;

// The About box: the maker, how to reach them, and the version.
class about : public QDialog
{
    Q_OBJECT

public:
    explicit about(QWidget *parent);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QLabel *m_notice;
    QLabel *m_web;
    QLabel *m_mail;
    QLabel *m_author;
    QLabel *m_version;
};
