// Gathers the result files the benchmark programs wrote into one folder and prints
// one table: action, size, min, median, F, ratio to F, target, whether it holds,
// and how the figure grew from the size before. Writes the same as JSON.
//
// Growth: the figure's ratio to F at this size over its ratio at the size before
// (for a figure without F, its cost per line), divided by log n over log n' for
// sorts; 1.00 is linear (n log n for sorts). Above 1.5 the row is marked
// superlinear. Figures that should not grow at all (paint times, bytes per cell)
// are compared directly. A figure whose median at the size before lies within the
// spread of the middle half of its own runs (a difference of two program starts, where
// the data's share is smaller than what one start varies by) is no base to grow from:
// its growth is not judged, and the table says so.
//
// Usage: bench_report <json file> <result file or folder>...  (tables in the order given)

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"

using namespace stallmark::bench;

namespace {

struct Entry {
    std::string action;
    long size = 0;
    std::string unit;
    Stats value;
    Stats floor;
    Target target;
    std::string growthKind;
    std::string note;
    double growth = 0;  // 0: no size before
    bool growthInNoise = false;  // the size before is within its own runs' spread
    bool holds = true;
    int order = 0;
};

std::vector<std::string> Split(const std::string& line, char sep) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, sep)) out.push_back(field);
    if (!line.empty() && line.back() == sep) out.emplace_back();
    return out;
}

std::vector<double> Numbers(const std::string& text) {
    std::vector<double> out;
    if (text.empty()) return out;
    for (const std::string& s : Split(text, ',')) out.push_back(std::atof(s.c_str()));
    return out;
}

// The spread of the middle half of the runs: the third quartile less the first.
double MiddleSpread(std::vector<double> runs) {
    if (runs.size() < 4) return 0;
    std::sort(runs.begin(), runs.end());
    auto at = [&](double q) { return runs[static_cast<std::size_t>(q * static_cast<double>(runs.size() - 1) + 0.5)]; };
    return at(0.75) - at(0.25);
}

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", v);
    return text;
}

std::string SizeText(long n) {
    if (n >= 1000000 && n % 1000000 == 0) return std::to_string(n / 1000000) + "M";
    if (n >= 1000 && n % 1000 == 0) return std::to_string(n / 1000) + "k";
    return std::to_string(n);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_report <json file> <result file or folder>...\n");
        return 2;
    }
    const char* jsonPath = argv[1];
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path)) {
            std::vector<std::filesystem::path> found;
            for (const auto& e : std::filesystem::directory_iterator(path))
                if (e.path().extension() == ".tsv") found.push_back(e.path());
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (std::filesystem::exists(path)) {
            files.push_back(path);
        }
    }

    std::vector<Entry> entries;
    std::map<std::string, int> firstSeen;  // action -> order of its first row
    for (const auto& path : files) {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            const std::vector<std::string> f = Split(line, '\t');
            if (f.size() < 10) continue;
            Entry e;
            e.action = f[0];
            e.size = std::atol(f[1].c_str());
            e.unit = f[2];
            e.value = StatsOf(Numbers(f[3]));
            e.floor = StatsOf(Numbers(f[4]));
            e.target.kind = static_cast<Target::Kind>(std::atoi(f[5].c_str()));
            e.target.factor = std::atof(f[6].c_str());
            e.target.plus = std::atof(f[7].c_str());
            e.growthKind = f[8];
            e.note = f[9];
            e.holds = e.target.Holds(e.value.median, e.floor.median);
            e.order = firstSeen.emplace(e.action, static_cast<int>(firstSeen.size())).first->second;
            entries.push_back(e);
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.order != b.order ? a.order < b.order : a.size < b.size;
    });
    for (std::size_t i = 1; i < entries.size(); ++i) {
        Entry& e = entries[i];
        const Entry& p = entries[i - 1];
        if (p.action != e.action || p.size <= 0 || p.value.median <= 0 || e.growthKind == "none") continue;
        if (p.value.median <= MiddleSpread(p.value.runs)) {
            e.growthInNoise = true;
            continue;
        }
        const bool hasF = !e.floor.runs.empty() && !p.floor.runs.empty() && e.floor.median > 0 && p.floor.median > 0;
        double g = 0;
        if (e.growthKind == "flat") {
            g = e.value.median / p.value.median;
        } else {
            g = hasF ? (e.value.median / e.floor.median) / (p.value.median / p.floor.median)
                     : (e.value.median / static_cast<double>(e.size)) / (p.value.median / static_cast<double>(p.size));
            if (e.growthKind == "nlogn")
                g /= std::log(static_cast<double>(e.size)) / std::log(static_cast<double>(p.size));
        }
        e.growth = g;
    }

    std::printf("\n%-64s %6s %10s %10s %-6s %9s %8s  %-16s %-6s %s\n", "action", "size", "min", "median", "unit",
                "F med", "ratio", "target", "holds", "growth");
    std::printf("%s\n", std::string(150, '-').c_str());
    int held = 0, missed = 0, superlinear = 0, inNoise = 0;
    std::vector<std::string> notes;
    for (const Entry& e : entries) {
        const bool hasF = !e.floor.runs.empty();
        char ratio[32] = "-", floorText[32] = "-", growth[48] = "";
        if (hasF && e.floor.median > 0) {
            std::snprintf(ratio, sizeof ratio, "%.2f F", e.value.median / e.floor.median);
            std::snprintf(floorText, sizeof floorText, "%.3f", e.floor.median);
        }
        if (e.growth > 0)
            std::snprintf(growth, sizeof growth, "x%.2f%s", e.growth, e.growth > 1.5 ? " superlinear" : "");
        else if (e.growthInNoise)
            std::snprintf(growth, sizeof growth, "not judged (noise)");
        inNoise += e.growthInNoise ? 1 : 0;
        if (e.growth > 1.5) ++superlinear;
        const bool judged = e.target.kind != Target::None;
        if (judged) (e.holds ? held : missed)++;
        std::printf("%-64.64s %6s %10.3f %10.3f %-6s %9s %8s  %-16s %-6s %s\n", e.action.c_str(),
                    SizeText(e.size).c_str(), e.value.min, e.value.median, e.unit.c_str(), floorText, ratio,
                    e.target.Text().c_str(),
                    !judged   ? "-"
                    : e.holds ? "yes"
                              : "NO",
                    growth);
        if (!e.note.empty() && std::find(notes.begin(), notes.end(), e.action + ": " + e.note) == notes.end())
            notes.push_back(e.action + ": " + e.note);
    }
    std::printf("%s\n", std::string(150, '-').c_str());
    std::printf(
        "%d figures hold their target, %d do not; %d grow faster than linear (n log n for sorts); growth not judged "
        "for %d, whose figure at the size before lies within the spread of its own runs\n",
        held, missed, superlinear, inNoise);
    std::printf(
        "min and median of %d or more runs; F: read the file and split every line into field views, same file, same "
        "run\n",
        Runs());
    for (const std::string& n : notes) std::printf("  %s\n", n.c_str());

    std::ofstream json(jsonPath, std::ios::binary);
    json << "{\n  \"rows\": [\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const bool hasF = !e.floor.runs.empty() && e.floor.median > 0;
        json << "    {\"action\": " << Json(e.action) << ", \"size\": " << e.size << ", \"unit\": " << Json(e.unit)
             << ", \"min\": " << Number(e.value.min) << ", \"median\": " << Number(e.value.median) << ", \"runs\": [";
        for (std::size_t r = 0; r < e.value.runs.size(); ++r) json << (r ? ", " : "") << Number(e.value.runs[r]);
        json << "]";
        if (hasF) {
            json << ", \"f_min\": " << Number(e.floor.min) << ", \"f_median\": " << Number(e.floor.median)
                 << ", \"ratio_to_f\": " << Number(e.value.median / e.floor.median);
        }
        json << ", \"target\": " << Json(e.target.Text());
        if (e.target.kind != Target::None) json << ", \"holds\": " << (e.holds ? "true" : "false");
        json << ", \"growth_kind\": " << Json(e.growthKind);
        if (e.growth > 0) json << ", \"growth\": " << Number(e.growth);
        if (e.growthInNoise) json << ", \"growth_not_judged\": true";
        if (!e.note.empty()) json << ", \"note\": " << Json(e.note);
        json << "}" << (i + 1 < entries.size() ? "," : "") << "\n";
    }
    json << "  ],\n  \"held\": " << held << ",\n  \"missed\": " << missed << ",\n  \"superlinear\": " << superlinear
         << "\n}\n";
    std::printf("written: %s\n", jsonPath);
    return 0;
}
