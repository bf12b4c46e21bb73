#include "stationscan.h"

#include "core/label/labelcontent.h"
#include "stationlabels.h"
#include "stationoverview.h"
#include "stationunits.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

StationScan::StationScan(QLabel *line, StationOverview *overview, StationLabels *labels, QWidget *window)
    : QObject(window)
    , m_line(line)
    , m_overview(overview)
    , m_labels(labels)
    , m_window(window)
{
    m_line->setObjectName(QStringLiteral("scanLine"));
    m_line->setWordWrap(true);
    m_line->hide();
}

void StationScan::setUnits(const QList<ManifestUnit> *units, bool watching)
{
    m_units = units;
    m_watching = watching;
    forget();
}

void StationScan::forget()
{
    m_picked = -1;
    m_line->clear();
    m_line->hide();
}

void StationScan::say(const QString &text)
{
    m_line->setText(text);
    m_line->show();
}

void StationScan::scanned(const QString &code)
{
    if (!m_units)
        return;
    const ScannedCode read = readScannedCode(code, *m_units);
    switch (read.kind) {
    case ScannedCode::Kind::Unit:
        scannedUnit(read.unit);
        return;
    case ScannedCode::Kind::Label:
        scannedLabel(read);
        return;
    case ScannedCode::Kind::Unknown:
        m_picked = -1;
        say(tr("Vonalkód: „%1” — nincs ilyen egység a manifestben, és nem is a program címkéje.").arg(code.trimmed()));
        return;
    }
}

void StationScan::scannedUnit(int unit)
{
    const QString name = (*m_units)[unit].unit;
    if (m_watching) {
        emit unitEntriesWanted(unit);
        return;
    }
    const UnitStatus status = m_overview->units()->statuses().value(unit);
    switch (judgeScannedUnit(status)) {
    case ScanRefusal::Done:
        m_picked = -1;
        say(tr("Vonalkód: %1 már kész (igazolva); nem kerül újra modulba.").arg(name));
        return;
    case ScanRefusal::Claimed:
        m_picked = -1;
        say(tr("Vonalkód: %1 most készül (%2); nem választható.").arg(name, status.station));
        return;
    case ScanRefusal::None:
        break;
    }
    m_picked = unit;
    say(tr("Vonalkód: %1 kiválasztva — a következő megnyomott port gombja ezt az egységet veszi.").arg(name));
}

bool StationScan::handOver(int port, const QList<int> &portCandidates)
{
    if (m_picked < 0)
        return true;
    const QString name = (*m_units)[m_picked].unit;
    if (!portCandidates.contains(m_picked)) {
        say(tr("Vonalkód: %1 nem ehhez a porthoz tartozik (%2); a manifest másik portot ír elő.")
                .arg(name, (*m_units)[m_picked].port.isEmpty() ? QString::number(port + 1) : (*m_units)[m_picked].port));
        return false;
    }
    if (judgeScannedUnit(m_overview->units()->statuses().value(m_picked)) != ScanRefusal::None) {
        scannedUnit(m_picked);  // taken meanwhile: says why
        return false;
    }
    m_line->hide();
    return true;
}

void StationScan::scannedLabel(const ScannedCode &code)
{
    m_picked = -1;
    say(tr("Vonalkód: a címke bejegyzése (%1) a naplóban...").arg(code.entry));
    m_overview->readEntry(code.entry, [this, code](const std::optional<JournalEntry> &read) { showEntry(code, read); });
}

// The entry behind a label, checked against what the label says; Enter
// makes the label again where the station's labels go.
void StationScan::showEntry(const ScannedCode &code, const std::optional<JournalEntry> &read)
{
    const std::optional<LabelContent> made = read ? labelFor(*read) : std::nullopt;
    if (!made) {
        say(tr("Vonalkód: a címke %1. bejegyzése nincs a naplóban igazolt egységként.").arg(code.entry));
        return;
    }
    if (made->unit != code.unitName || !made->recordSha256.toLower().startsWith(code.hash)) {
        say(tr("Vonalkód: a címke nem egyezik a napló %1. bejegyzésével (a naplóban: %2).").arg(code.entry).arg(made->unit));
        return;
    }
    say(tr("Vonalkód: %1 címkéje — %2. bejegyzés.").arg(made->unit).arg(code.entry));
    auto *box = new QMessageBox(QMessageBox::Information, tr("Címke"),
                                tr("%1\nIgazolva: %2, %3 állomás\nModul: %4\nBejegyzés: %5, rekord: %6")
                                    .arg(made->unit, made->provenUtc(), made->station, made->moduleId)
                                    .arg(made->entry)
                                    .arg(made->shortHash()),
                                QMessageBox::Close, m_window);
    box->setObjectName(QStringLiteral("scannedLabel"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *again = box->addButton(tr("Címke ú&jra"), QMessageBox::AcceptRole);
    box->setDefaultButton(again);
    connect(again, &QPushButton::clicked, this, [this, label = *made] {
        const QString note = m_labels->labelAgain(label);
        say(note.isEmpty() ? tr("Vonalkód: nincs címke választva.") : tr("Vonalkód: %1 — %2").arg(label.unit, note));
    });
    connect(box, &QDialog::finished, m_window, [window = m_window] { window->activateWindow(); });
    box->open();
}
