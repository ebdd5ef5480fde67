// The personality files each written group names: placeholders for the message
// and compiler personalities, the project-wide default analyser personality and
// a group's own analyser personality built from its include folders and macros.
#include "writer/project_writer.h"

#include "base/console.h"
#include "base/output_file.h"
#include "platform/platform.h"
#include "reader/group.h"
#include "layout/destination_folders.h"
#include "layout/output_paths.h"
#include "layout/output_plan.h"
#include "writer/template_text.h"

std::string ProjectWriter::selectMessagePersonality()
{
    return selectPlaceholder(settings.messagePersonality, messageExtension);
}

std::string ProjectWriter::selectCompilerPersonality()
{
    return selectPlaceholder(settings.compilerPersonality, compilerExtension);
}

// The personality the user named, or the project-wide placeholder, made empty
// when missing. Once it exists it is the user's: the messages they silence and
// their compiler's settings are kept there, so it is never made empty again.
// A placeholder that cannot be made is reported: the project would name a file
// that is not there.
std::string ProjectWriter::selectPlaceholder(const std::string& named, std::string_view extension)
{
    if (!named.empty()) {
        return named;
    }
    folders.makeDirectory(projectPersonFolder(settings));
    const std::string path = projectPersonality(settings, extension);
    // A folder or a link in its place is a file that cannot be written.
    if (platform::entryKind(path) != platform::EntryKind::other) {
        OutputFile(path, folders.preview()).close();
    }
    return path;
}

// Decided by the plan from this run alone: what an earlier run left in the
// destination never changes which file a project names.
const std::string& ProjectWriter::chooseAnalyserPersonality(const PlannedGroup& planned)
{
    if (planned.ownAnalyser) {
        printLine("  Creating Analyser Personality - " + planned.analyser);
    }
    return planned.analyser;
}

void ProjectWriter::produceAnalyserPersonality(const PlannedGroup& planned)
{
    if (planned.ownAnalyser) {
        writeAnalyserPersonality(*planned.group, planned.analyser);
        return;
    }
    // An inherited personality, the default one included, is made once and then
    // left as the user may have edited it.
    if (platform::pathExists(planned.analyser)) {
        return;
    }
    folders.makeDirectory(projectPersonFolder(settings));
    OutputFile personality(planned.analyser, folders.preview());
    appendTemplate(personality);
    personality.close();
}

void ProjectWriter::writeAnalyserPersonality(const Group& group, const std::string& path)
{
    OutputFile personality(path, folders.preview());
    for (const std::string& folder : group.includePaths()) {
        personality.writeLine("-i \"" + folder + "\"");
    }
    for (const auto& [macro, value] : group.definitions()) {
        personality.writeLine("-d \"" + macro + (value.empty() ? "" : "=" + value) + "\"");
    }
    appendTemplate(personality);
    personality.close();
}

// The template ends every analyser personality that the writer creates.
void ProjectWriter::appendTemplate(OutputFile& personality)
{
    if (settings.analyserTemplate.empty()) {
        return;
    }
    const std::optional<std::string> text = readTemplateText(settings.analyserTemplate);
    if (text) {
        personality.writeText(*text);
    } else {
        printLine("Couldnt open file");
    }
}
