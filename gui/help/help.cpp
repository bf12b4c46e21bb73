#include "help.h"

#include "core/content/datafiles.h"
#include "core/help/helptext.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QPlainTextEdit>

help::help(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("help");
    resize(880, 680);
    setMinimumSize(880, 680);
    setMaximumSize(880, 680);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName("plainTextEdit");
    m_text->setGeometry(10, 10, 860, 630);
    m_text->setReadOnly(true);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Close, Qt::Horizontal, this);
    m_buttonBox->setObjectName("buttonBox");
    m_buttonBox->setGeometry(10, 645, 860, 32);
    m_buttonBox->setMaximumWidth(880);
    m_buttonBox->setCenterButtons(true);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    retranslateUi();

    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The help in the window's language: its file's name is translated too.
    m_text->setPlainText(readHelpText(dataFilePath(tr("tavir_16.hlp"))).value_or(tr("ERROR: Canot open the help file.")));
}

void help::retranslateUi()
{
    setWindowTitle(tr("Help"));
}

void help::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}
