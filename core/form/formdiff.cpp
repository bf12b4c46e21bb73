#include "formdiff.h"

bool isCheckBox(const FieldDifference &difference)
{
    return checkBoxIndex(difference.name) >= 0;
}
