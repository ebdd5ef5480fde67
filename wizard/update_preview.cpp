#include "update_preview.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringDecoder>

namespace {

const QString dryRunOption = QStringLiteral("-dry-run");
// A file written afresh holds nothing of the user's; the rest is what the question is for.
const QString writtenAfresh = QStringLiteral("Would write: ");
const QString previewLine = QStringLiteral("Would ");

QString tr(const char* text, int count = -1)
{
    return QCoreApplication::translate("Projbridge", text, nullptr, count);
}

} // namespace

std::optional<QStringList> updatePreview(const QString& program, const QStringList& arguments, int timeoutMilliseconds)
{
    QProcess dryRun;
    dryRun.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dryRun.start(program, QStringList(arguments) << dryRunOption);
    if (!dryRun.waitForFinished(timeoutMilliseconds)) {
        dryRun.kill();
        dryRun.waitForFinished();
        return std::nullopt;
    }
    if (dryRun.exitStatus() != QProcess::NormalExit || dryRun.exitCode() != 0) {
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::System);
    QStringList touched;
    for (const QString& line : QString(decoder.decode(dryRun.readAllStandardOutput())).remove(u'\r').split(u'\n')) {
        if (line.startsWith(previewLine) && !line.startsWith(writtenAfresh)) {
            touched << line;
        }
    }
    return touched;
}

QString updatePreviewText(const QStringList& lines, qsizetype shownLines)
{
    if (lines.isEmpty()) {
        return tr("No file you edited is merged or set aside, and none is removed.");
    }
    QStringList shown = lines.mid(0, shownLines);
    if (lines.size() > shownLines) {
        shown << tr("... and %n more", static_cast<int>(lines.size() - shownLines));
    }
    return tr("A dry run of this update says:") + u'\n' + shown.join(u'\n');
}
