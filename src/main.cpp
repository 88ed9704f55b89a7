// The flowlattice command line: the editor, or one of the headless modes.

#include "cli/InputsCommand.h"
#include "cli/RenderCommand.h"
#include "cli/ResaveCommand.h"
#include "cli/RunCommand.h"
#include "cli/StartEditor.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

const char* const kUsage =
    "Usage:\n"
    "  flowlattice [FILE]                       open the editor (FILE: a circuit to load)\n"
    "  flowlattice --run FILE [--timeout SECONDS] [--seed N] [--trace OUT.json]\n"
    "                    [--set NAME=VALUE]...\n"
    "                                           load, check and run FILE without a window;\n"
    "                                           printed lines go to stdout; a run still going\n"
    "                                           after SECONDS is stopped; Random nodes draw\n"
    "                                           from seed N (0 to 18446744073709551615), the\n"
    "                                           same numbers for the same N; --trace records\n"
    "                                           every firing and writes them to OUT.json in\n"
    "                                           the Trace Event format (the last 100000); the\n"
    "                                           input NAME runs with VALUE (the file is not\n"
    "                                           changed)\n"
    "  flowlattice --inputs FILE                list FILE's inputs: name, type and value,\n"
    "                                           parted by tabs, one input a line\n"
    "  flowlattice --render FILE --output OUT [--size WxH] [--scale N] [--fit]\n"
    "                                           draw FILE as its window's canvas would show it,\n"
    "                                           to an SVG when OUT ends in .svg, else a PNG;\n"
    "                                           N image pixels to a canvas pixel (default 1);\n"
    "                                           --fit shows the whole circuit\n"
    "  flowlattice --resave IN OUT [--keep-what-was-read]\n"
    "                                           load IN and save it to OUT as the editor would;\n"
    "                                           when IN was read only in part, nothing is\n"
    "                                           written unless --keep-what-was-read is given\n"
    "  flowlattice --help | --version\n"
    "\n"
    "Files that are not Flowlattice circuits are refused. Running or drawing a file read only\n"
    "in part goes on, after saying on stderr what was left out.\n"
    "\n"
    "A VALUE is read as the editor reads a typed one: an Integer in decimal, $hexadecimal or\n"
    "%binary, a Real in decimal, a Boolean True or False, a String as it is.\n"
    "\n"
    "Exit status: 0 success; 1 the circuit has a defect; 2 unusable arguments, an input\n"
    "setting that names no input or gives a value not of its type, or a file that cannot be\n"
    "read or written (or, to resave, was read only in part); 3 some nodes could never\n"
    "fire; 4 a run still going at its timeout was stopped.\n";

int BadArguments(const char* why) {
    std::fprintf(stderr, "flowlattice: %s\n\n%s", why, kUsage);
    return 2;
}

bool ParseSize(const char* text, int& width, int& height) {
    char extra = 0;
    return std::sscanf(text, "%dx%d%c", &width, &height, &extra) == 2 && width > 0 && height > 0 &&
           width <= 16384 && height <= 16384;
}

constexpr double kLongestSide = 16384;
// A year: longer is no timeout, and would overflow the clock's arithmetic.
constexpr double kLongestTimeout = 365.0 * 24 * 3600;

// An image of at least one pixel and at most kLongestSide pixels each way, drawn from a canvas
// no larger than --size allows: below one pixel the image rounds up to one, and drawing it
// would lay out a canvas of the pixel divided by the scale.
bool ParseScale(const char* text, int width, int height, double& scale) {
    char extra = 0;
    if (std::sscanf(text, "%lf%c", &scale, &extra) != 1 || !std::isfinite(scale) || !(scale > 0))
        return false;
    for (const double side : {double(width), double(height)}) {
        const double pixels = std::round(side * scale);
        if (side * scale < 1 || pixels > kLongestSide || pixels / scale > kLongestSide)
            return false;
    }
    return true;
}

// Decimal digits only: strtoull would take a sign, spaces and a wrapped negative.
std::optional<std::uint64_t> ParseSeed(const char* text) {
    if (!*text || std::strspn(text, "0123456789") != std::strlen(text)) return {};
    errno = 0;
    const unsigned long long seed = std::strtoull(text, nullptr, 10);
    if (errno == ERANGE) return {};
    return std::uint64_t(seed);
}

} // namespace

int main(int argc, char** argv) {
    // File names as Qt will open them. Bytes that are not text in the system's encoding would be
    // replaced on the way in and the file looked for under another name: refuse those instead.
    bool unusableName = false;
    auto arg = [&](int i) {
        const QString name = QFile::decodeName(argv[i]);
        unusableName = unusableName || QFile::encodeName(name) != QByteArray(argv[i]);
        return name;
    };
    auto badName = [] {
        return BadArguments("a file name is not valid text in the system's encoding");
    };
    const char* first = argc > 1 ? argv[1] : "";
    if (!std::strcmp(first, "--help") || !std::strcmp(first, "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!std::strcmp(first, "--version")) {
        std::printf("flowlattice %s\n", FLOW_VERSION);
        return 0;
    }
    if (!std::strcmp(first, "--run")) {
        QString file;
        std::optional<double> timeout;
        std::optional<std::uint64_t> seed;
        QString trace;
        std::vector<flow::InputSetting> settings;
        for (int i = 2; i < argc; ++i) {
            if (!std::strcmp(argv[i], "--timeout") && i + 1 < argc) {
                double seconds = 0;
                char extra = 0;
                if (std::sscanf(argv[++i], "%lf%c", &seconds, &extra) != 1 ||
                    !std::isfinite(seconds) || !(seconds > 0) || seconds > kLongestTimeout)
                    return BadArguments("--timeout takes a number of seconds above 0");
                timeout = seconds;
            } else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) {
                seed = ParseSeed(argv[++i]);
                if (!seed)
                    return BadArguments("--seed takes a whole number from 0 to "
                                        "18446744073709551615");
            } else if (!std::strcmp(argv[i], "--trace") && i + 1 < argc && trace.isEmpty()) {
                trace = arg(++i);
                if (trace.isEmpty()) return BadArguments("--trace takes a file name");
            } else if (!std::strcmp(argv[i], "--set") && i + 1 < argc) {
                const auto setting = flow::ParseInputSetting(QString::fromLocal8Bit(argv[++i]));
                if (!setting) return BadArguments("--set takes NAME=VALUE");
                settings.push_back(*setting);
            } else if (file.isEmpty() && argv[i][0] != '-') {
                file = arg(i);
            } else {
                return BadArguments("--run takes exactly one FILE");
            }
        }
        if (file.isEmpty()) return BadArguments("--run takes exactly one FILE");
        return unusableName ? badName() : flow::RunCommand(file, timeout, seed, trace, settings);
    }
    if (!std::strcmp(first, "--inputs")) {
        if (argc != 3 || argv[2][0] == '-') return BadArguments("--inputs takes exactly one FILE");
        const QString file = arg(2);
        return unusableName ? badName() : flow::InputsCommand(file);
    }
    if (!std::strcmp(first, "--resave")) {
        QStringList names;
        bool keepWhatWasRead = false;
        for (int i = 2; i < argc; ++i) {
            if (!std::strcmp(argv[i], "--keep-what-was-read"))
                keepWhatWasRead = true;
            else
                names << arg(i);
        }
        if (names.size() != 2) return BadArguments("--resave takes IN and OUT");
        return unusableName ? badName() : flow::ResaveCommand(names[0], names[1], keepWhatWasRead);
    }
    if (!std::strcmp(first, "--render")) {
        QString file, output;
        int width = 800, height = 600;
        const char* scaleText = "1";
        bool fit = false;
        for (int i = 2; i < argc; ++i) {
            if (!std::strcmp(argv[i], "--output") && i + 1 < argc) {
                output = arg(++i);
            } else if (!std::strcmp(argv[i], "--size") && i + 1 < argc) {
                if (!ParseSize(argv[++i], width, height))
                    return BadArguments("--size takes WxH, for example 800x600");
            } else if (!std::strcmp(argv[i], "--scale") && i + 1 < argc) {
                scaleText = argv[++i];
            } else if (!std::strcmp(argv[i], "--fit")) {
                fit = true;
            } else if (file.isEmpty() && argv[i][0] != '-') {
                file = arg(i);
            } else {
                return BadArguments("unexpected argument to --render");
            }
        }
        if (file.isEmpty() || output.isEmpty())
            return BadArguments("--render takes FILE and --output OUT");
        double scale = 1;
        if (!ParseScale(scaleText, width, height, scale))
            return BadArguments("--scale takes a positive number, for example 2, that makes an "
                                "image of 1 to 16384 pixels a side from a canvas of at most "
                                "16384 pixels a side");
        if (unusableName) return badName();
        return flow::RenderCommand(file, output, width, height, scale, fit);
    }
    if (first[0] == '-' && first[1] == '-') return BadArguments("unknown option");
    return flow::StartEditor(argc, argv);
}
