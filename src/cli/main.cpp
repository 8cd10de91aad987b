// kestrin-cli: the program's core from the command line, for scripts, batch work and checking
// a parameter file without the window. Exit 0 on success, 1 when the unit or the file says
// no, 2 for usage errors.
#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/SerialPortLine.h"
#include "cli/CliLink.h"
#include "files/ParameterFile.h"
#include "link/MonitorDecoder.h"
#include "model/Bikes.h"
#include "model/Consistency.h"
#include "model/Defaults.h"

using namespace kestrin;

namespace {

constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

const char* const kUsageText =
    "Usage: kestrin-cli COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  defaults CODE -o FILE.ign       write the default parameter file of bike CODE\n"
    "  image FILE.ign | --bike CODE    print the 2850-byte image, 19 lines of 150 bytes\n"
    "  program FILE.ign --port PATH    program the file into the unit, then verify it\n"
    "  verify FILE.ign --port PATH     compare the file with the unit\n"
    "  read --port PATH -o FILE.ign    read the unit into a parameter file\n"
    "  monitor --port PATH [--count N] [--csv]\n"
    "                                  print decoded live values, one line per frame\n"
    "\n"
    "Run 'kestrin-cli COMMAND --help' for one command. Messages go to stderr.\n";

const std::map<std::string, std::string> kCommandHelp{
    {"defaults",
     "Usage: kestrin-cli defaults CODE -o FILE.ign\n"
     "Writes the parameter file of bike CODE (0..59) with its defaults, as the service batch\n"
     "writes it: image cleared, bike code set, defaults loaded, consistency pass.\n"},
    {"image",
     "Usage: kestrin-cli image FILE.ign\n"
     "       kestrin-cli image --bike CODE\n"
     "Prints the image as 19 lines of 150 decimal byte values, page 1 first. A file is read\n"
     "over bike 11's defaults as at start-up, then the consistency pass runs.\n"},
    {"program",
     "Usage: kestrin-cli program FILE.ign --port PATH\n"
     "Programs the file into the unit on PATH and verifies it. Exit 0 only when it ends OK.\n"},
    {"verify",
     "Usage: kestrin-cli verify FILE.ign --port PATH\n"
     "Compares the file with the unit's memory. Exit 0 only when it ends OK.\n"},
    {"read",
     "Usage: kestrin-cli read --port PATH -o FILE.ign\n"
     "Reads the unit, verifies what was read and writes it to FILE.ign.\n"},
    {"monitor",
     "Usage: kestrin-cli monitor --port PATH [--count N] [--csv]\n"
     "Prints the unit's live values, one line per monitor frame (N frames, default 10).\n"},
};

struct Args {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // "--port" -> value; flags map to ""
    bool help = false;
};

std::optional<Args> Parse(int argc, char** argv) {
    Args a;
    if (argc < 2) return std::nullopt;
    a.command = argv[1];
    static const std::map<std::string, bool> kTakesValue{
        {"--port", true}, {"-o", true}, {"--bike", true}, {"--count", true}, {"--csv", false}};
    for (int i = 2; i < argc; ++i) {
        const std::string s = argv[i];
        if (s == "--help" || s == "-h") {
            a.help = true;
        } else if (auto it = kTakesValue.find(s); it != kTakesValue.end()) {
            if (it->second) {
                if (i + 1 >= argc) return std::nullopt;
                a.options[s] = argv[++i];
            } else {
                a.options[s] = "";
            }
        } else if (s.size() > 1 && s[0] == '-') {
            std::cerr << "unknown option " << s << "\n";
            return std::nullopt;
        } else {
            a.positional.push_back(s);
        }
    }
    return a;
}

std::optional<int> Number(const std::string& s) {
    try {
        std::size_t used = 0;
        const int v = std::stoi(s, &used);
        if (used == s.size()) return v;
    } catch (...) {
    }
    return std::nullopt;
}

// The image and the editor's working maps, kept in step as the program keeps them.
struct Model {
    ParameterImage image;
    InjectionMapSet maps;
    BikeSelection bike;
    ProgramIndexes indexes;

    void Consistency() { ConsistencyPass(image, ConsistencyFlagsOf(image, bike), indexes); }
    bool LoadBike(int code) {
        image.clear();
        image.setByte(0, static_cast<std::uint8_t>(code));
        if (!LoadDefaults(kAllPages, image, maps, bike)) return false;
        ApplyBikeTables(image, maps, bike);
        return true;
    }
};

void Warn(MsgId id) {
    MessageSlots english;
    std::cerr << english[id] << "\n";
}

// The image a file gives, as the program holds it after opening that file at start-up.
bool LoadFile(const std::string& path, Model& m) {
    m.LoadBike(11);
    const auto version = OpenParameterFile(path, m.image, m.maps, m.bike, kAllPages, Warn);
    if (!version) {
        std::cerr << "cannot open " << path << "\n";
        return false;
    }
    if (*version == 0) {
        std::cerr << path << ": not a parameter file of a known version\n";
        return false;
    }
    ApplyBikeTables(m.image, m.maps, m.bike);
    m.Consistency();
    return true;
}

VersionStrings Versions(const UnitInfo* unit) {
    VersionStrings v;
    if (unit) {
        v.unitName = unit->unitName;
        v.unitDate = unit->unitDate;
        v.unitTime = unit->unitTime;
    }
    v.buildDate = __DATE__;
    v.buildTime = __TIME__;
    return v;
}

void PrintImage(const ParameterImage& image) {
    for (int p = 1; p <= kPageCount; ++p) {
        const auto page = image.page(p);
        std::string line;
        for (std::size_t i = 0; i < page.size(); ++i) {
            if (i) line += ' ';
            line += std::to_string(page[i]);
        }
        std::cout << line << "\n";
    }
}

int Defaults(const Args& a) {
    const auto code = a.positional.size() == 1 ? Number(a.positional[0]) : std::nullopt;
    if (!code || !a.options.count("-o")) return kUsage;
    if (!IsBikeCode(*code)) {
        std::cerr << "bike code " << a.positional[0] << " is not in the catalogue (0..59)\n";
        return kRefused;
    }
    Model m;
    m.LoadBike(*code);
    m.Consistency();
    if (!SaveParameterFile(a.options.at("-o"), m.image, Versions(nullptr))) {
        std::cerr << "cannot write " << a.options.at("-o") << "\n";
        return kRefused;
    }
    return kOk;
}

int Image(const Args& a) {
    Model m;
    if (a.options.count("--bike")) {
        const auto code = Number(a.options.at("--bike"));
        if (!code || !a.positional.empty()) return kUsage;
        if (!IsBikeCode(*code)) {
            std::cerr << "bike code " << a.options.at("--bike") << " is not in the catalogue\n";
            return kRefused;
        }
        m.LoadBike(*code);
        m.Consistency();
    } else {
        if (a.positional.size() != 1) return kUsage;
        if (!LoadFile(a.positional[0], m)) return kRefused;
    }
    PrintImage(m.image);
    return kOk;
}

// The line to the unit: COM1 mapped to the given device.
struct UnitLine {
    explicit UnitLine(const std::string& path)
        : line([&] {
              gui::PortMap map;
              map.Set(1, QString::fromStdString(path));
              return map;
          }()) {}
    gui::SerialPortLine line;
};

int Transfer(const Args& a, cli::CliLink::Transfer what) {
    const bool needsFile = what != cli::CliLink::Transfer::Read;
    if (!a.options.count("--port")) return kUsage;
    if (needsFile ? a.positional.size() != 1 : (!a.positional.empty() || !a.options.count("-o")))
        return kUsage;
    Model m;
    if (needsFile) {
        if (!LoadFile(a.positional[0], m)) return kRefused;
    } else {
        m.LoadBike(11);
    }
    UnitLine unit(a.options.at("--port"));
    cli::CliLink link(m.image, unit.line, std::cout, std::cerr);
    link.consistencyPass = [&] { m.Consistency(); };
    if (!link.Open()) {
        std::cerr << "cannot open " << a.options.at("--port") << "\n";
        return kRefused;
    }
    const bool ok = link.Run(what);
    link.loop().ClosePort();
    if (!ok) return kRefused;
    if (what == cli::CliLink::Transfer::Read) {
        ApplyBikeTables(m.image, m.maps, m.bike);
        if (!SaveParameterFile(a.options.at("-o"), m.image, Versions(&link.loop().unitInfo()))) {
            std::cerr << "cannot write " << a.options.at("-o") << "\n";
            return kRefused;
        }
    }
    return kOk;
}

// The values a tuner watches, in a fixed order for both output forms.
struct Column {
    const char* name;
    int (*get)(const MonitorLiveValues&);
};
const Column kColumns[] = {
    {"rpm", [](const MonitorLiveValues& v) { return v.rpm; }},
    {"tps_0.1%", [](const MonitorLiveValues& v) { return v.tps; }},
    {"iap_kPa", [](const MonitorLiveValues& v) { return v.iap; }},
    {"coolant_C", [](const MonitorLiveValues& v) { return v.coolant - 100; }},
    {"air_C", [](const MonitorLiveValues& v) { return v.air - 100; }},
    {"af_x10", [](const MonitorLiveValues& v) { return v.airFuel; }},
    {"lambda_mV", [](const MonitorLiveValues& v) { return v.lambdaVoltage; }},
    {"gear", [](const MonitorLiveValues& v) { return v.gear; }},
    {"tps_map_%", [](const MonitorLiveValues& v) { return v.tpsShare; }},
    {"tuning", [](const MonitorLiveValues& v) { return v.tuningState; }},
    {"saving", [](const MonitorLiveValues& v) { return v.savingCountdown; }},
    {"version", [](const MonitorLiveValues& v) { return v.unitVersion; }},
};

int Monitor(const Args& a) {
    if (!a.options.count("--port") || !a.positional.empty()) return kUsage;
    int count = 10;
    if (a.options.count("--count")) {
        const auto n = Number(a.options.at("--count"));
        if (!n || *n < 1) return kUsage;
        count = *n;
    }
    const bool csv = a.options.count("--csv") > 0;
    Model m;
    m.LoadBike(11);
    UnitLine unit(a.options.at("--port"));
    cli::CliLink link(m.image, unit.line, std::cout, std::cerr);
    if (!link.Open()) {
        std::cerr << "cannot open " << a.options.at("--port") << "\n";
        return kRefused;
    }
    MessageSlots english;
    MonitorResult result;
    if (csv) {
        for (std::size_t i = 0; i < std::size(kColumns); ++i)
            std::cout << (i ? "," : "") << kColumns[i].name;
        std::cout << std::endl;
    }
    int frames = 0;
    link.Monitor(
        [&](const Frame& f) {
            if (!DecodeMonitorFrame(f, m.image, english, {}, result)) return true;
            ++frames;
            for (std::size_t i = 0; i < std::size(kColumns); ++i) {
                const int v = kColumns[i].get(result.live);
                if (csv)
                    std::cout << (i ? "," : "") << v;
                else
                    std::cout << (i ? " " : "") << kColumns[i].name << "=" << v;
            }
            std::cout << std::endl;
            return frames < count;
        },
        // Frames come every 6 ticks; give each a generous allowance before giving up.
        count * 6 + 60);
    link.loop().ClosePort();
    if (frames == 0) {
        std::cerr << "no monitor frame from the unit\n";
        return kRefused;
    }
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the serial adapter is a Qt object
    const auto args = Parse(argc, argv);
    if (!args) {
        std::cerr << kUsageText;
        return kUsage;
    }
    if (args->command == "--help" || args->command == "-h" || args->command == "help") {
        std::cout << kUsageText;
        return kOk;
    }
    const auto help = kCommandHelp.find(args->command);
    if (help == kCommandHelp.end()) {
        std::cerr << "unknown command " << args->command << "\n" << kUsageText;
        return kUsage;
    }
    if (args->help) {
        std::cout << help->second;
        return kOk;
    }
    int rc = kUsage;
    if (args->command == "defaults") rc = Defaults(*args);
    if (args->command == "image") rc = Image(*args);
    if (args->command == "program") rc = Transfer(*args, cli::CliLink::Transfer::Program);
    if (args->command == "verify") rc = Transfer(*args, cli::CliLink::Transfer::Verify);
    if (args->command == "read") rc = Transfer(*args, cli::CliLink::Transfer::Read);
    if (args->command == "monitor") rc = Monitor(*args);
    if (rc == kUsage) std::cerr << help->second;
    return rc;
}
