#include "unitfilterbar.h"

#include "unitfilter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// The station's texts, in the context they are translated in.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(StationWindow)
};

} // namespace

QHBoxLayout *unitFilterBar(UnitFilter *filter, QWidget *window)
{
    using State = UnitStatus::State;
    auto *states = new QComboBox(window);
    states->setObjectName(QStringLiteral("stateFilter"));
    states->addItem(Texts::tr("Minden egység"));
    states->addItem(Texts::tr("Hibák"));
    states->addItem(Texts::tr("Nem igazolt"));
    states->addItem(Texts::tr("Hátra van"));
    const QList<QSet<State>> shown = {{},
                                      {State::Failed, State::NotSwapped, State::Interrupted, State::ClaimLost},
                                      {State::NotProven},
                                      {State::Left, State::Claimed, State::Changed}};
    QObject::connect(states, &QComboBox::currentIndexChanged, filter, [filter, shown](int index) { filter->setStates(shown.value(index)); });
    auto *search = new QLineEdit(window);
    search->setObjectName(QStringLiteral("unitSearch"));
    search->setPlaceholderText(Texts::tr("egység neve"));
    search->setClearButtonEnabled(true);
    QObject::connect(search, &QLineEdit::textChanged, filter, &UnitFilter::setUnitText);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(Texts::tr("Táblázat:"), window));
    row->addWidget(states);
    row->addWidget(search, 1);
    return row;
}
