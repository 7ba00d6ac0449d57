// zelkon-exact-shapes: times the exact P values of the Kruskal-Wallis and Friedman tests on
// every design they are computed for, and prints the slowest.
// Times are the processor time of the count (milliseconds).
//   zelkon-exact-shapes kruskal-wallis [--top N] [--statistics K]
//       every shape of group sizes (at most 26 groups of at most 1001 values) whose
//       arrangements are within the limit, each timed on K observed statistics (the
//       statistics of random divisions); the slowest N shapes, slowest first
//   zelkon-exact-shapes friedman [--top N] [--statistics K]
//       the same for every number of rows and columns within the Friedman limits
//   zelkon-exact-shapes shape 8,8,1,1,1,1 [--statistics K]
//       one shape: the counts and time of each statistic, and the peak memory of the process
//   zelkon-exact-shapes write 8,8,1,1,1,1 FILE.ZLD [--seed S]
//       a data file holding one random division of the ranks in columns of those sizes,
//       with the Kruskal-Wallis test chosen (no post test)
#include <sys/resource.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/groups/friedman_exact.h"
#include "analyses/groups/kruskal_wallis_exact.h"
#include "core/calc_status.h"
#include "document/data_file.h"
#include "document/document.h"

using namespace zelkon;

namespace {

using Sizes = std::vector<std::int32_t>;

std::string ShapeText(const Sizes& sizes) {
    std::string text = "(";
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (i > 0) text += ",";
        text += std::to_string(sizes[i]);
    }
    return text + ")";
}

/// One random division of the ranks 1..N into groups of the sizes: the ranks of each group.
std::vector<Sizes> RandomDivision(const Sizes& sizes, std::mt19937& rng) {
    const std::int32_t n = std::accumulate(sizes.begin(), sizes.end(), 0);
    Sizes ranks(static_cast<std::size_t>(n));
    std::iota(ranks.begin(), ranks.end(), 1);
    std::shuffle(ranks.begin(), ranks.end(), rng);
    std::vector<Sizes> groups;
    std::size_t at = 0;
    for (const std::int32_t size : sizes) {
        groups.emplace_back(ranks.begin() + static_cast<std::ptrdiff_t>(at),
                            ranks.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += static_cast<std::size_t>(size);
    }
    return groups;
}

/// S = sum of R_j^2 / n_j of a random division.
Extended RandomS(const Sizes& sizes, std::mt19937& rng) {
    Extended s = 0;
    for (const Sizes& group : RandomDivision(sizes, rng)) {
        const Extended sum = std::accumulate(group.begin(), group.end(), Extended{0});
        s += sum * sum / static_cast<Extended>(group.size());
    }
    return s;
}

/// Q = sum of R_j^2 of a random assignment of the orders of 1..c to r rows.
Extended RandomQ(std::int32_t rows, std::int32_t columns, std::mt19937& rng) {
    std::vector<Extended> sums(static_cast<std::size_t>(columns), 0);
    Sizes ranks(static_cast<std::size_t>(columns));
    for (std::int32_t i = 0; i < rows; ++i) {
        std::iota(ranks.begin(), ranks.end(), 1);
        std::shuffle(ranks.begin(), ranks.end(), rng);
        for (std::size_t j = 0; j < sums.size(); ++j) sums[j] += ranks[j];
    }
    Extended q = 0;
    for (const Extended s : sums) q += s * s;
    return q;
}

/// The processor time of this process in milliseconds: the machine may be shared, and time
/// spent waiting for the processor is not the count's.
double ProcessorMilliseconds() {
    return static_cast<double>(std::clock()) * 1e3 / CLOCKS_PER_SEC;
}

/// Every shape within the limit: group sizes in decreasing order, at least two groups.
void Shapes(Sizes& prefix, std::int32_t largest, std::vector<Sizes>& shapes) {
    if (prefix.size() >= 2) shapes.push_back(prefix);
    if (prefix.size() == static_cast<std::size_t>(DataColumns)) return;
    // C(N + s, s) grows with s: once a size is beyond the limit, so is every larger one.
    for (std::int32_t size = 1; size <= largest; ++size) {
        prefix.push_back(size);
        Extended total = 0;
        const bool within = KruskalWallisArrangements(prefix, total);
        if (within) Shapes(prefix, size, shapes);
        prefix.pop_back();
        if (!within) break;
    }
}

std::vector<Sizes> EveryShape() {
    std::vector<Sizes> shapes;
    Sizes prefix;
    for (std::int32_t first = DataRows; first >= 1; --first) {
        prefix.assign(1, first);
        Shapes(prefix, first, shapes);
    }
    return shapes;
}

struct Timed {
    std::string design;
    double ms = 0;  ///< the slowest of its statistics
    std::string method;
    Extended arrangements = 0;
    bool finished = true;
};

struct Options {
    std::size_t top = 20;
    int statistics = 3;
    unsigned seed = 1;
};

/// Times one Kruskal-Wallis shape on its statistics.
Timed TimeShape(const Sizes& sizes, int statistics, unsigned seed, bool print) {
    std::mt19937 rng(seed);
    Timed timed;
    timed.design = ShapeText(sizes);
    for (int i = 0; i < statistics; ++i) {
        const Extended s0 = RandomS(sizes, rng);
        GlobalCalcStatus().BeginCalculation();
        const double start = ProcessorMilliseconds();
        const KruskalWallisExact exact = KruskalWallisExactP(sizes, s0);
        const double ms = ProcessorMilliseconds() - start;
        GlobalCalcStatus().EndCalculation();
        timed.ms = std::max(timed.ms, ms);
        timed.method = KruskalWallisMethodText(exact.method);
        timed.arrangements = exact.arrangements;
        timed.finished = timed.finished && exact.status == ExactStatusExact;
        if (print) {
            std::printf("S0 %.10Lf  visited %lld  extreme %lld  %.2f ms  %s\n", s0,
                        static_cast<long long>(exact.visited),
                        static_cast<long long>(exact.extreme), ms, timed.method.c_str());
        }
    }
    return timed;
}

Timed TimeFriedman(std::int32_t rows, std::int32_t columns, int statistics, unsigned seed) {
    std::mt19937 rng(seed);
    Timed timed;
    timed.design = std::to_string(rows) + " rows x " + std::to_string(columns) + " columns";
    for (int i = 0; i < statistics; ++i) {
        const Extended q0 = RandomQ(rows, columns, rng);
        GlobalCalcStatus().BeginCalculation();
        BeginExactCalculation(0.5L);
        const double start = ProcessorMilliseconds();
        const FriedmanExact exact = FriedmanExactP(rows, columns, q0);
        const double ms = ProcessorMilliseconds() - start;
        EndExactCalculation();
        GlobalCalcStatus().EndCalculation();
        timed.ms = std::max(timed.ms, ms);
        timed.method = FriedmanMethodText(exact.method);
        timed.arrangements = exact.arrangements;
        timed.finished = timed.finished && exact.status == ExactStatusExact;
    }
    return timed;
}

/// The slowest designs, each timed again twice more (the least of the three times kept, so
/// that a moment of load on the machine does not rank a design).
void PrintSlowest(std::vector<Timed>& timed, std::size_t top, double totalMs,
                  const auto& retime) {
    std::sort(timed.begin(), timed.end(),
              [](const Timed& a, const Timed& b) { return a.ms > b.ms; });
    const std::size_t again = std::min(timed.size(), 3 * top);
    for (std::size_t i = 0; i < again; ++i) {
        for (int k = 0; k < 2; ++k) timed[i].ms = std::min(timed[i].ms, retime(i).ms);
    }
    std::sort(timed.begin(), timed.begin() + static_cast<std::ptrdiff_t>(again),
              [](const Timed& a, const Timed& b) { return a.ms > b.ms; });
    std::size_t unfinished = 0;
    for (const Timed& t : timed) unfinished += t.finished ? 0 : 1;
    std::printf("%zu designs, %.0f ms in all, %zu not finished\n", timed.size(), totalMs,
                unfinished);
    // How many designs each method counted, and the slowest of each.
    std::vector<std::pair<std::string, std::pair<std::size_t, double>>> methods;
    for (const Timed& t : timed) {
        auto at = std::find_if(methods.begin(), methods.end(),
                               [&](const auto& m) { return m.first == t.method; });
        if (at == methods.end()) {
            methods.push_back({t.method, {0, 0.0}});
            at = methods.end() - 1;
        }
        ++at->second.first;
        at->second.second = std::max(at->second.second, t.ms);
    }
    for (const auto& [method, tally] : methods)
        std::printf("  %6zu designs, slowest %8.2f ms: %s\n", tally.first, tally.second, method.c_str());
    std::printf("%-28s %10s %14s  %s\n", "design", "ms", "arrangements", "method");
    for (std::size_t i = 0; i < std::min(top, timed.size()); ++i) {
        std::printf("%-28s %10.2f %14.0Lf  %s%s\n", timed[i].design.c_str(), timed[i].ms,
                    timed[i].arrangements, timed[i].method.c_str(),
                    timed[i].finished ? "" : " (not finished)");
    }
}

int KruskalWallisShapes(const Options& options) {
    const std::vector<Sizes> shapes = EveryShape();
    std::vector<Timed> timed;
    std::vector<std::size_t> index;
    double total = 0;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        timed.push_back(TimeShape(shapes[i], options.statistics, options.seed + i, false));
        total += timed.back().ms;
    }
    // Remember which shape each entry is, for timing again.
    std::vector<std::pair<Timed, Sizes>> both;
    for (std::size_t i = 0; i < shapes.size(); ++i) both.emplace_back(timed[i], shapes[i]);
    std::sort(both.begin(), both.end(),
              [](const auto& a, const auto& b) { return a.first.ms > b.first.ms; });
    for (std::size_t i = 0; i < both.size(); ++i) timed[i] = both[i].first;
    PrintSlowest(timed, options.top, total, [&](std::size_t i) {
        return TimeShape(both[i].second, options.statistics, options.seed + 7919 * (i + 1),
                         false);
    });
    return 0;
}

int FriedmanDesigns(const Options& options) {
    std::vector<std::pair<std::int32_t, std::int32_t>> designs;
    for (std::int32_t c = 2; c <= FriedmanMostColumns; ++c) {
        Extended total = 0;
        for (std::int32_t r = 2; FriedmanArrangements(r, c, total); ++r) designs.emplace_back(r, c);
    }
    std::vector<std::pair<Timed, std::size_t>> both;
    double totalMs = 0;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        both.emplace_back(TimeFriedman(designs[i].first, designs[i].second, options.statistics,
                                       options.seed + static_cast<unsigned>(i)),
                          i);
        totalMs += both.back().first.ms;
    }
    std::sort(both.begin(), both.end(),
              [](const auto& a, const auto& b) { return a.first.ms > b.first.ms; });
    std::vector<Timed> timed;
    for (const auto& b : both) timed.push_back(b.first);
    PrintSlowest(timed, options.top, totalMs, [&](std::size_t i) {
        const auto& [rows, columns] = designs[both[i].second];
        return TimeFriedman(rows, columns, options.statistics, options.seed + 7919 * (i + 1));
    });
    return 0;
}

bool ParseShape(const std::string& text, Sizes& sizes) {
    std::stringstream in(text);
    std::string part;
    sizes.clear();
    while (std::getline(in, part, ',')) {
        char* end = nullptr;
        const long size = std::strtol(part.c_str(), &end, 10);
        if (end == part.c_str() || *end != '\0' || size < 1 || size > DataRows) return false;
        sizes.push_back(static_cast<std::int32_t>(size));
    }
    return !sizes.empty() && sizes.size() <= static_cast<std::size_t>(DataColumns);
}

int OneShape(const Sizes& sizes, const Options& options) {
    const Timed timed = TimeShape(sizes, options.statistics, options.seed, true);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s  slowest %.2f ms  peak memory %.1f MB\n", timed.design.c_str(), timed.ms,
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return timed.finished ? 0 : 1;
}

int WriteFile(const Sizes& sizes, const std::string& path, const Options& options) {
    std::mt19937 rng(options.seed);
    Document doc;
    doc.Data().SetFormat(DataFormat::Raw);
    const std::vector<Sizes> division = RandomDivision(sizes, rng);
    for (std::size_t c = 0; c < division.size(); ++c) {
        const int column = static_cast<int>(c);
        for (std::size_t r = 0; r < division[c].size(); ++r)
            doc.Table().SetValue(static_cast<int>(r), column, division[c][r]);
        doc.Table().SetNoRawData(column, false);
        doc.Table().Record(column).title = "Group " + std::to_string(c + 1);
    }
    doc.Table().SetDataTitle("Ranks in groups of sizes " + ShapeText(sizes));
    ColumnAnalysisChoices& choices = doc.Choices().columns;
    choices.columnCountClass = 3;
    choices.multiColumnNonparametric = 1;
    choices.unmatched = 1;
    choices.postTestMode = PostTestMode::None;
    const std::int32_t result = SaveDataFile(doc, path);
    if (result != 0) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), IoErrorText(result).c_str());
        return 1;
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: zelkon-exact-shapes kruskal-wallis|friedman [--top N] [--statistics K]\n"
                 "       zelkon-exact-shapes shape SIZES [--statistics K] [--seed S]\n"
                 "       zelkon-exact-shapes write SIZES FILE.ZLD [--seed S]\n"
                 "SIZES are group sizes separated by commas, as 8,8,1,1,1,1\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Options options;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--top" && hasValue) {
            options.top = static_cast<std::size_t>(std::strtoul(args[++i].c_str(), nullptr, 10));
        } else if (args[i] == "--statistics" && hasValue) {
            options.statistics = std::max(1, std::atoi(args[++i].c_str()));
        } else if (args[i] == "--seed" && hasValue) {
            options.seed = static_cast<unsigned>(std::strtoul(args[++i].c_str(), nullptr, 10));
        } else {
            words.push_back(args[i]);
        }
    }
    if (words.empty()) return Usage();
    if (words[0] == "kruskal-wallis" && words.size() == 1) return KruskalWallisShapes(options);
    if (words[0] == "friedman" && words.size() == 1) return FriedmanDesigns(options);
    Sizes sizes;
    if (words.size() >= 2 && !ParseShape(words[1], sizes)) return Usage();
    if (words[0] == "shape" && words.size() == 2) return OneShape(sizes, options);
    if (words[0] == "write" && words.size() == 3) return WriteFile(sizes, words[2], options);
    return Usage();
}
