#pragma once

#include "wizard_fields.h"

#include <QStringList>

// The -ext list: the extensions of the ticked boxes in their fixed order, then the custom entries, each without
// blanks and a leading "*", "*." or "."; one trailing comma is dropped.
QString buildExtensionList(const QStringList& tickedExtensions, const QString& customExtensions);

// The name as typed without blanks around it and without the ".prj" that the converter adds itself.
QString projectName(const WizardFields& fields);

// The converter's command line as the fields give it: the program name, then its arguments.
QStringList converterCommandLine(const WizardFields& fields);

// Where the converter writes the project, and where the options put the report and the compilation databases:
// in the destination folder, under the project's name. The databases go beside the project file rather than
// into the project's own folder, which is named after the source file and so may not exist under the name given.
QString projectFilePath(const WizardFields& fields);
QString reportFilePath(const WizardFields& fields);
QString compilationDatabaseFolder(const WizardFields& fields);
