#include "driver/converter.h"

#include "base/console.h"
#include "base/errors.h"
#include "base/file_preview.h"
#include "base/windows_path.h"
#include "compdb/compile_database.h"
#include "compdb/compiler_dialect.h"
#include "compdb/processor_macros.h"
#include "reader/group_file_reader.h"
#include "reader/older_project_file.h"
#include "reader/option_words.h"
#include "reader/project_paths.h"
#include "reader/project_reader.h"
#include "report/conversion_report.h"
#include "layout/output_plan.h"
#include "platform/platform.h"
#include "writer/project_writer.h"

#include <algorithm>
#include "record/record_keeper.h"
#include "layout/same_files.h"

namespace {

std::vector<RunFile> joined(std::vector<RunFile> files, std::vector<RunFile> more)
{
    files.insert(files.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    return files;
}

// The root group is named after the project file; its extension is taken to be
// ".dpj" without looking.
constexpr std::size_t projectExtensionLength = 4;
constexpr std::string_view languageOptionNotCarried =
    "compiler option that changes the language: not in the compilation databases";

std::string rootGroupName(const std::string& sourcePath)
{
    std::string name(fileName(sourcePath));
    if (name.size() >= projectExtensionLength) {
        name.resize(name.size() - projectExtensionLength);
    }
    return name;
}

std::string olderBinaryProjectMessage(const std::string& path)
{
    return "Binary project file of an older VisualDSP version: open it in the IDE and save it, which converts it, "
           "then convert it again: " +
           path;
}

std::string failureMessage(const IOERROR& error)
{
    return std::string(error.code == IOERROR::cannotCreateDirectory ? cannotCreateDirectoryMessage
                                                                     : "Could not write file: ") +
           error.path;
}

} // namespace

Converter::Converter(std::string sourcePath, std::string destinationFolder, std::string installFolder)
    : sourcePath(std::move(sourcePath)), destinationFolder(std::move(destinationFolder)),
      installFolder(std::move(installFolder)), report(std::make_unique<ConversionReport>())
{
    rootGroup = std::make_unique<Group>(rootGroupName(this->sourcePath));
    rootGroup->projectFileStem = rootGroup->name;
    if (this->installFolder.empty()) {
        this->installFolder = findInstallFolder();
    }
}

Converter::~Converter() = default;

ProjectReading Converter::readProject(Group& root)
{
    return readFrom(lexer, sourcePath, root);
}

ProjectReading Converter::readFrom(XmlLexer& projectLexer, const std::string& projectFile, Group& root)
{
    ProjectReader reader(projectLexer, {installFolder, projectFile, extensions, *report});
    ReadExtent extent = ReadExtent::wholeProject;
    if (!reader.readProject(root)) {
        extent = reader.foundProject() ? ReadExtent::partOfProject : ReadExtent::noProject;
    }
    return {extent, reader.keptInstallVariables()};
}

ProjectReading Converter::read()
{
    rootGroup->sourceDir = sourceFolder();
    lexer.openFile(sourcePath);
    const auto startReport = [&] {
        if (!reportPath.empty()) {
            report->start(*rootGroup, rootGroup->name, sourceIsGroup_);
        }
    };
    try {
        sourceIsGroup_ = GroupFileReader::isGroupFile(lexer);
    } catch (const XMLReaderError&) {
        // A file that ends before its first element still gets the report of
        // a failed run, as a project cut short later does.
        startReport();
        throw;
    }
    startReport();
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
    if (extent == ReadExtent::noProject && isOlderBinaryProjectFile(sourcePath)) {
        fail(olderBinaryProjectMessage(sourcePath));
        return;
    }
    if (extent != ReadExtent::wholeProject && projectLexer.streamGood()) {
        fail("Visual DSP Project file parsing encountered unexpected token: " + projectLexer.tokenText());
        report->refusedToken(projectLexer.tokenText(), projectLexer.tokenLine());
    }
}

std::string readerFailureMessage(const XMLReaderError& error, const std::string& path)
{
    if (error.code == XMLReaderError::cannotOpen) {
        return "Could not open file: " + path;
    }
    if (error.code == XMLReaderError::noElement) {
        return isOlderBinaryProjectFile(path) ? olderBinaryProjectMessage(path)
                                              : "Not a VisualDSP project file (it holds no element): " + path;
    }
    return "Visual DSP Project file parsing encountered unexpected EOF";
}

int Converter::run()
{
    const int status = convert();
    if (dryRun) {
        return status;
    }
    if (recordKeeper) {
        recordKeeper->settleEdits(*report, status == 0);
    }
    return removeLeftovers(recordRun(report->isStarted() ? finishReport(status) : status));
}

int Converter::recordRun(int status)
{
    if (!recordKeeper) {
        return status;
    }
    try {
        recordKeeper->writeRecord(runFolders(), status == 0);
    } catch (const IOERROR& error) {
        printLine(failureMessage(error));
        return 1;
    }
    return status;
}

// Only a run that wrote everything, its report and its record included,
// removes anything.
int Converter::removeLeftovers(int status)
{
    if (status != 0 || !recordKeeper) {
        return status;
    }
    try {
        recordKeeper->removeLeftovers();
    } catch (const IOERROR& error) {
        printLine(failureMessage(error));
        return 1;
    }
    return status;
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
        // Everything the plan can refuse is refused before anything on disk changes.
        const OutputPlan plan(writerSettings(), *rootGroup);
        std::optional<CompileDatabases> databases;
        if (!compileDatabaseFolder.empty()) {
            databases.emplace(
                DatabaseSources{projectRoots(), sourceIsGroup_, installFolder, destinationFolder, *report},
                compileDatabaseFolder);
        }
        const std::vector<RunFile> inputs = inputFiles();
        recordKeeper = std::make_unique<RecordKeeper>(recordRoots(), projectName, inputs);
        std::vector<RunFile> outputs = outputFiles(plan, databases ? &*databases : nullptr);
        refuseSameFiles(joined(inputs, recordKeeper->neighbourRecordFiles()),
                        joined(outputs, recordKeeper->recordFiles()));
        if (dryRun) {
            return preview(plan, databases ? &*databases : nullptr, std::move(outputs), reading);
        }
        recordKeeper->prepare(std::move(outputs));
        if (report->isStarted()) {
            report->writeTo(reportPath);
        }
        // Nothing more is read: the source file and its buffer are let go
        // before the writing fills buffers of its own.
        lexer.closeFile();
        writeProject(plan);
        warnIfNoSourceTaken();
        if (databases) {
            databaseFolders = DestinationFolders(compileDatabaseFolder);
            databases->write(databaseFolders);
            reportWhatDatabasesLack();
        }
        if (failIfIncomplete(reading)) {
            return 1;
        }
        recordKeeper->weighLeftovers(runFolders(), *report);
        return 0;
    } catch (const XMLReaderError& error) {
        return fail(readerFailureMessage(error, sourcePath));
    } catch (const InputTooLong& error) {
        return fail(error.what());
    } catch (const IOERROR& error) {
        return fail(failureMessage(error));
    } catch (const RefusedBeforeWriting& error) {
        report->drop();
        return fail(error.what());
    }
}

namespace {

bool readWhole(const ProjectReading& reading)
{
    return reading.extent == ReadExtent::wholeProject && reading.groupProjectsNotReadWhole == 0;
}

} // namespace

// A partial project is written, but the run must not pass for a success.
bool Converter::failIfIncomplete(const ProjectReading& reading)
{
    if (readWhole(reading)) {
        return false;
    }
    if (reading.extent == ReadExtent::partOfProject) {
        fail("Conversion incomplete: the project file was read only up to the unexpected token");
        return true;
    }
    if (reading.groupProjectsNotReadWhole > 0) {
        fail("Conversion incomplete: " + std::to_string(reading.groupProjectsNotReadWhole) + " of " +
             std::to_string(reading.groupProjects) + " projects of the group were not read whole");
        return true;
    }
    return false;
}

// The writers run as they would, into memory and with their progress unsaid,
// so that what is told is what the real run then does.
int Converter::preview(const OutputPlan& plan, const CompileDatabases* databases, std::vector<RunFile> outputs,
                       const ProjectReading& reading)
{
    FilePreview written(maxBaseBytes);
    for (const RunFile& output : outputs) {
        if (output.mergedWhenEdited) {
            written.keepTextOf(platform::hostPath(output.path));
        }
    }
    {
        const QuietConsole quiet;
        destinationFolders = DestinationFolders(destinationFolder, written);
        ProjectWriter(plan, destinationFolders, *report).writeProjectFile();
        if (databases != nullptr) {
            databaseFolders = DestinationFolders(compileDatabaseFolder, written);
            databases->write(databaseFolders);
        }
    }
    warnIfNoSourceTaken();
    recordKeeper->preview(std::move(outputs), written, runFolders(), readWhole(reading));
    if (failIfIncomplete(reading)) {
        return 1;
    }
    printLine("Dry run: nothing was written, set aside or removed");
    return 0;
}

int Converter::fail(const std::string& message)
{
    printLine(message);
    failure = message;
    return 1;
}

namespace {

bool holdsAFile(const Group& group)
{
    return std::ranges::any_of(group.files(), [](std::string_view file) { return !file.empty(); }) ||
           std::ranges::any_of(group.children(), [](const std::unique_ptr<Group>& child) { return holdsAFile(*child); });
}

} // namespace

// The project is written as specified, but a run whose -ext list took none of
// the project's sources says so: its analyser project checks nothing.
void Converter::warnIfNoSourceTaken()
{
    if (report->entriesLeftOutByExtensions() > 0 && !holdsAFile(*rootGroup)) {
        printLine("Warning: No source file taken: every source file entry was left out by -ext");
    }
}

void Converter::reportWhatDatabasesLack()
{
    for (const Group* project : projectRoots()) {
        const auto& targets = project->children();
        if (targets.empty()) {
            continue;
        }
        report->setProject(sourceIsGroup_ ? project->name : std::string());
        if (!knowsProcessor(targets.front()->name)) {
            report->builtInMacrosUnknown(targets.front()->name);
        }
        reportLanguageOptions(*targets.front());
    }
    report->setProject("");
}

void Converter::reportLanguageOptions(const Group& target)
{
    for (const std::unique_ptr<Group>& configuration : target.children()) {
        const auto compiler = configuration->toolOptions.find(std::string(compilerToolType));
        if (!configuration->isConfiguration || compiler == configuration->toolOptions.end()) {
            continue;
        }
        for (const std::string& option : languageOptionsNotCarried(compiler->second)) {
            report->settingNotCarried(configuration->name, option, languageOptionNotCarried);
        }
    }
}

// A run stopped before its files were weighed against each other still
// reports what it read, unless the report would overwrite an input.
int Converter::finishReport(int status)
{
    try {
        if (!report->isWritten()) {
            refuseSameFiles(inputFiles(), {reportFile()});
            report->writeTo(reportPath);
        }
        report->close(status != 0, failure);
    } catch (const IOERROR& error) {
        printLine(failureMessage(error));
        return 1;
    } catch (const SameFile& error) {
        printLine(error.what());
        return 1;
    }
    printLine(report->summaryLine());
    return status;
}

WriterSettings Converter::writerSettings() const
{
    return {destinationFolder, projectName,         messagePersonality,
            analyserPersonality, compilerPersonality, sourceIsGroup_};
}

void Converter::writeProject(const OutputPlan& plan)
{
    destinationFolders = DestinationFolders(destinationFolder);
    ProjectWriter(plan, destinationFolders, *report).writeProjectFile();
}

std::vector<RunFile> Converter::inputFiles() const
{
    std::vector<RunFile> files{{"the source project", sourcePath}};
    files.insert(files.end(), groupProjectFiles.begin(), groupProjectFiles.end());
    for (const auto& [role, path] : {std::pair{"the analyser personality template", &analyserPersonality},
                                     std::pair{"the message personality", &messagePersonality},
                                     std::pair{"the compiler personality", &compilerPersonality}}) {
        if (!path->empty()) {
            files.push_back({role, *path});
        }
    }
    return files;
}

std::vector<RunFile> Converter::outputFiles(const OutputPlan& plan, const CompileDatabases* databases) const
{
    std::vector<RunFile> files = plan.files();
    if (databases != nullptr) {
        for (std::string& path : databases->databasePaths()) {
            files.push_back({"the compilation database", std::move(path)});
        }
        for (StandInFile& standIn : databases->standInFiles()) {
            files.push_back({"the include stand-in", std::move(standIn.folder), std::move(standIn.hostPath),
                             std::move(standIn.name)});
        }
    }
    if (!reportPath.empty()) {
        files.push_back(reportFile());
    }
    return files;
}

RecordRoots Converter::recordRoots() const
{
    return {destinationFolder, compileDatabaseFolder, reportPath};
}

RunFolders Converter::runFolders() const
{
    RunFolders folders{destinationFolders.known(), destinationFolders.made()};
    const std::vector<std::string> databases = databaseFolders.known();
    folders.known.insert(folders.known.end(), databases.begin(), databases.end());
    folders.made.insert(folders.made.end(), databaseFolders.made().begin(), databaseFolders.made().end());
    return folders;
}

RunFile Converter::reportFile() const
{
    return {"the report", reportPath};
}

void Converter::addExtensions(const std::string& value)
{
    extensions.add(value);
}

bool Converter::acceptsExtension(const std::string& path) const
{
    return extensions.accepts(path);
}

std::string Converter::sourceFolder() const
{
    return std::string(parentFolder(sourcePath).value_or(std::string_view()));
}

void Converter::resolveProjectPath(std::string& folder) const
{
    ProjectPaths::of(installFolder, sourcePath).resolveProjectPath(folder);
}
