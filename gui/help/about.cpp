#include "about.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

about::about(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("about");
    resize(311, 200);

    auto *container = new QWidget(this);
    container->setObjectName("verticalLayoutWidget");
    container->setGeometry(20, 20, 268, 164);
    auto *layout = new QVBoxLayout(container);
    layout->setObjectName("verticalLayout");
    layout->setContentsMargins(0, 0, 0, 0);

    auto addLabel = [&](const char *name) {
        auto *label = new QLabel(container);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignCenter);
        // The notice and the credit line are wider than the box in common
        // desktop fonts; they wrap onto a second line rather than lose their ends.
        label->setWordWrap(true);
        layout->addWidget(label);
        return label;
    };
    m_notice = addLabel("label");
    m_web = addLabel("label_3");
    m_mail = addLabel("label_2");
    layout->addItem(new QSpacerItem(20, 50, QSizePolicy::Minimum, QSizePolicy::Expanding));
    m_author = addLabel("label_4");
    QFont italic = m_author->font();
    italic.setItalic(true);
    m_author->setFont(italic);
    layout->addItem(new QSpacerItem(20, 50, QSizePolicy::Minimum, QSizePolicy::Expanding));
    m_version = addLabel("label_6");

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, Qt::Horizontal, container);
    buttons->setObjectName("buttonBox");
    buttons->setCenterButtons(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    retranslateUi();
}

void about::retranslateUi()
{
    setWindowTitle(tr("About"));
    m_notice->setText(tr("© Példa Elektronika Kft. 2026. Minden jog fenntartva."));
    m_web->setText(tr("www.example.com"));
    m_mail->setText(tr("tavir340@example.com"));
    m_author->setText(tr("Készítette: a Példa Elektronika fejlesztőcsapata"));
    m_version->setText(tr("Version v1.4"));
}

void about::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}
