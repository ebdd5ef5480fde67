#pragma once

#include "wizard_fields.h"

// The last page's account of what a run will do, one block per field; an empty field is named for what it
// means to the converter, so that the summary has no blank items. A project group's members are listed.
QString summaryText(const WizardFields& fields);
