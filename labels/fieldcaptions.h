#pragma once

#include <QString>

// The captions beside the form's fields, in the window's language: the core
// knows a field by its id only. The texts are the main window's to
// translate, as every text of the form is.

// The caption of line edit `field` (its colon included); empty for a field
// shown without one (the SMS texts r16 … r27, the telephones).
QString fieldCaption(int field);
// The name of SMS operator `index` in the list beside the SMS centre; the
// custom entry's in the window's language.
QString operatorName(int index);
