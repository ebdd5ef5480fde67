#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What an update would do to the files the user may have made their own, as a dry run of the converter tells
// it: one line for each file merged, set aside, removed or kept where it is; the files written afresh are left
// out. Nothing when the dry run cannot start, fails or takes longer than the timeout: the run itself will say
// why.
std::optional<QStringList> updatePreview(const QString& program, const QStringList& arguments, int timeoutMilliseconds);

// The lines above, at most `shownLines` of them and a count of the rest, as the Finish question ends.
QString updatePreviewText(const QStringList& lines, qsizetype shownLines);
