#pragma once

class QHBoxLayout;
class QWidget;
class UnitFilter;

// The row above the station's table that narrows it: a state (the
// failures, the units not proven or left to do) and a text in the unit's
// name.
QHBoxLayout *unitFilterBar(UnitFilter *filter, QWidget *window);
