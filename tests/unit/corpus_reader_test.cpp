// Real project files, read in place.
#include "driver/converter.h"
#include "platform/platform.h"
#include "support/group_tree_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string installFolder = "C:\\VisualDSP";

fs::path corpusFolder()
{
    return fs::canonical(PROJBRIDGE_CORPUS_DIR);
}

struct CorpusReading {
    bool accepted;
    std::string refused;
    std::string tree;
};

CorpusReading readCorpusFile(const fs::path& file)
{
    Converter converter(platform::commandLinePath(file.string()), "C:\\out", installFolder);
    const bool accepted = converter.read().extent == ReadExtent::wholeProject;
    return {accepted, accepted ? "" : converter.getLexer().tokenText(),
            dumpTree(converter.getRootGroup(), converter.sourceFolder())};
}

std::string treeOf(const std::string& fileName)
{
    const CorpusReading reading = readCorpusFile(corpusFolder() / fileName);
    EXPECT_TRUE(reading.accepted) << "refused: " << reading.refused;
    return reading.tree;
}

// The lines of one group's files, at the depth of a configuration's entries.
std::string fileLines(const std::vector<std::string>& paths)
{
    std::string lines;
    for (const std::string& path : paths) {
        lines += "      file " + path + "\n";
    }
    return lines;
}

TEST(CorpusReader, EveryRealProjectIsReadToItsEnd)
{
    std::size_t count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpusFolder())) {
        if (entry.path().extension() != ".dpj") {
            continue;
        }
        ++count;
        CorpusReading reading{false, "", ""};
        EXPECT_NO_THROW(reading = readCorpusFile(entry.path())) << entry.path();
        EXPECT_TRUE(reading.accepted) << entry.path() << " refused: " << reading.refused;
        // Every project names its processor and has configurations.
        EXPECT_NE(reading.tree.find("\n    Debug\n"), std::string::npos) << entry.path();
    }
    // An empty folder would pass every check above.
    EXPECT_GT(count, 0u) << corpusFolder();
}

// Defines written with a comma, an include option, and sources and headers
// under the installation folder named "$(ADI_DSP)".
TEST(CorpusReader, EthernetDriverLibrary)
{
    const std::string configuration =
        "      file C:\\VisualDSP\\Blackfin\\lib\\src\\drivers\\ethernet\\ADI_ETHER_BF537\\ADI_ETHER_BF537.c\n"
        "      include P:\\..\\..\\..\\..\\..\\include\\drivers\\ethernet\n"
        "      define ADI_ETHER_BF537_DEBUG_x\n"
        "      define ADI_ETHER_DEBUG_x\n";
    EXPECT_EQ(treeOf("024-ADI_ETHER_BF537-lib.dpj"), "024-ADI_ETHER_BF537-lib\n"
                                                     "  ADSP-BF537\n"
                                                     "    Debug\n" +
                                                         configuration + "    Release\n" + configuration);
}

// A header in the source folder is a common file; build-with-flag written as
// an empty-element tag right before the end of its file configuration.
TEST(CorpusReader, KernelLibrary)
{
    const std::string vdk =
        "C:\\VisualDSP\\Blackfin\\lib\\src\\lwip\\contrib\\ports\\ADSP-Blackfin\\proj\\kernels\\VDK\\";
    const std::string configuration = fileLines({vdk + "ADI_TOOLS_IOEThreadType.c", vdk + "vdk_kernel_abs.c"}) +
                                      "      include P:\\..\\..\\..\\include\\kernels\n";
    EXPECT_EQ(
        treeOf("030-vdkoslib-BF533-lib.dpj"),
        "030-vdkoslib-BF533-lib\n"
        "  ADSP-BF533\n"
        "    file " +
            vdk +
            "ADI_TOOLS_IOEThreadType.h\n"
            "    include C:\\VisualDSP\\Blackfin\\lib\\src\\lwip\\contrib\\ports\\ADSP-Blackfin\\include\\kernels\n"
            "    Debug\n" +
            configuration + "    Release\n" + configuration);
}

// "Generated Files" and "Kernel Files" name no kind: their sources are taken
// by their extensions, the kernel's ".vdk" file is not; only the assembler's
// option defines a macro, and that is not the compiler's.
TEST(CorpusReader, KernelDemoProject)
{
    const std::string configuration = fileLines({"P:\\vdk_demo1_basiccrt.s", "P:\\vdk_demo1_heaptab.c", "P:\\VDK.cpp",
                                                 "P:\\ExceptionHandler-BF536.asm", "P:\\P_thread1.c",
                                                 "P:\\P_thread2.c"});
    EXPECT_EQ(treeOf("016-vdk_demo1-BF536.dpj"), "016-vdk_demo1-BF536\n"
                                                 "  ADSP-BF536\n"
                                                 "    Debug\n" +
                                                     configuration + "    Release\n" + configuration);
}

// Pre-build steps before the post-build ones, options inside file
// configurations and no custom data: all of the project is read.
TEST(CorpusReader, InstrumentProjectWithPreBuildSteps)
{
    const std::string sources = fileLines({
        "P:\\acquire_all_pedestals.c",
        "P:\\acquisition_control.c",
        "P:\\add_debug.c",
        "P:\\auto_gain.c",
        "P:\\bunch_pattern_reduce.c",
        "P:\\collect_adc.c",
        "P:\\collect_proc.c",
        "P:\\collect_raw.c",
        "P:\\dispatch.c",
        "P:\\do_calibration.c",
        "P:\\find_bTMD.c",
        "P:\\find_bunch.c",
        "P:\\find_delays.c",
        "P:\\float_err_check.c",
        "P:\\get_betatron_phase_A.c",
        "P:\\get_continuous_data.c",
        "P:\\get_proc_data.c",
        "P:\\get_raw_data.c",
        "P:\\init.c",
        "P:\\interrupt_handlers.c",
        "P:\\iterate_find_delays.c",
        "P:\\load_bunch_pattern.c",
        "P:\\main.c",
        "P:\\pedestal_cal.c",
        "P:\\perform_test.c",
        "P:\\process_adc.c",
        "P:\\process_data.c",
        "P:\\publish_temps.c",
        "P:\\rotate_bunch_patterns.c",
        "P:\\set_delays.c",
        "P:\\set_gains.c",
        "P:\\set_timing_mode.c",
        "P:\\set_timing_setup.c",
        "P:\\sleep_n_turns.c",
        "P:\\test_raw_data.c",
        "P:\\time_scan.c",
        "P:\\utils.c",
        "P:\\..\\..\\BeamInstSupport\\instrument_code\\cbi_pkt_tables_a.c",
        "P:\\cbpm_pkt_tables_a.c",
        "P:\\..\\shared\\cbpm_errors.c",
        "P:\\..\\shared\\chan_stat.c",
    });
    EXPECT_EQ(treeOf("008-CBPM-II-TS101.dpj"), "008-CBPM-II-TS101\n"
                                               "  ADSP-TS101\n"
                                               "    include P:\\..\\..\\BeamInstSupport\\include\n"
                                               "    include P:\\..\\..\\BeamInstSupport\\comm_include\n"
                                               "    include P:\\..\\..\\BeamInstSupport\\hardware_include\n"
                                               "    include P:\\..\\include\n"
                                               "    include P:\\..\\comm_include\n"
                                               "    Debug\n" +
                                                   sources +
                                                   "      include P:\\..\\ldf\n"
                                                   "      include P:\\..\\include\n"
                                                   "      include P:\\..\\..\\BeamInstSupport\\include\n"
                                                   "      include P:\\..\\..\\BeamInstSupport\\hardware_include\n"
                                                   "      include P:\\..\\..\\BeamInstSupport\\comm_include\n"
                                                   "      include P:\\..\\comm_include\n"
                                                   "      include P:\\..\\..\\acc_include\n"
                                                   "      define CBPM_INST_PLATFORM\n"
                                                   "    Release\n" +
                                                   sources);
}

} // namespace
