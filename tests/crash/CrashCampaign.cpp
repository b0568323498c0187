// The crash campaign: a child process saves one file over and over (a record insert and
// delete, a whole rewrite and a sort, a settings save, the General page's save) and is killed with SIGKILL at a
// random moment, again and again. After every kill the file must be exactly one of the
// contents a save can leave (the old file or the new one, never a mixture or a part), the
// program must read it, no other file may be left that the program reads (a working copy,
// "*.tmp", it never reads), and the next save must succeed over whatever the kill left behind.
//
//   crash_campaign <records|sort|settings|general> <kills> [seed]
//
// The kill moment: after a random number of finished saves (0 to 3), a busy wait of a
// random length, evenly spread over the time of one save or drawn on a log scale near its
// start, so the kills fall into every step of a save: making the working copy, writing,
// syncing, renaming. There are no sleeps and no timed checks: whatever the moment, the
// outcome must hold.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lists/trade/GeneralFile.h"
#include "settings/IniFileSettings.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/RecordFile.h"

namespace stallmark {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string CrLf(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& line : lines) s += line + "\r\n";
    return s;
}

// One kind of save: the contents it can leave, the file as the campaign starts, the i-th
// save of the child, and what "the program reads it" means for the file.
struct Operation {
    std::string file;
    std::string initial;
    std::vector<std::string> states;
    std::function<void(const std::string& path, long step)> save;
    std::function<bool(const std::string& path, std::string& why)> reads;
};

std::vector<std::string> WeaponLines() {
    std::mt19937 rng(17);
    const char* items[] = {"Katana", "Broadsword", "War Axe", "Bow", "Kryss", "Halberd"};
    const char* magic[] = {"Vanquishing", "Power", "Force", "Might", "Ruin"};
    std::vector<std::string> lines;
    for (int i = 0; i < 20000; ++i)
        lines.push_back(std::string(items[rng() % 6]) + "," + magic[rng() % 5] + "," + std::to_string(rng() % 3) +
                        ",Accurate,Fortified," + std::to_string(rng() % 50000) + ",2003" +
                        std::to_string(1000 + rng() % 200) + ",note " + std::to_string(i));
    return lines;
}

// Reads the file as a list loads it and finds its lines among the states'.
bool ReadsAsOneOf(const std::string& path, const std::vector<std::vector<std::string>>& states, std::string& why) {
    std::vector<std::string> lines;
    LineReader reader(path, kMaxLineBytes);
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    if (std::find(states.begin(), states.end(), lines) != states.end()) return true;
    why = "its " + std::to_string(lines.size()) + " lines are none of the saved lists";
    return false;
}

Operation Records(const std::string& folder) {
    std::vector<std::string> old = WeaponLines();
    SortRecordLines(old);
    const std::string line = "Halberd,Might,1,Accurate,Fortified,100,20031105,inserted";
    std::vector<std::string> added = old;
    added.insert(std::find_if(added.begin(), added.end(),
                              [&](const std::string& s) { return CompareRecordLines(s, line) >= 0; }),
                 line);
    Operation op;
    op.file = folder + "MWStock.dat";
    op.initial = CrLf(old);
    op.states = {CrLf(old), CrLf(added)};
    op.save = [line](const std::string& path, long step) { WriteRecordLine(path, line, step % 2 == 1); };
    op.reads = [old, added](const std::string& path, std::string& why) {
        return ReadsAsOneOf(path, {old, added}, why);
    };
    return op;
}

Operation Sort(const std::string& folder) {
    const std::vector<std::string> unsorted = WeaponLines();
    std::vector<std::string> sorted = unsorted;
    SortRecordLines(sorted);
    Operation op;
    op.file = folder + "MWPrice.dat";
    op.initial = CrLf(sorted);
    op.states = {CrLf(unsorted), CrLf(sorted)};
    // A whole rewrite (as a list page saves) and the sort of the file, in turn.
    const std::string unsortedBytes = CrLf(unsorted);
    op.save = [unsortedBytes](const std::string& path, long step) {
        if (step % 2 == 0)
            ReplaceFileAtomically(path, unsortedBytes);
        else
            SortRecordFileAt(path);
    };
    op.reads = [unsorted, sorted](const std::string& path, std::string& why) {
        return ReadsAsOneOf(path, {unsorted, sorted}, why);
    };
    return op;
}

Operation Settings(const std::string& folder) {
    const std::string values[2] = {std::string(20000, 'a'), std::string(30000, 'b')};
    Operation op;
    op.file = folder + "Stallmark.ini";
    op.initial = "; kept as it stands\r\n[Stallmark]\r\nCounter=2\r\nValue=" + values[1] + "\r\n[Other]\r\nx=1\r\n";
    op.save = [values](const std::string& path, long step) {
        IniFileSettings settings(path);
        settings.WriteInteger("Counter", step % 2 == 0 ? 1 : 2);
        settings.WriteString("Value", values[step % 2]);
        settings.Flush();
    };
    // The contents the saves give, found by saving twice in a scratch file.
    const std::string scratch = folder + "scratch.ini";
    WriteBytes(scratch, op.initial);
    op.states = {op.initial};
    for (long step = 0; step < 2; ++step) {
        op.save(scratch, step);
        op.states.push_back(ReadBytes(scratch));
    }
    std::remove(scratch.c_str());
    op.reads = [values](const std::string& path, std::string& why) {
        IniFileSettings settings(path);
        const int counter = settings.ReadInteger("Counter", 0);
        if ((counter == 1 || counter == 2) && settings.ReadString("Value", "") == values[counter - 1]) return true;
        why = "it reads Counter=" + std::to_string(counter) + " with a value that does not belong to it";
        return false;
    };
    return op;
}
// The General page's save: the rows written as the page writes them, in turn the list as
// it was and the list sorted by value with a row added.
Operation General(const std::string& folder) {
    std::mt19937 rng(23);
    const char* types[] = {"Reagents", "Tools", "Cloth", "Food", "Scrolls"};
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 20000; ++i)
        rows.push_back({types[rng() % 5], "Item number " + std::to_string(i), std::to_string(rng() % 100000)});
    std::vector<std::vector<std::string>> changed = rows;
    std::stable_sort(changed.begin(), changed.end(),
                     [](const auto& a, const auto& b) { return std::stoi(a[2]) < std::stoi(b[2]); });
    changed.push_back({"Tools", "Added at the end", "42"});
    const auto content = [](const std::vector<std::vector<std::string>>& list) {
        return GeneralFileContent(list.size(), [&list](std::size_t i) {
            return GeneralRow{list[i][0], list[i][1], list[i][2]};
        });
    };
    Operation op;
    op.file = folder + kGeneralFile;
    op.initial = content(rows);
    op.states = {content(rows), content(changed)};
    op.save = [rows, changed](const std::string& path, long step) {
        const auto& list = step % 2 == 0 ? changed : rows;
        WriteGeneralFile(path, list.size(), [&list](std::size_t i) {
            return GeneralRow{list[i][0], list[i][1], list[i][2]};
        });
    };
    op.reads = [rows, changed](const std::string& path, std::string& why) {
        std::vector<std::vector<std::string>> read;
        ForEachGeneralItem(ReadFileBytes(path), [&read](const GeneralRow& row, std::string_view) {
            read.push_back({std::string(row[0]), std::string(row[1]), std::string(row[2])});
        });
        if (read == rows || read == changed) return true;
        why = "its " + std::to_string(read.size()) + " rows are none of the saved lists";
        return false;
    };
    return op;
}

// The files beside the saved one that the program would read: any but working copies.
std::vector<std::string> StrayFiles(const std::string& folder, const std::string& file) {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string path = entry.path().string();
        if (path != file && entry.path().extension() != ".tmp") stray.push_back(entry.path().filename().string());
    }
    return stray;
}

// The child: saves until it is killed, reporting each finished save on the pipe.
[[noreturn]] void SaveUntilKilled(const Operation& op, int progress) {
    const char started = 's';
    if (::write(progress, &started, 1) != 1) ::_exit(3);
    for (long step = 0; step < 1000000; ++step) {
        try {
            op.save(op.file, step);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "save %ld failed: %s\n", step, e.what());
            ::_exit(2);
        }
        const char done = 'd';
        if (::write(progress, &done, 1) != 1) ::_exit(3);
    }
    ::_exit(0);
}

int Run(const std::string& name, long kills, unsigned seed) {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/stallmark-crash-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    folder += "/";

    Operation op = name == "records"    ? Records(folder)
                   : name == "sort"     ? Sort(folder)
                   : name == "settings" ? Settings(folder)
                   : name == "general"  ? General(folder)
                                        : Operation{};
    if (op.file.empty()) {
        std::fprintf(stderr, "unknown operation %s\n", name.c_str());
        return 1;
    }

    // How long one save takes here, to spread the kills over it; nothing is checked against it.
    WriteBytes(op.file, op.initial);
    const auto before = std::chrono::steady_clock::now();
    for (long step = 0; step < 4; ++step) op.save(op.file, step);
    const auto saveTime =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - before) / 4;

    std::mt19937_64 rng(seed);
    std::map<std::size_t, long> found;  // index of the state -> times
    long failures = 0;
    long done = 0;
    for (long kill = 0; kill < kills && failures < 5; ++kill) {
        WriteBytes(op.file, op.initial);
        int fds[2];
        if (::pipe(fds) != 0) return 1;
        const pid_t pid = ::fork();
        if (pid < 0) return 1;
        if (pid == 0) {
            ::close(fds[0]);
            SaveUntilKilled(op, fds[1]);
        }
        ::close(fds[1]);
        char report = 0;
        bool alive = ::read(fds[0], &report, 1) == 1;
        for (unsigned saves = rng() % 4; alive && saves > 0; --saves) alive = ::read(fds[0], &report, 1) == 1;
        // Half the kills at a moment spread evenly over a save's time, half soon after a save
        // began (on a log scale, to reach the first steps: creating and opening the copy).
        const auto wait = rng() % 2 == 0 ? std::chrono::nanoseconds(rng() % (saveTime.count() * 6 / 5 + 1))
                                         : std::chrono::nanoseconds(rng() % (1UL << (rng() % 21)));
        const auto until = std::chrono::steady_clock::now() + wait;
        while (std::chrono::steady_clock::now() < until) {
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(fds[0]);
        if (!WIFSIGNALED(status)) {
            std::fprintf(stderr, "kill %ld: the child ended by itself (status %d)\n", kill, status);
            ++failures;
            continue;
        }

        ++done;
        const std::string now = ReadBytes(op.file);
        const auto state = std::find(op.states.begin(), op.states.end(), now);
        const long index = static_cast<long>(state - op.states.begin());
        std::string why;
        if (state == op.states.end()) {
            std::fprintf(stderr, "kill %ld: %s holds %zu bytes that no save writes\n", kill, op.file.c_str(),
                         now.size());
            ++failures;
        } else if (!op.reads(op.file, why)) {
            std::fprintf(stderr, "kill %ld: %s does not read back: %s\n", kill, op.file.c_str(), why.c_str());
            ++failures;
        } else if (const std::vector<std::string> stray = StrayFiles(folder, op.file); !stray.empty()) {
            std::fprintf(stderr, "kill %ld: the save left %s beside %s\n", kill, stray.front().c_str(),
                         op.file.c_str());
            ++failures;
        } else {
            ++found[static_cast<std::size_t>(index)];
        }
        // The next save (the one that follows from the content found) works over whatever the
        // kill left behind, a working copy say.
        try {
            op.save(op.file, index % 2);
            if (std::find(op.states.begin(), op.states.end(), ReadBytes(op.file)) == op.states.end()) {
                std::fprintf(stderr, "kill %ld: the save after it wrote a wrong file\n", kill);
                ++failures;
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kill %ld: the save after it failed: %s\n", kill, e.what());
            ++failures;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);

    std::printf("crash campaign %s (seed %u): %ld kills;", name.c_str(), seed, done);
    for (const auto& [index, times] : found) std::printf(" content %zu found %ld times;", index, times);
    std::printf("\n%ld passed, %ld failed\n", done - failures, failures);
    return failures == 0 && done == kills ? 0 : 1;
}

}  // namespace
}  // namespace stallmark

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <records|sort|settings|general> <kills> [seed]\n", argv[0]);
        return 2;
    }
    const long kills = std::strtol(argv[2], nullptr, 10);
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : std::random_device{}();
    return stallmark::Run(argv[1], kills, seed);
}
