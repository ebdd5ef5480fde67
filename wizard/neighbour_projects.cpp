// Before any Qt header: Qt's "slots" keyword would rename a member of the converter's.
#include "base/path_key.h"
#include "base/windows_path.h"
#include "driver/make_absolute_path.h"
#include "platform/platform.h"
#include "record/run_record_file.h"

#include "converter_text.h"
#include "neighbour_projects.h"
#include "typed_path.h"

namespace {

// The converter names the project's folder after the source file, its last four characters (".dpj") cut.
constexpr std::size_t projectExtensionLength = 4;

} // namespace

QString neighbourInProjectFolder(const QString& typedDestination, const QString& projectName,
                                 const QString& typedProjectFile)
{
    const QString destination = typedPath(typedDestination);
    if (destination.isEmpty() || projectName.isEmpty()) {
        return {};
    }
    const std::string folder =
        withoutEmptyOrDotParts(makeAbsolutePath(platform::commandLinePath(toConverterText(destination))));
    std::string stem(fileName(platform::commandLinePath(toConverterText(typedPath(typedProjectFile)))));
    if (stem.size() <= projectExtensionLength) {
        return {};
    }
    stem.resize(stem.size() - projectExtensionLength);
    const std::string inProjectFolder = pathKey(joinPath(folder, stem) + "\\");
    for (const ProjectRecord& neighbour : neighbourRecords(folder, toConverterText(projectName))) {
        for (const RecordedFile& file : neighbour.record.files) {
            if (pathKey(file.name.path).starts_with(inProjectFolder)) {
                return fromConverterText(neighbour.projectName);
            }
        }
    }
    return {};
}
