// png_bench: decodes the benchmark images and the PNG suite from memory with our codec, libpng,
// libspng and stb_image, next to the floor of inflating the image data alone, and prints the
// median times and our codec's heap use.
//
// Usage: png_bench [--quick] [--seconds S] [--only DECODER] [shared-folder]
//   --quick    one run per cell; checks that every decoder reads every image with the same
//              size and that our pixels match libpng's; exits non-zero on any difference
//   --seconds  minimum time spent per cell (default 0.5; at least 5 runs either way)
//   --only     times just that decoder ("ours", "libpng", "spng", "stb"), e.g. under a profiler

#include "alloc_meter.h"
#include "competitors.h"
#include "our_decoder.h"
#include "png_file.h"
#include "timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef PNG_BENCH_SHARED_DIR
#error "PNG_BENCH_SHARED_DIR must name the shared data folder"
#endif

namespace fs = std::filesystem;
using namespace bench;

namespace {

struct BenchFile {
    std::string name;
    std::vector<uint8_t> bytes;
    PngFacts facts;
};

struct Group {
    std::string name;
    std::vector<BenchFile> files;
};

struct Decoder {
    const char* name;
    std::function<uint64_t(std::span<const uint8_t>)> decode;
};

const std::vector<Decoder>& decoders() {
    static const std::vector<Decoder> list{
        {"ours", decodeWithOurs},
        {"libpng",
         [](std::span<const uint8_t> f) {
             const NativeImage image = decodeWithLibpng(f);
             return uint64_t{image.width} * image.height;
         }},
        {"spng", decodeWithSpng},
        {"stb", decodeWithStb},
    };
    return list;
}

std::vector<fs::path> pngFilesIn(const fs::path& folder, bool validSuiteOnly) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || entry.path().extension() != ".png")
            continue;
        // The suite names its deliberately broken files with a leading 'x'.
        if (validSuiteOnly && name.front() == 'x')
            continue;
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

BenchFile loadFile(const fs::path& path) {
    BenchFile file{path.filename().string(), readWholeFile(path), {}};
    file.facts = readPngFacts(file.bytes);
    return file;
}

std::vector<Group> loadGroups(const fs::path& shared) {
    std::vector<Group> groups;
    for (const fs::path& path : pngFilesIn(shared / "png-bench", false))
        groups.push_back({path.stem().string(), {loadFile(path)}});
    Group suite;
    for (const fs::path& path : pngFilesIn(shared / "pngsuite", true))
        suite.files.push_back(loadFile(path));
    suite.name = "PngSuite (" + std::to_string(suite.files.size()) + " files)";
    groups.push_back(std::move(suite));
    return groups;
}

// Decodes every file once with every decoder; returns, per decoder, whether it read them all.
// Failures and disagreements go to `problems`.
std::vector<bool> checkGroup(const Group& group, std::vector<std::string>& problems) {
    std::vector<bool> usable(decoders().size(), true);
    for (const BenchFile& file : group.files) {
        const uint64_t expected = uint64_t{file.facts.width} * file.facts.height;
        for (size_t d = 0; d < decoders().size(); ++d) {
            const Decoder& decoder = decoders()[d];
            try {
                const uint64_t pixels = decoder.decode(file.bytes);
                if (pixels != expected) {
                    problems.push_back(file.name + ": " + decoder.name + " gave " +
                                       std::to_string(pixels) + " pixels, the header says " +
                                       std::to_string(expected));
                    usable[d] = false;
                }
            } catch (const std::exception& e) {
                problems.push_back(file.name + ": " + decoder.name + " failed: " + e.what());
                usable[d] = false;
            }
        }
        try {
            const std::string difference =
                compareWithReference(file.bytes, file.facts, decodeWithLibpng(file.bytes));
            if (!difference.empty())
                problems.push_back(file.name + ": our pixels differ from libpng's at " +
                                   difference);
        } catch (const std::exception&) {
            // Already reported by the decode above.
        }
    }
    return usable;
}

double timeFloor(const Group& group, const TimingPlan& plan) {
    size_t largest = 0;
    for (const BenchFile& file : group.files)
        largest = std::max(largest, file.facts.filteredSize);
    std::vector<uint8_t> out(largest);
    return timeMedian(
               [&] {
                   for (const BenchFile& file : group.files)
                       inflateImageData(file.facts, out);
               },
               plan)
        .medianMs;
}

std::string cell(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    return text;
}

std::string ratio(double numerator, double denominator) {
    if (!(numerator > 0) || !(denominator > 0))
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", numerator / denominator);
    return text;
}

void printRow(const std::vector<std::string>& cells, size_t firstWidth) {
    std::printf("%-*s", static_cast<int>(firstWidth), cells[0].c_str());
    for (size_t i = 1; i < cells.size(); ++i)
        std::printf(" %12s", cells[i].c_str());
    std::printf("\n");
}

std::string kib(int64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1024.0);
    return text;
}

void printHeapUse(const std::vector<Group>& groups, size_t firstWidth) {
    std::printf("\nMemory of our codec per read (KiB; heap blocks and its own memory mappings):\n"
                "the bitmap and alpha plane it produces, the most it held beyond them at one\n"
                "time, what the image keeps beyond them after the read, and the number of\n"
                "allocations. The suite row shows its largest file for each figure.\n\n");
    if (!heapMeterAvailable()) {
        std::printf("(not measured: the memory meter is off in sanitizer builds)\n");
        return;
    }
    printRow({"image", "result", "working", "kept", "allocations"}, firstWidth);
    for (const Group& group : groups) {
        OurHeapUse most;
        for (const BenchFile& file : group.files) {
            try {
                const OurHeapUse use = measureOurHeapUse(file.bytes);
                most.resultBytes = std::max(most.resultBytes, use.resultBytes);
                most.peakBytes = std::max(most.peakBytes, use.workingBytes());
                most.heldBytes = std::max(most.heldBytes, use.keptBytes());
                most.allocations = std::max(most.allocations, use.allocations);
            } catch (const std::exception&) {
                // Reported by the check.
            }
        }
        printRow({group.name, kib(most.resultBytes), kib(most.peakBytes), kib(most.heldBytes),
                  std::to_string(most.allocations)},
                 firstWidth);
    }
}

} // namespace

int main(int argc, char** argv) {
    fs::path shared = PNG_BENCH_SHARED_DIR;
    TimingPlan plan;
    bool quick = false;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            quick = true;
        } else if (arg == "--seconds" && i + 1 < argc) {
            plan.minSeconds = std::atof(argv[++i]);
        } else if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else if (!arg.empty() && arg[0] != '-') {
            shared = arg;
        } else {
            std::fprintf(stderr, "usage: png_bench [--quick] [--seconds S] [--only DECODER] "
                                 "[shared-folder]\n");
            return 2;
        }
    }
    if (quick)
        plan = TimingPlan{1, 0, 1};

    std::vector<Group> groups;
    try {
        groups = loadGroups(shared);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "png_bench: %s\n", e.what());
        return 2;
    }

    size_t firstWidth = 5;
    for (const Group& group : groups)
        firstWidth = std::max(firstWidth, group.name.size());

    std::printf("Median decode time in ms (%s); inflate = zlib alone on the image data.\n\n",
                quick ? "one run each" : "at least 5 runs and 0.5 s per cell");
    std::vector<std::string> header{"image"};
    for (const Decoder& decoder : decoders())
        header.push_back(decoder.name);
    header.insert(header.end(), {"inflate", "libpng/ours", "ours/inflate"});
    printRow(header, firstWidth);

    std::vector<std::string> problems;
    for (const Group& group : groups) {
        const std::vector<bool> usable = checkGroup(group, problems);
        std::vector<std::string> cells{group.name};
        std::vector<double> medians;
        for (size_t d = 0; d < decoders().size(); ++d) {
            const Decoder& decoder = decoders()[d];
            const bool wanted = only.empty() || only == decoder.name;
            double ms = 0;
            if (usable[d] && wanted) {
                ms = timeMedian(
                         [&] {
                             for (const BenchFile& file : group.files)
                                 decoder.decode(file.bytes);
                         },
                         plan)
                         .medianMs;
            }
            medians.push_back(ms);
            cells.push_back(!usable[d] ? "failed" : wanted ? cell(ms) : "-");
        }
        const double floorMs = timeFloor(group, plan);
        cells.push_back(cell(floorMs));
        cells.push_back(ratio(medians[1], medians[0]));
        cells.push_back(ratio(medians[0], floorMs));
        printRow(cells, firstWidth);
        std::fflush(stdout);
    }

    printHeapUse(groups, firstWidth);

    if (!problems.empty()) {
        std::printf("\nProblems:\n");
        for (const std::string& problem : problems)
            std::printf("  %s\n", problem.c_str());
        return 1;
    }
    if (quick)
        std::printf("\nAll decoders read all images with the same sizes; our pixels match.\n");
    return 0;
}
