#include "chardialog.h"

#include "core/settings/linksettings.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>

namespace {

// A row of caption, stretch and a one-character field, as all these
// dialogs show it.
QLineEdit *addCharRow(QWidget *dialog, const QRect &geometry, QLabel **label, const char *labelName,
                      const char *editName)
{
    auto *row = new QWidget(dialog);
    row->setGeometry(geometry);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    *label = new QLabel(row);
    (*label)->setObjectName(QLatin1String(labelName));
    auto *edit = new QLineEdit(row);
    edit->setObjectName(QLatin1String(editName));
    edit->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    edit->setMaxLength(1);
    edit->setFixedWidth(30);
    layout->addWidget(*label);
    layout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout->addWidget(edit);
    return edit;
}

QDialogButtonBox *addButtons(QDialog *dialog, const QRect &geometry, bool centred)
{
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, dialog);
    box->setObjectName("buttonBox");
    box->setGeometry(geometry);
    box->setCenterButtons(centred);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QString initialText(char current)
{
    return QString(settingChar(current));
}

} // namespace

CharDialog::CharDialog(const Look &look, const QString &initial, QWidget *parent)
    : QDialog(parent)
    , m_look(look)
{
    setObjectName(QLatin1String(look.objectName));
    resize(look.size);
    m_buttonBox = addButtons(this, look.buttonBox, look.centredButtons);
    m_char = addCharRow(this, look.row, &m_label, "label", "i_char");
    m_char->setText(initial);
    connect(m_char, &QLineEdit::textChanged, this, &CharDialog::handleChange);
    handleChange(m_char->text());
    retranslateUi();
}

QString CharDialog::text() const
{
    return m_char->text();
}

void CharDialog::handleChange(const QString &text)
{
    m_buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!text.isEmpty());
}

void CharDialog::retranslateUi()
{
    setWindowTitle(tr(m_look.title));
    m_label->setText(tr(m_look.caption));
}

void CharDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

setFix::setFix(QWidget *parent)
    : CharDialog({"setFix", "CHKS Char", "CHKS Char:", {268, 127}, {10, 80, 191, 32}, {20, 20, 234, 31}, true},
                 QString(), parent)
{
}

setAck::setAck(QWidget *parent, char current)
    : CharDialog({"setAck", "ACK char", "ACK Char:", {286, 114}, {60, 70, 191, 32}, {20, 20, 234, 31}, false},
                 initialText(current), parent)
{
}

setUC::setUC(QWidget *parent, char current)
    : CharDialog({"setUC", "Upload Command", "Upload Command: ", {320, 118}, {80, 70, 221, 32},
                  {20, 20, 285, 31}, false},
                 initialText(current), parent)
{
}

separators::separators(QWidget *parent, char download, char upload)
    : QDialog(parent)
{
    setObjectName("separators");
    resize(325, 157);
    m_buttonBox = addButtons(this, {120, 110, 191, 32}, false);
    m_download = addCharRow(this, {20, 20, 291, 31}, &m_downloadLabel, "label", "c_ds");
    m_upload = addCharRow(this, {20, 60, 291, 31}, &m_uploadLabel, "label_2", "c_us");
    m_download->setText(initialText(download));
    m_upload->setText(initialText(upload));
    connect(m_download, &QLineEdit::textChanged, this, &separators::handleChange);
    connect(m_upload, &QLineEdit::textChanged, this, &separators::handleChange);
    handleChange();
    retranslateUi();
}

QString separators::downloadSeparator() const
{
    return m_download->text();
}

QString separators::uploadSeparator() const
{
    return m_upload->text();
}

void separators::handleChange()
{
    m_buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!m_download->text().isEmpty()
                                                          && !m_upload->text().isEmpty());
}

void separators::retranslateUi()
{
    setWindowTitle(tr("Separators"));
    m_downloadLabel->setText(tr("Download separator:"));
    m_uploadLabel->setText(tr("Upload separator:"));
}

void separators::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}
