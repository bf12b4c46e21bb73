#pragma once

#include "core/form/formdiff.h"
#include "core/form/formvalues.h"
#include "core/record/contentrecord.h"
#include "core/record/moduleanswer.h"
#include "core/settings/linksettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The one plan of a transfer. From a form and the link settings it gives
// either every refusal, or exactly what goes on the line, the hash the
// journal keeps of it, and what a module that holds it gives back field by
// field. The window, every command of the command line, their dry runs and
// the journal all read it from here, so that none of them can disagree.
//
struct PlannedTransfer;

// A plan exists only when nothing was refused: the senders take a
// TransferPlan, and there is no way to make one from a refused form.
class TransferPlan
{
public:
    // The record text as the settings' RecordText has always held it: for a
    // download the record and its checksum, for a verify the comparison text.
    const QString &record() const { return m_record; }
    // The record's pieces as they go onto the line, each ended by CR.
    const QList<QByteArray> &pieces() const { return m_pieces; }
    // The whole download as bytes: the request, then every piece.
    QByteArray downloadBytes() const;
    // SHA-256 of the pieces, as the journal keeps it.
    QString recordSha256() const;
    // What a module that holds the form gives back: its 44 items as stored,
    // blanks at the end removed, telephone items with their digits.
    const QStringList &storedItems() const { return m_storedItems; }
    // The answer such a module sends, piece by piece, each ended by CR.
    QList<QByteArray> expectedAnswer() const;
    // How the module's answer differs from the plan, field by field. An
    // answer that differs always names a field, or says why it has none.
    AnswerComparison compare(const QByteArray &received) const;

private:
    friend PlannedTransfer planTransfer(const FormValues &, const LinkSettings &, RecordPurpose);
    TransferPlan() = default;

    FormValues m_form;
    QString m_record;
    QList<QByteArray> m_pieces;
    QStringList m_storedItems;
};

struct PlannedTransfer
{
    QList<RecordResult> refusals;     // in the order the download looks; empty with a plan
    std::optional<TransferPlan> plan;  // only when nothing was refused
};

// The plan of a download (every refusal named) or of a verify (only what no
// module can store is refused).
PlannedTransfer planTransfer(const FormValues &form, const LinkSettings &settings, RecordPurpose purpose);

// The module's stored items compared field by field with the expected ones:
// texts by their line edit, permission digits by their boxes, and a
// telephone item whose digits differ in no box by its raw item.
QList<FieldDifference> compareStoredItems(const FormValues &form, const QStringList &expected, const QStringList &found);

// The items a form is stored as (see TransferPlan::storedItems).
QStringList storedItems(const FormValues &form);

// Two forms compared as a module would hold them, so that "5" and "0005" in
// the relay time are the same: what diff shows between two content files.
QList<FieldDifference> compareAsStored(const FormValues &first, const FormValues &second);
