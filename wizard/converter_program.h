#pragma once

#include <QString>

// The bare name by which the wizard asks for the converter.
inline const QString converterProgramName = QStringLiteral("ProjbridgeCli");

// The converter's file name as this platform spells it, for messages that tell the user what to look for.
QString converterFileName();

// The converter's executable: the one beside the wizard's own program first, else the one on the search path;
// empty when neither exists.
QString findConverter(const QString& programName, const QString& ownFolder);
