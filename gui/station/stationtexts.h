#pragma once

#include "core/content/manifest.h"
#include "core/content/manifestfile.h"
#include "core/provisioning/steps.h"
#include "core/provisioning/unitprovisioning.h"
#include "core/provisioning/unitstatus.h"

#include <QString>

// What the station says about what the core reports, in the window's
// language: stages, a unit's outcome, a manifest's problems, a unit's state.
namespace StationText {

// "Mentés", "Betöltés", "Visszaolvasás", "Ellenőrzés".
QString stage(Stage stage);
// The outcome of a unit in words, with the fields that differ for a failed
// verify and the unit the module holds for one not swapped.
QString outcome(const UnitOutcome &outcome);
// "3. sor, m_pin oszlop: …".
QString manifestProblem(const ManifestProblem &problem, char separator);
// A unit's state as the manifest table shows it ("done" → "kész").
QString unitState(UnitStatus::State state);

} // namespace StationText
