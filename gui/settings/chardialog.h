#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// A dialog that asks for one character: the checksum character, the
// acknowledge character or the upload command. OK is enabled only while the
// field holds a character.
class CharDialog : public QDialog
{
    Q_OBJECT

public:
    QString text() const;

public slots:
    void handleChange(const QString &text);

protected:
    struct Look
    {
        const char *objectName;
        const char *title;
        const char *caption;
        QSize size;
        QRect buttonBox;
        QRect row;
        bool centredButtons;
    };
    CharDialog(const Look &look, const QString &initial, QWidget *parent);
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    Look m_look;
    QLabel *m_label;
    QLineEdit *m_char;
    QDialogButtonBox *m_buttonBox;
};

class setFix : public CharDialog
{
    Q_OBJECT
public:
    explicit setFix(QWidget *parent);
};

class setAck : public CharDialog
{
    Q_OBJECT
public:
    setAck(QWidget *parent, char current);
};

class setUC : public CharDialog
{
    Q_OBJECT
public:
    setUC(QWidget *parent, char current);
};

// The download and upload separators, each one character; OK is enabled
// only while both hold one.
class separators : public QDialog
{
    Q_OBJECT

public:
    separators(QWidget *parent, char download, char upload);
    QString downloadSeparator() const;
    QString uploadSeparator() const;

public slots:
    void handleChange();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QLabel *m_downloadLabel;
    QLabel *m_uploadLabel;
    QLineEdit *m_download;
    QLineEdit *m_upload;
    QDialogButtonBox *m_buttonBox;
};
