#pragma once

#include "wizard_fields.h"

#include <QStringList>

// What keeps each field of the first page from being taken, in the order project file, install location,
// destination folder, name; an empty text where nothing does.
QStringList firstPageProblems(const WizardFields& fields);

// Whether the destination folder is named but not there, so that the page can offer to create it.
bool destinationIsMissing(const WizardFields& fields);

// The same for the personality page: message, template analyser, compiler. Every personality is optional, but
// one that is named must be a file.
QStringList personalityPageProblems(const WizardFields& fields);
