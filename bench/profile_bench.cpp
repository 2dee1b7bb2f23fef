// The profile writes of one save and its flush, timed beside the least file
// I/O that the same number of writes needs when each is crash-safe and
// durable on its own: read the file, write it to a temporary file, sync,
// rename, sync the directory. Once on this disk, once on a simulated slow
// one where every sync takes 10 ms. Prints the ratios and the syncs per save.
// Then single writes into files of 10,000 and 100,000 sections, to a key
// near the start, the middle or the end, each against a bare replace of the
// same file.
#include "platform/linux/profile/profilesync.h"
#include "platform/profilefile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const wchar_t* const kSections[] = {L"BRIGHTNESS", L"CONTRAST",    L"HUE",          L"SATURATION",
                                    L"SHARPNESS",  L"COLORENABLE", L"WHITEBALANCE", L"EXPOSURE"};
const wchar_t* const kKeys[] = {L"V_PMIN",     L"V_PMAX",       L"V_PSTEPPINGDELTA",
                                L"V_PDEFAULT", L"V_PCAPSFLAGS", L"V_LVALUE"};
const wchar_t kPath[] = L".\\VK37.INI";
const char kFile[] = "VK37.INI";
const int kUnrelatedSections = 10000;

// Runs everything in a scratch directory so the writes land on one file
// system and nothing is left behind.
class CScratchDirectory {
public:
    CScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "profile-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
            std::perror("scratch directory");
            std::exit(1);
        }
        m_path = pattern;
    }
    ~CScratchDirectory() {
        if (chdir("/") == 0)
            std::filesystem::remove_all(m_path);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Values change from round to round so that no write is skipped as a no-op.
// The save ends with the flush request, as the program's does.
void Save(int round) {
    WritePrivateProfileStringW(L"SYSTEM", L"PORT", std::to_wstring(round % 4).c_str(), kPath);
    for (const wchar_t* section : kSections) {
        for (const wchar_t* key : kKeys)
            WritePrivateProfileStringW(section, key, std::to_wstring(round).c_str(), kPath);
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, kPath);
}

// The baseline's syncs; the slow-disk runs replace it, and the writer's hook.
int (*g_sync)(int fd) = fsync;
int g_syncs = 0;

// A sync of at least 10 ms, as on an SD card, eMMC or a spinning disk.
int SlowSync(int fd) {
    ++g_syncs;
    const auto start = std::chrono::steady_clock::now();
    const int result = fsync(fd);
    std::this_thread::sleep_until(start + std::chrono::milliseconds(10));
    return result;
}

std::string ReadAll(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The baseline reads the way the writer does: one sized read(2).
std::string ReadWhole(const char* name) {
    std::string content;
    int fd = open(name, O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        if (fd >= 0)
            close(fd);
        return content;
    }
    content.resize(size_t(st.st_size));
    ssize_t n = read(fd, content.data(), content.size());
    content.resize(n > 0 ? size_t(n) : 0);
    close(fd);
    return content;
}

void BareWrite(const std::string& line) {
    std::string content = ReadWhole(kFile);
    content += line;
    int fd = open(".VK37.INI.tmp", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || write(fd, content.data(), content.size()) != ssize_t(content.size()) ||
        g_sync(fd) != 0 || close(fd) != 0 || rename(".VK37.INI.tmp", kFile) != 0) {
        std::perror("baseline write");
        std::exit(1);
    }
    int dir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    g_sync(dir);
    close(dir);
}

void BareSave(int round) {
    for (int i = 0; i < 49; ++i)
        BareWrite("V_KEY" + std::to_string(i) + "=" + std::to_string(round) + "\r\n");
}

void PutFile(const std::string& content) {
    std::ofstream out(kFile, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Sections(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += "[OTHER" + std::to_string(i) + "]\r\nNAME=camera " + std::to_string(i) +
             "\r\nGAIN=" + std::to_string(i % 97) + "\r\nMODE=auto\r\n";
    }
    return s;
}

const std::string& UnrelatedSections() {
    static const std::string text = Sections(kUnrelatedSections);
    return text;
}

// The least a crash-safe replace of the file does: read it, write a
// temporary file, sync it, rename it over the old one.
void BareReplace() {
    const std::string content = ReadWhole(kFile);
    int fd = open(".VK37.INI.tmp", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || write(fd, content.data(), content.size()) != ssize_t(content.size()) ||
        fsync(fd) != 0 || close(fd) != 0 || rename(".VK37.INI.tmp", kFile) != 0) {
        std::perror("baseline replace");
        std::exit(1);
    }
}

// Real and CPU time of one call, added to the totals.
template <class F> void Timed(F call, double& real, double& cpu) {
    timespec cpuStart, cpuEnd;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
    const auto start = std::chrono::steady_clock::now();
    call();
    real += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
    cpu +=
        double(cpuEnd.tv_sec - cpuStart.tv_sec) + 1e-9 * double(cpuEnd.tv_nsec - cpuStart.tv_nsec);
}

// One write to a key of the first, middle or last of count sections, each
// changing the value, paired with a bare replace of the same file: the two
// alternate, so both see the same disk, whatever else it is doing. The
// counters are their time ratios; the _median row holds the result.
enum EWhere { kFirst, kMiddle, kLast };
template <int Count, EWhere Where> void OneWrite(benchmark::State& state) {
    PutFile(Sections(Count));
    const int index = Where == kFirst ? 0 : Where == kMiddle ? Count / 2 : Count - 1;
    const std::wstring section = L"OTHER" + std::to_wstring(index);
    int round = 0;
    double real[2] = {}, cpu[2] = {};
    auto write = [&] {
        WritePrivateProfileStringW(section.c_str(), L"GAIN", round % 2 ? L"x" : L"y", kPath);
    };
    for (auto _ : state) {
        ++round;
        if (round % 2) {
            Timed(write, real[0], cpu[0]);
            Timed(BareReplace, real[1], cpu[1]);
        } else {
            Timed(BareReplace, real[1], cpu[1]);
            Timed(write, real[0], cpu[0]);
        }
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, kPath);
    state.counters["real_ratio"] = real[0] / real[1];
    state.counters["cpu_ratio"] = cpu[0] / cpu[1];
}

template <void (*SaveFn)(int)> void FreshFile(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        unlink(kFile);
        state.ResumeTiming();
        SaveFn(++round);
    }
    state.counters["bytes"] = double(ReadAll(kFile).size());
}

template <void (*SaveFn)(int)> void LargeFile(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PutFile(UnrelatedSections());
        state.ResumeTiming();
        SaveFn(++round);
    }
    state.counters["bytes"] = double(ReadAll(kFile).size());
}

template <void (*SaveFn)(int)> void SlowDisk(benchmark::State& state) {
    profile::CStoreHooks& hooks = profile::StoreHooks();
    const profile::CStoreHooks saved = hooks;
    hooks.sync = SlowSync;
    g_sync = SlowSync;
    g_syncs = 0;
    FreshFile<SaveFn>(state);
    state.counters["fsyncs"] = double(g_syncs) / double(state.iterations());
    g_sync = fsync;
    hooks = saved;
}

// Remembers each benchmark's real and CPU time per iteration so main can
// divide them; the real time is mostly the two syncs of every write.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            m_real[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
            m_cpu[run.run_name.function_name].push_back(run.GetAdjustedCPUTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(const char* label, const char* writes, const char* bare) {
        double real = Median(m_real[writes]);
        double realBase = Median(m_real[bare]);
        double cpu = Median(m_cpu[writes]);
        double cpuBase = Median(m_cpu[bare]);
        if (real > 0 && realBase > 0 && cpu > 0 && cpuBase > 0)
            std::printf("%-36s real %7.1f ms vs %7.1f ms bare I/O: ratio %.2f;"
                        " CPU %6.1f ms vs %6.1f ms: ratio %.2f\n",
                        label, real, realBase, real / realBase, cpu, cpuBase, cpu / cpuBase);
    }

private:
    static double Median(std::vector<double>& times) {
        if (times.empty())
            return 0;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    std::map<std::string, std::vector<double>> m_real;
    std::map<std::string, std::vector<double>> m_cpu;
};

} // namespace

BENCHMARK(FreshFile<Save>)->Name("SaveIntoFreshFile")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FreshFile<BareSave>)
    ->Name("BareIoFreshFile")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(LargeFile<Save>)
    ->Name("SaveInto10000Sections")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(LargeFile<BareSave>)
    ->Name("BareIo10000Sections")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(SlowDisk<Save>)
    ->Name("SaveIntoFreshFileSlowDisk")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(SlowDisk<BareSave>)
    ->Name("BareIoFreshFileSlowDisk")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#define ONE_WRITE(count, where, name)                                                              \
    BENCHMARK(OneWrite<count, where>)->Name(name)->Unit(benchmark::kMillisecond)->UseRealTime()
ONE_WRITE(10000, kFirst, "WriteFirstOf10000");
ONE_WRITE(10000, kMiddle, "WriteMiddleOf10000");
ONE_WRITE(10000, kLast, "WriteLastOf10000");
ONE_WRITE(100000, kFirst, "WriteFirstOf100000");
ONE_WRITE(100000, kMiddle, "WriteMiddleOf100000");
ONE_WRITE(100000, kLast, "WriteLastOf100000");

int main(int argc, char** argv) {
    // Sync latency drifts with whatever else the disk is doing; interleaved
    // repetitions expose each pair to the same drift. Flags given on the
    // command line come later and win.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, {repetitions, interleave});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    argc = count;
    argv = args.data();
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CScratchDirectory scratch;
    std::printf("49 writes and the flush per save, in %s\n", scratch.Path().c_str());
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("49 writes, fresh file:", "SaveIntoFreshFile", "BareIoFreshFile");
    reporter.PrintRatio("49 writes, file of 10,000 sections:", "SaveInto10000Sections",
                        "BareIo10000Sections");
    reporter.PrintRatio("49 writes, syncs of 10 ms:", "SaveIntoFreshFileSlowDisk",
                        "BareIoFreshFileSlowDisk");
    benchmark::Shutdown();
    return 0;
}
