// kestrin-cli against kestrin-sim: the command line drives the same link loop as the window.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "SimProcess.h"

#ifdef KESTRIN_CLI_PATH

namespace kestrin::e2e {
namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun Cli(const std::string& args) {
    const std::string cmd = std::string(KESTRIN_CLI_PATH) + " " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    const int rc = pclose(p);
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

std::vector<std::uint8_t> ParseImage(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    std::istringstream in(text);
    int v;
    while (in >> v) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

TEST(E2eCli, ProgramLeavesTheUnitHoldingTheImageOfTheFile) {
    SimProcess sim({"--no-pacing"});
    const std::string file = sim.memoryFile().parent_path() / "bike43.ign";
    ASSERT_EQ(Cli("defaults 43 -o " + file).status, 0);
    const CliRun program = Cli("program " + file + " --port " + sim.link());
    EXPECT_EQ(program.status, 0) << program.out;
    EXPECT_NE(program.out.find("Verify::"), std::string::npos) << program.out;
    const CliRun image = Cli("image " + file);
    ASSERT_EQ(image.status, 0);
    const auto expected = ParseImage(image.out);
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kImageSize));
    EXPECT_EQ(sim.Memory(), expected);

    EXPECT_EQ(Cli("verify " + file + " --port " + sim.link()).status, 0);
    const std::string back = sim.memoryFile().parent_path() / "back.ign";
    EXPECT_EQ(Cli("read --port " + sim.link() + " -o " + back).status, 0);
    EXPECT_EQ(ParseImage(Cli("image " + back).out), expected);
    const CliRun monitor = Cli("monitor --port " + sim.link() + " --count 3 --csv");
    EXPECT_EQ(monitor.status, 0);
    EXPECT_EQ(std::count(monitor.out.begin(), monitor.out.end(), '\n'), 4) << monitor.out;
}

TEST(E2eCli, ExitStatusTellsUsageFromRefusal) {
    SimProcess sim({"--version", "73", "--no-pacing"});
    const std::string file = sim.memoryFile().parent_path() / "b.ign";
    ASSERT_EQ(Cli("defaults 11 -o " + file).status, 0);
    const struct {
        std::string args;
        int status;
    } cases[] = {
        {"", 2},
        {"frobnicate", 2},
        {"program " + file, 2},
        {"defaults 11", 2},
        {"defaults 77 -o " + file + ".x", 1},
        {"image /nonexistent/file.ign", 1},
        {"program " + file + " --port " + sim.link(), 1},  // the unit speaks version 73
        {"image --help", 0},
        {"--help", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Cli(c.args).status, c.status) << c.args;
}

}  // namespace
}  // namespace kestrin::e2e

#endif
