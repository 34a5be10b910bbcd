// A whole session on a large floor plan, timed as svhost processes: OPEN, MOVE of everything,
// sv_update, SAVEAS. Each step is timed inside the session by the host's TIME between the steps,
// and start-up and exit are what the process took besides; peak memory is the processes' own.
// Reports how each grows from the first size given to the last, and checks that the saved drawing
// holds the labels the session must have written.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "crt/format.h"
#include "room_drawing.h"
#include "rx/dynlinker.h"
#include "session_check.h"

namespace {

namespace fs = std::filesystem;
using benchsupport::besideMe;

constexpr int kSurveyPoints = 1000;

struct Run {
    double seconds = 0.0;
    double peakMiB = 0.0;
};

// One svhost process over a script, its transcript in `transcript`; false with the transcript's
// end when it fails.
bool runSession(const fs::path& dir, const std::string& script, Run& run, std::string& transcript) {
    const fs::path scriptFile = dir / "session.scr";
    std::ofstream(scriptFile) << script;
    const std::string host = svToUtf8(besideMe(L"svhost"));
    const std::string module = svToUtf8(besideMe(L"SentavellUi17.arx"));
    const std::string log = (dir / "transcript.txt").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    std::vector<std::string> args = {host, "--load", module, scriptFile.string()};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, host.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "cannot start %s\n", host.c_str());
        return false;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    std::ifstream in(log);
    transcript.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    std::fprintf(stderr, "the session failed (status %d); its transcript ends:\n", status);
    std::istringstream text(transcript);
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    for (std::size_t i = lines.size() > 15 ? lines.size() - 15 : 0; i < lines.size(); ++i)
        std::fprintf(stderr, "  %s\n", lines[i].c_str());
    return false;
}

const char* const kStepNames[] = {"start and end", "OPEN", "MOVE", "sv_update", "SAVEAS"};
constexpr int kSteps = 5;

// The whole session, the clock read before the first step and after each.
std::string sessionScript(const std::string& drawing, const std::string& saved) {
    return "TIME\nOPEN " + drawing +
           "\nTIME\nMOVE ALL \"\" 0,0 1,0\nTIME\nsv_update\nTIME\nSAVEAS " + saved + "\nTIME\n";
}

// The times in session that TIME showed, in order.
std::vector<double> sessionTimes(const std::string& transcript) {
    static const std::regex shown(R"(Time in session: ([0-9.]+) s)");
    std::vector<double> times;
    for (std::sregex_iterator it(transcript.begin(), transcript.end(), shown), end; it != end; ++it)
        times.push_back(std::stod((*it)[1]));
    return times;
}

// In a process of its own: a session started from this one counts this one's memory as its own
// peak, so the drawings are made and read back apart and this one stays small.
bool apart(const std::function<bool()>& work) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const bool ok = work();
        std::fflush(nullptr);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

struct SizeResult {
    int rooms = 0;
    double seconds[kSteps] = {}; // each step's fastest over the repeats
    double fastestSession = 0.0; // the whole process
    double emptySession = 0.0;   // a process that opens nothing
    double emptyPeakMiB = 0.0;
    double peakMiB = 0.0;
};

// The session run `repeat` times; each step keeps its fastest time, as the slower ones met a
// busy machine.
bool measure(const fs::path& dir, int rooms, int repeat, SizeResult& result) {
    const std::string drawing = "rooms-" + std::to_string(rooms) + ".svd";
    const std::string saved = "saved-" + std::to_string(rooms) + ".svd";
    if (!apart([&] {
            return svWriteRoomDrawing({rooms, kSurveyPoints}, (dir / drawing).wstring());
        }))
        return false;
    result.rooms = rooms;
    Run empty;
    std::string transcript;
    if (!runSession(dir, "", empty, transcript))
        return false;
    result.emptySession = empty.seconds;
    result.emptyPeakMiB = empty.peakMiB;
    for (int r = 0; r < repeat; ++r) {
        fs::remove(dir / saved);
        Run run;
        if (!runSession(dir, sessionScript(drawing, saved), run, transcript))
            return false;
        const std::vector<double> times = sessionTimes(transcript);
        if (times.size() != kSteps) {
            std::fprintf(stderr, "the session showed %zu times, not %d\n", times.size(), kSteps);
            return false;
        }
        double steps[kSteps] = {run.seconds - (times.back() - times.front())};
        for (int step = 1; step < kSteps; ++step)
            steps[step] = times[step] - times[step - 1];
        for (int step = 0; step < kSteps; ++step)
            result.seconds[step] =
                r == 0 ? steps[step] : std::min(result.seconds[step], steps[step]);
        result.fastestSession = r == 0 ? run.seconds : std::min(result.fastestSession, run.seconds);
        result.peakMiB = std::max(result.peakMiB, run.peakMiB);
    }
    return apart([&] {
        std::string problem;
        if (svCheckSavedSession((dir / saved).wstring(), {rooms, kSurveyPoints}, problem))
            return true;
        std::fprintf(stderr, "the saved drawing of %d rooms is wrong: %s\n", rooms,
                     problem.c_str());
        return false;
    });
}

double totalSeconds(const SizeResult& r) {
    double total = 0.0;
    for (double seconds : r.seconds)
        total += seconds;
    return total;
}

void report(const SizeResult& r) {
    const double total = totalSeconds(r);
    const int links = r.rooms + kSurveyPoints;
    std::printf("%d rooms, %d survey points, %d links: %.3f s in all\n", r.rooms, kSurveyPoints,
                links, total);
    for (int step = 0; step < kSteps; ++step)
        std::printf("  %-14s %8.3f s  %5.1f %%\n", kStepNames[step], r.seconds[step],
                    100.0 * r.seconds[step] / total);
    const double perLink = (r.peakMiB - r.emptyPeakMiB) * 1024.0 * 1024.0 / links;
    std::printf("  peak memory %.1f MiB, %.0f bytes per link above an empty session\n", r.peakMiB,
                perLink);
}

void reportGrowth(const SizeResult& small, const SizeResult& large) {
    std::printf("growth from %d to %d rooms (%.1f times the rooms):\n", small.rooms, large.rooms,
                static_cast<double>(large.rooms) / small.rooms);
    for (int step = 1; step < kSteps; ++step) {
        const double before = small.seconds[step];
        std::printf("  %-14s %6.2f times\n", kStepNames[step],
                    before > 0.0 ? large.seconds[step] / before : 0.0);
    }
    // What the drawing costs the whole process, letting go of it at the end included.
    const auto work = [](const SizeResult& r) { return r.fastestSession - r.emptySession; };
    std::printf("  %-14s %6.2f times\n", "whole session", work(large) / work(small));
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    int repeat = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--repeat=", 0) == 0)
            repeat = std::max(1, std::atoi(arg.c_str() + 9));
        else if (std::atoi(arg.c_str()) > 0)
            sizes.push_back(std::atoi(arg.c_str()));
        else {
            std::fprintf(stderr, "usage: session_bench [--repeat=N] [ROOMS]...\n");
            return 2;
        }
    }
    if (sizes.empty())
        sizes = {10000, 100000};
    if (!acrxLoadModule(besideMe(L"sentavell17.dbx").c_str(), false)) {
        std::fprintf(stderr, "cannot load sentavell17.dbx\n");
        return 1;
    }
    const fs::path dir =
        fs::temp_directory_path() / ("sv-session-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // The sessions keep their settings here, not in the user's own folder.
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    std::vector<SizeResult> results;
    bool ok = true;
    for (int rooms : sizes) {
        SizeResult result;
        if (!(ok = measure(dir, rooms, repeat, result)))
            break;
        report(result);
        results.push_back(result);
    }
    if (ok && results.size() > 1)
        reportGrowth(results.front(), results.back());
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return ok ? 0 : 1;
}
