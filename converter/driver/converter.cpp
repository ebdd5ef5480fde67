#include "driver/converter.h"

#include "base/ascii_case.h"
#include "base/console.h"
#include "base/windows_path.h"
#include "compdb/compile_database.h"
#include "compdb/processor_macros.h"
#include "driver/errors.h"
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
    : sourcePath(std::move(sourcePath)), destinationFolder(std::move(destinationFolder)),
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
    ProjectReader reader(lexer, *this, *report);
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
    if (!reportPath.empty()) {
        report->open(reportPath, *rootGroup);
    }
    return readProject(*rootGroup);
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
        if (reading.extent != ReadExtent::wholeProject && lexer.streamGood()) {
            printLine("Visual DSP Project file parsing encountered unexpected token: " + lexer.tokenText());
            report->refusedToken(lexer.tokenText(), lexer.tokenLine());
        }
        // Any other file given by mistake makes no project at all.
        if (reading.extent == ReadExtent::noProject) {
            return 1;
        }
        const int status = writeProject();
        if (!compileDatabaseFolder.empty()) {
            writeCompileDatabases(*this, compileDatabaseFolder);
            const auto& targets = rootGroup->children();
            if (!targets.empty() && !knowsProcessor(targets.front()->name)) {
                report->builtInMacrosUnknown(targets.front()->name);
            }
        }
        // A partial project is written, but the run must not pass for a success.
        if (reading.extent == ReadExtent::partOfProject) {
            printLine("Conversion incomplete: the project file was read only up to the unexpected token");
            return 1;
        }
        return status;
    } catch (const XMLReaderError& error) {
        if (error.code == XMLReaderError::cannotOpen) {
            printLine("Could not open file: " + sourcePath);
        } else {
            printLine("Visual DSP Project file parsing encountered unexpected EOF");
        }
    } catch (const InputTooLong& error) {
        printLine(error.what());
    } catch (const IOERROR& error) {
        printFailure(error);
    }
    return 1;
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
