#pragma once

#include <QList>
#include <QtGlobal>

#include <optional>

// How fast a manifest is being proven: units an hour over the last half
// hour of proofs, and when the units left will be done at that pace. Times
// are the proofs' own (their journal entries'), "now" is given, so the
// figures follow the journal and not the clock a test cannot set.
class ProvingRate
{
public:
    static constexpr qint64 WindowMs = 30 * 60 * 1000;

    void clear() { m_proofs.clear(); }
    void addProof(qint64 provenMs);
    // Units an hour over the window before `nowMs`; 0 with no proof in it.
    double perHour(qint64 nowMs) const;
    // When `left` units will be done at that pace; none without a pace.
    std::optional<qint64> finishMs(int left, qint64 nowMs) const;

private:
    QList<qint64> m_proofs;  // within the window of the latest look, oldest pruned
};
