#include "driver/converter.h"

#include "base/ascii_case.h"
#include "base/console.h"
#include "base/windows_path.h"
#include "compdb/compile_database.h"
#include "compdb/processor_macros.h"
#include "driver/errors.h"
#include "reader/group_file_reader.h"
#include "reader/project_reader.h"
#include "report/conversion_report.h"

#include <algorithm>

namespace {

// The root group is named after the project file; its extension is taken to be
// ".dpj" without looking.
constexpr std::size_t projectExtensionLength = 4;

std::string rootGroupName(const std::string& sourcePath)
{
    std::string name = fileName(sourcePath);
    if (name.size() >= projectExtensionLength) {
        name.resize(name.size() - projectExtensionLength);
    }
    return name;
}

void printFailure(const IOERROR& error)
{
    if (error.code == IOERROR::cannotCreateDirectory) {
        printLine("Could not create directory: " + error.path);
    } else {
        printLine("Could not write file: " + error.path);
    }
}

} // namespace

Converter::Converter(std::string sourcePath, std::string destinationFolder, std::string installFolder)
    : sourcePath(std::move(sourcePath)), projectPath(this->sourcePath), destinationFolder(std::move(destinationFolder)),
      installFolder(std::move(installFolder)), report(std::make_unique<ConversionReport>())
{
    rootGroup = std::make_unique<Group>(rootGroupName(this->sourcePath), this);
    if (this->installFolder.empty()) {
        this->installFolder = findInstallFolder();
    }
}

Converter::~Converter() = default;

ProjectReading Converter::readProject(Group& root)
{
    return readFrom(lexer, root);
}

ProjectReading Converter::readFrom(XmlLexer& projectLexer, Group& root)
{
    ProjectReader reader(projectLexer, *this, *report);
    ReadExtent extent = ReadExtent::wholeProject;
    if (!reader.readProject(root)) {
        extent = reader.foundProject() ? ReadExtent::partOfProject : ReadExtent::noProject;
    }
    return {extent, reader.keptInstallVariables()};
}

ProjectReading Converter::read()
{
    rootGroup->converter = this;
    rootGroup->sourceDir = sourceFolder();
    lexer.openFile(sourcePath);
    sourceIsGroup_ = GroupFileReader::isGroupFile(lexer);
    if (!reportPath.empty()) {
        report->open(reportPath, *rootGroup, sourceIsGroup_);
    }
    return sourceIsGroup_ ? readGroup() : readProject(*rootGroup);
}

std::vector<const Group*> Converter::projectRoots() const
{
    if (!sourceIsGroup_) {
        return {rootGroup.get()};
    }
    std::vector<const Group*> roots;
    for (const std::unique_ptr<Group>& project : rootGroup->children()) {
        roots.push_back(project.get());
    }
    return roots;
}

void Converter::tellRefusal(XmlLexer& projectLexer, ReadExtent extent)
{
    if (extent != ReadExtent::wholeProject && projectLexer.streamGood()) {
        printLine("Visual DSP Project file parsing encountered unexpected token: " + projectLexer.tokenText());
        report->refusedToken(projectLexer.tokenText(), projectLexer.tokenLine());
    }
}

std::string readerFailureMessage(const XMLReaderError& error, const std::string& path)
{
    if (error.code == XMLReaderError::cannotOpen) {
        return "Could not open file: " + path;
    }
    return "Visual DSP Project file parsing encountered unexpected EOF";
}

int Converter::run()
{
    const int status = convert();
    return report->isOpen() ? finishReport(status) : status;
}

int Converter::convert()
{
    try {
        const ProjectReading reading = read();
        if (reading.keptInstallVariables) {
            printLine("Warning: VisualDSP installation folder not found; $(VDSP) and $(ADI_DSP) are left in paths");
        }
        // A group's readings tell their refusals as they go.
        if (!sourceIsGroup_) {
            tellRefusal(lexer, reading.extent);
        }
        // Any other file given by mistake makes no project at all.
        if (reading.extent == ReadExtent::noProject) {
            return 1;
        }
        const int status = writeProject();
        if (!compileDatabaseFolder.empty()) {
            writeCompileDatabases(*this, compileDatabaseFolder);
            reportUnknownProcessors();
        }
        // A partial project is written, but the run must not pass for a success.
        if (reading.extent == ReadExtent::partOfProject) {
            printLine("Conversion incomplete: the project file was read only up to the unexpected token");
            return 1;
        }
        if (reading.groupProjectsNotReadWhole > 0) {
            printLine("Conversion incomplete: " + std::to_string(reading.groupProjectsNotReadWhole) + " of " +
                      std::to_string(reading.groupProjects) + " projects of the group were not read whole");
            return 1;
        }
        return status;
    } catch (const XMLReaderError& error) {
        printLine(readerFailureMessage(error, sourcePath));
    } catch (const InputTooLong& error) {
        printLine(error.what());
    } catch (const IOERROR& error) {
        printFailure(error);
    }
    return 1;
}

void Converter::reportUnknownProcessors()
{
    for (const Group* project : projectRoots()) {
        const auto& targets = project->children();
        if (!targets.empty() && !knowsProcessor(targets.front()->name)) {
            report->setProject(sourceIsGroup_ ? project->name : std::string());
            report->builtInMacrosUnknown(targets.front()->name);
        }
    }
}

int Converter::finishReport(int status)
{
    try {
        report->close(*rootGroup);
    } catch (const IOERROR& error) {
        printFailure(error);
        return 1;
    }
    printLine(report->summaryLine());
    return status;
}

void Converter::addExtensions(const std::string& value)
{
    std::size_t start = 0;
    for (std::size_t comma = value.find(','); comma != std::string::npos; comma = value.find(',', start)) {
        extensions.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    extensions.push_back(value.substr(start));
}

bool Converter::acceptsExtension(const std::string& path) const
{
    if (extensions.empty()) {
        return true;
    }
    const std::string wanted = asciiUpperCase(extension(path));
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const std::string& entry) { return asciiUpperCase(entry) == wanted; });
}
