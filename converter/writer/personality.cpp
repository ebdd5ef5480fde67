// The personality files each written group names: placeholders for the message
// and compiler personalities, the project-wide default analyser personality and
// a group's own analyser personality built from its include folders and macros.
#include "reader/group.h"

#include "base/console.h"
#include "base/output_file.h"
#include "base/windows_path.h"
#include "driver/converter.h"
#include "platform/platform.h"
#include "writer/output_paths.h"
#include "writer/template_text.h"

namespace {

// The personality the user named, or the project-wide placeholder, made empty
// when missing. Once it exists it is the user's: the messages they silence and
// their compiler's settings are kept there, so it is never made empty again.
// A placeholder that cannot be made is reported: the project would name a file
// that is not there.
std::string selectPlaceholder(const Converter& converter, const std::string& named, std::string_view extension)
{
    if (!named.empty()) {
        return named;
    }
    converter.getDestinationFolders().makeDirectory(projectPersonFolder(converter));
    const std::string path = projectPersonality(converter, extension);
    // A folder or a link in its place is a file that cannot be written.
    if (platform::entryKind(path) != platform::EntryKind::other) {
        OutputFile(path).close();
    }
    return path;
}

// The template ends every analyser personality that the writer creates.
void appendTemplate(const Converter& converter, OutputFile& personality)
{
    const std::string templatePath = converter.getAnalyserPersonality();
    if (templatePath.empty()) {
        return;
    }
    const std::optional<std::string> text = readTemplateText(templatePath);
    if (text) {
        personality.writeText(*text);
    } else {
        printLine("Couldnt open file");
    }
}

} // namespace

std::string Group::selectMessagePersonality(const Converter& converter) const
{
    return selectPlaceholder(converter, converter.getMessagePersonality(), messageExtension);
}

std::string Group::selectCompilerPersonality(const Converter& converter) const
{
    return selectPlaceholder(converter, converter.getCompilerPersonality(), compilerExtension);
}

// Decided from this run alone: what an earlier run left in the destination
// never changes which file a project names.
std::string Group::chooseAnalyserPersonality(const std::string& groupFolder, const std::string& folderName,
                                             const std::string& inherited) const
{
    if (!hasOwnAnalyserPersonality(*this)) {
        return inherited;
    }
    const std::string own = ownAnalyserPersonality(groupFolder, folderName);
    printLine("  Creating Analyser Personality - " + own);
    return own;
}

void Group::produceAnalyserPersonality(const Converter& converter, const std::string& path) const
{
    if (hasOwnAnalyserPersonality(*this)) {
        writeAnalyserPersonality(converter, path);
        return;
    }
    // An inherited personality, the default one included, is made once and then
    // left as the user may have edited it.
    if (platform::pathExists(path)) {
        return;
    }
    converter.getDestinationFolders().makeDirectory(projectPersonFolder(converter));
    OutputFile personality(path);
    appendTemplate(converter, personality);
    personality.close();
}

void Group::writeAnalyserPersonality(const Converter& converter, const std::string& path) const
{
    OutputFile personality(path);
    for (const std::string& folder : includePaths_) {
        personality.writeLine("-i \"" + folder + "\"");
    }
    for (const auto& [macro, value] : definitions_) {
        personality.writeLine("-d \"" + macro + (value.empty() ? "" : "=" + value) + "\"");
    }
    appendTemplate(converter, personality);
    personality.close();
}
