#pragma once

#include "core/form/formdiff.h"
#include "core/form/formvalues.h"
#include "core/settings/linksettings.h"
#include "core/record/contentrecord.h"
#include "core/record/moduleanswer.h"
#include "core/link/moduleexchange.h"

class SerialLink;

// Read-up and verify as both fronts offer them: the port opened and locked,
// the request sent, the answer collected and judged, with the outcome as
// values for each front to phrase. The link is the caller's, so that it can
// keep the port while it shows the outcome; its interrupt ends the exchange.

// Told how a read-up or verify is getting on.
class UploadWatcher
{
public:
    virtual ~UploadWatcher() = default;
    // The port is ours and the request goes out now.
    virtual void started() {}
    // After every read, with how many bytes have come; false abandons the
    // receive.
    virtual bool received(int bytes) = 0;
};

struct ReadupOutcome : ExchangeReport
{
    QByteArray answer;   // the bytes the module sent
    AnswerError answerError = AnswerError::None;
    int fieldCount = 0;  // the fields found in a bad answer
    FormValues values;   // the form with the module's content, when Done
};

// The module's content as it would fill `current`.
ReadupOutcome readUp(SerialLink &link, const LinkSettings &settings, const FormValues &current,
                     UploadWatcher &watcher);

struct VerifyOutcome : ExchangeReport
{
    QByteArray answer;            // the bytes the module sent
    RecordResult refusal;        // why the form was refused, for Refused
    AnswerComparison comparison;  // for Mismatch: the form first, the module second
};

// Whether the module holds exactly `form`. The comparison text goes to
// settings.RecordText first, as a verify has always left it.
VerifyOutcome verify(SerialLink &link, LinkSettings &settings, const FormValues &form, UploadWatcher &watcher);
