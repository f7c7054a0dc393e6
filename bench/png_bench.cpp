// png_bench: decodes the benchmark images and the PNG suite from memory with our codec, libpng,
// libspng and stb_image, next to the floor of inflating the image data alone, in one call and fed
// chunk by chunk. The contenders run in interleaved rounds (see timing.h); per image it prints the
// median time of each and the median and interquartile range of the per-round ratios, then our
// codec's heap use.
//
// Usage: png_bench [--quick] [--rounds N] [--seconds S] [--only DECODER] [--image TEXT]
//                  [--split] [--callgrind] [shared-folder]
//   --quick      one run per cell; checks that every decoder reads every image with the same
//                size and that our pixels match libpng's; exits non-zero on any difference
//   --rounds     the least number of rounds per image (default 61, the floor)
//   --seconds    keep adding rounds until an image's rounds took that long together
//                (default 2)
//   --only       times just that contender ("ours", "libpng", "spng", "stb", "inflate",
//                "chunked"),
//                e.g. under a profiler
//   --image      only the images whose name contains TEXT
//   --split      each file of the suite as an image of its own (with --image, those whose
//                file name contains TEXT), to see which ones cost more than their inflating
//   --callgrind  under valgrind --tool=callgrind: one decode per contender and image, each
//                dumped as its own profile part named "image|contender"
//                (bench/callgrind-png-bench.sh prints the instruction counts and ratios)

#include "alloc_meter.h"
#include "competitors.h"
#include "our_decoder.h"
#include "png_file.h"
#include "timing.h"

#if defined(__has_include)
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define SC_BENCH_CALLGRIND 1
#endif
#endif

#include <algorithm>
#include <cstdint>
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

std::vector<Group> loadGroups(const fs::path& shared, bool split) {
    std::vector<Group> groups;
    for (const fs::path& path : pngFilesIn(shared / "png-bench", false))
        groups.push_back({path.stem().string(), {loadFile(path)}});
    if (split) {
        for (const fs::path& path : pngFilesIn(shared / "pngsuite", true))
            groups.push_back({path.filename().string(), {loadFile(path)}});
        return groups;
    }
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

size_t largestFiltered(const Group& group) {
    size_t largest = 0;
    for (const BenchFile& file : group.files)
        largest = std::max(largest, file.facts.filteredSize);
    return largest;
}

std::string cell(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    return text;
}

void printRow(const std::vector<std::string>& cells, size_t firstWidth) {
    std::printf("%-*s", static_cast<int>(firstWidth), cells[0].c_str());
    for (size_t i = 1; i < cells.size(); ++i)
        std::printf(" %*s", cells[i].find('(') == std::string::npos ? 9 : 13, cells[i].c_str());
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

// One run of a contender over a whole group.
std::function<void()> groupRun(const Group& group, size_t contender, std::vector<uint8_t>& out) {
    if (contender < decoders().size())
        return [&group, contender] {
            for (const BenchFile& file : group.files)
                decoders()[contender].decode(file.bytes);
        };
    if (contender == decoders().size())
        return [&group, &out] {
            for (const BenchFile& file : group.files)
                inflateImageData(file.facts, out);
        };
    return [&group, &out] {
        for (const BenchFile& file : group.files)
            inflateImageDataByChunk(file.bytes, file.facts, out);
    };
}

std::string ratioCell(const std::vector<std::vector<double>>& times, size_t numerator,
                      size_t denominator) {
    if (numerator == SIZE_MAX || denominator == SIZE_MAX)
        return "-";
    const Spread s = ratioSpread(times, numerator, denominator);
    char text[48];
    std::snprintf(text, sizeof text, "%.2f (%.2f)", s.median, s.iqr());
    return text;
}

#if SC_BENCH_CALLGRIND
// One decode per contender and image, each in a profile part of its own.
void profileGroups(const std::vector<Group>& groups, const std::vector<std::string>& names,
                   const std::string& only) {
    for (const Group& group : groups) {
        std::vector<uint8_t> out(largestFiltered(group));
        for (size_t c = 0; c < names.size(); ++c) {
            if (!only.empty() && only != names[c])
                continue;
            const std::function<void()> run = groupRun(group, c, out);
            run(); // tables built on first use are not part of the count
            CALLGRIND_ZERO_STATS;
            run();
            const std::string part = group.name + "|" + names[c];
            CALLGRIND_DUMP_STATS_AT(part.c_str());
        }
    }
}
#endif

} // namespace

int main(int argc, char** argv) {
    fs::path shared = PNG_BENCH_SHARED_DIR;
    RoundsPlan plan;
    bool quick = false, callgrind = false, split = false;
    std::string only, image;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            quick = true;
        } else if (arg == "--callgrind") {
            callgrind = true;
        } else if (arg == "--split") {
            split = true;
        } else if (arg == "--rounds" && i + 1 < argc) {
            plan.minRounds = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--seconds" && i + 1 < argc) {
            plan.minSeconds = std::atof(argv[++i]);
        } else if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else if (arg == "--image" && i + 1 < argc) {
            image = argv[++i];
        } else if (!arg.empty() && arg[0] != '-') {
            shared = arg;
        } else {
            std::fprintf(stderr, "usage: png_bench [--quick] [--rounds N] [--seconds S] "
                                 "[--only DECODER] [--image TEXT] [--split] [--callgrind] "
                                 "[shared-folder]\n");
            return 2;
        }
    }
    if (quick)
        plan = RoundsPlan{1, 0, 1};

    std::vector<Group> groups;
    try {
        groups = loadGroups(shared, split);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "png_bench: %s\n", e.what());
        return 2;
    }
    if (!image.empty())
        std::erase_if(groups,
                      [&](const Group& g) { return g.name.find(image) == std::string::npos; });

    std::vector<std::string> names;
    for (const Decoder& decoder : decoders())
        names.push_back(decoder.name);
    names.push_back("inflate");
    names.push_back("chunked");
    const size_t ours = 0, libpng = 1, inflateFloor = names.size() - 2, chunked = names.size() - 1;

    if (callgrind) {
#if SC_BENCH_CALLGRIND
        profileGroups(groups, names, only);
        return 0;
#else
        std::fprintf(stderr, "png_bench: built without valgrind's callgrind.h\n");
        return 2;
#endif
    }

    size_t firstWidth = 5;
    for (const Group& group : groups)
        firstWidth = std::max(firstWidth, group.name.size());

    if (quick)
        std::printf("Decode time in ms (one run each); inflate = zlib alone on the image data.\n");
    else
        std::printf("Median decode time in ms (thread time) over at least %u interleaved rounds "
                    "and %.1f s per image;\ninflate = zlib alone on the image data. Ratios: "
                    "median of the per-round ratios (interquartile range).\n",
                    plan.minRounds, plan.minSeconds);
    std::printf("chunked = zlib alone fed the image data chunk by chunk, one call each, as a\n"
                "reader that streams the file must: the floor for such a reader.\n\n");
    std::vector<std::string> header{"image"};
    header.insert(header.end(), names.begin(), names.end());
    header.insert(header.end(), {"rounds", "ours/inflate", "ours/chunked", "libpng/ours"});
    printRow(header, firstWidth);

    std::vector<std::string> problems;
    for (const Group& group : groups) {
        std::vector<bool> usable = checkGroup(group, problems);
        usable.push_back(true);
        usable.push_back(true);
        std::vector<uint8_t> out(largestFiltered(group));
        std::vector<std::function<void()>> runs;
        std::vector<size_t> slot(names.size(), SIZE_MAX); // contender -> index in runs
        for (size_t c = 0; c < names.size(); ++c) {
            if (!usable[c] || (!only.empty() && only != names[c]))
                continue;
            slot[c] = runs.size();
            runs.push_back(groupRun(group, c, out));
        }
        const std::vector<std::vector<double>> times = timeRounds(runs, plan);
        std::vector<std::string> cells{group.name};
        for (size_t c = 0; c < names.size(); ++c) {
            if (!usable[c]) {
                cells.push_back("failed");
                continue;
            }
            if (slot[c] == SIZE_MAX) {
                cells.push_back("-");
                continue;
            }
            std::vector<double> own;
            for (const auto& round : times)
                own.push_back(round[slot[c]]);
            cells.push_back(cell(spreadOf(own).median));
        }
        cells.push_back(std::to_string(times.size()));
        cells.push_back(ratioCell(times, slot[ours], slot[inflateFloor]));
        cells.push_back(ratioCell(times, slot[ours], slot[chunked]));
        cells.push_back(ratioCell(times, slot[libpng], slot[ours]));
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
