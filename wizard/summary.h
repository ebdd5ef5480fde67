#pragma once

#include "project_group.h"
#include "wizard_fields.h"

#include <optional>

// The last page's account of what a run will do, one block per field; an empty field is named for what it
// means to the converter, so that the summary has no blank items. The members of a project group source, as
// read from it, are listed.
QString summaryText(const WizardFields& fields, const std::optional<ProjectGroup>& group);
