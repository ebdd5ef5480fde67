#include "driver/command_line.h"

#include "base/console.h"
#include "base/project_name.h"
#include "base/windows_path.h"
#include "driver/make_absolute_path.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Source project, destination folder, installation folder.
constexpr std::size_t positionalArgumentCount = 3;
constexpr std::string_view neverInAnExtension = ".*?";
constexpr std::string_view exampleExtension = "c";
constexpr std::string_view dryRunFlag = "-dry-run";
enum class Option {
    projectName,
    messagePersonality,
    analyserPersonality,
    compilerPersonality,
    extensions,
    compileDatabaseFolder,
    report
};

struct NamedOption {
    std::string_view name;
    Option option;
};

constexpr std::array<NamedOption, 7> options{{
    {"-pn", Option::projectName},
    {"-mp", Option::messagePersonality},
    {"-ap", Option::analyserPersonality},
    {"-cp", Option::compilerPersonality},
    {"-ext", Option::extensions},
    {"-compdb", Option::compileDatabaseFolder},
    {"-report", Option::report},
}};

std::optional<Option> optionNamed(const std::string& argument)
{
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&](const NamedOption& named) { return named.name == argument; });
    return found == options.end() ? std::nullopt : std::optional<Option>(found->option);
}

// A host path on no drive would be put on the current drive instead, so the
// output would land in a look-alike folder.
std::string windowsPathArgument(const std::string& typed)
{
    if (platform::liesOnNoDrive(typed)) {
        throw CommandLineError("Path lies on no drive of the Wine prefix ($WINEPREFIX/dosdevices): " + typed);
    }
    return platform::commandLinePath(typed);
}

std::string absolutePathArgument(const std::string& typed)
{
    return makeAbsolutePath(windowsPathArgument(typed));
}

// Where the run writes: one spelling however the path is typed, since the
// record of the run names its files relative to these places.
std::string outputPathArgument(const std::string& typed)
{
    return withoutEmptyOrDotParts(absolutePathArgument(typed));
}

std::string projectNameArgument(const std::string& typed)
{
    if (const std::optional<std::string> fault = projectNameFault(typed)) {
        throw CommandLineError("Invalid value for option -pn (" + *fault + "): " + typed);
    }
    return typed;
}

void applyOption(Converter& converter, Option option, const std::string& value)
{
    switch (option) {
    case Option::projectName:
        converter.projectName = projectNameArgument(value);
        break;
    case Option::messagePersonality:
        converter.messagePersonality = absolutePathArgument(value);
        break;
    case Option::analyserPersonality:
        converter.analyserPersonality = absolutePathArgument(value);
        break;
    case Option::compilerPersonality:
        converter.compilerPersonality = absolutePathArgument(value);
        break;
    case Option::extensions:
        converter.addExtensions(value);
        break;
    case Option::compileDatabaseFolder:
        // An empty path would name the current folder.
        if (value.empty()) {
            throw CommandLineError("Invalid value for option -compdb (a folder must be named): \"\"");
        }
        converter.compileDatabaseFolder = outputPathArgument(value);
        break;
    case Option::report:
        converter.reportPath = outputPathArgument(value);
        break;
    }
}

// An entry is compared with the text after a file's last dot, which holds no
// dot, and a Windows file name holds no "*" or "?". The entry stays as written;
// the user hears that it takes nothing, and how to write it.
void warnOfExtensionsThatNeverMatch(const std::vector<std::string>& entries)
{
    for (const std::string& entry : entries) {
        if (entry.find_first_of(neverInAnExtension) == std::string::npos) {
            continue;
        }
        std::string meant(extension(entry));
        std::erase_if(meant, [](char c) { return neverInAnExtension.find(c) != std::string_view::npos; });
        printLine("Warning: the -ext entry \"" + entry +
                  "\" can never match; write it without dot or wildcard, as in -ext " +
                  (meant.empty() ? std::string(exampleExtension) : meant));
    }
}

// The one option without a value, after the positional arguments and not as
// another option's value; taken out of the arguments.
bool takeDryRunFlag(std::vector<std::string>& arguments)
{
    bool found = false;
    for (std::size_t i = positionalArgumentCount; i < arguments.size();) {
        if (optionNamed(arguments[i])) {
            i += 2;
        } else if (arguments[i] == dryRunFlag) {
            arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i));
            found = true;
        } else {
            ++i;
        }
    }
    return found;
}

} // namespace

void printUsage()
{
    printLine("Usage: ProjbridgeCli <source_proj> <dest_folder> <VisualDSP_install_dir> [-pn dest_proj_name]");
    printLine("[-mp message_personality] [-ap analyser_personality] [-cp compiler_personality] [-ext file_extension]");
}

std::optional<std::string> optionWithoutValue(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || !optionNamed(arguments.back())) {
        return std::nullopt;
    }
    return arguments.back();
}

std::unique_ptr<Converter> makeConverter(const std::vector<std::string>& arguments)
{
    const std::string sourcePath = absolutePathArgument(arguments[0]);
    // The installation folder keeps its text; only a host path typed for it is
    // put into Windows form, as for every other path argument.
    auto converter = std::make_unique<Converter>(sourcePath, outputPathArgument(arguments[1]),
                                                 windowsPathArgument(arguments[2]));
    converter->projectName = defaultProjectName(sourcePath);
    // Every argument is looked at, values and positional ones included.
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (const std::optional<Option> option = optionNamed(arguments[i])) {
            applyOption(*converter, *option, arguments[i + 1]);
        }
    }
    return converter;
}

int runCommandLine(std::vector<std::string> arguments)
{
    const bool dryRun = takeDryRunFlag(arguments);
    if (arguments.size() < positionalArgumentCount) {
        printUsage();
        return 0;
    }
    if (const std::optional<std::string> option = optionWithoutValue(arguments)) {
        printLine("Missing value for option: " + *option);
        return 1;
    }
    std::unique_ptr<Converter> converter;
    try {
        converter = makeConverter(arguments);
    } catch (const CommandLineError& error) {
        printLine(error.what());
        return 1;
    }
    converter->dryRun = dryRun;
    warnOfExtensionsThatNeverMatch(converter->getExtensions());
    return converter->run();
}
