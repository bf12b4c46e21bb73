#include "provingrate.h"

#include <algorithm>
#include <cmath>

void ProvingRate::addProof(qint64 provenMs)
{
    m_proofs.append(provenMs);
    // What left the window of the newest proof never comes back into one.
    const qint64 newest = *std::max_element(m_proofs.cbegin(), m_proofs.cend());
    m_proofs.removeIf([newest](qint64 at) { return at < newest - WindowMs; });
}

double ProvingRate::perHour(qint64 nowMs) const
{
    const auto inWindow = std::count_if(m_proofs.cbegin(), m_proofs.cend(),
                                        [nowMs](qint64 at) { return at > nowMs - WindowMs && at <= nowMs; });
    constexpr double HourMs = 60.0 * 60 * 1000;
    return double(inWindow) * HourMs / double(WindowMs);
}

std::optional<qint64> ProvingRate::finishMs(int left, qint64 nowMs) const
{
    const double rate = perHour(nowMs);
    if (rate <= 0 || left < 0)
        return std::nullopt;
    constexpr double HourMs = 60.0 * 60 * 1000;
    return nowMs + qint64(std::ceil(double(left) / rate * HourMs));
}
