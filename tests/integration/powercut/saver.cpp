// The power-cut test's program inside the VM (see tools/vm/powercut.sh). On
// a scratch file system mounted at DIR:
//   seed DIR                  writes the user's lines into DIR/data/VK37.INI
//   save DIR                  saves until the power goes, reporting each call
//   check DIR ACKED FLUSHED   judges what the last cut left
// The host reads the reports on the console: "ack N" after the Nth call of the
// boot returned, "flushed N" after a flush request did. DIR/state keeps, from
// one boot to the next, the file as the boot found it and its first save's
// number, so the check can replay the boot's calls on a RAM disk and hold
// the file against every content they gave. Exit status 0, or 1 on a failure.
#include "tests/integration/powercut/powercut.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr const char* kReplayDir = "/tmp/powercut-replay";

// Waits until the console has sent the line before the next call starts, so
// that of the calls that returned the host misses at most the one after its
// last report, which the check counts as in flight.
void Report(const std::string& text) {
    const std::string line = "powercut: " + text + "\n";
    size_t done = 0;
    while (done < line.size()) {
        ssize_t n = write(STDOUT_FILENO, line.data() + done, line.size() - done);
        if (n < 0 && errno != EINTR)
            return;
        done += n > 0 ? static_cast<size_t>(n) : 0;
    }
    tcdrain(STDOUT_FILENO);
}

bool ReadFile(const std::string& path, std::string* content) {
    content->clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        content->append(buffer, static_cast<size_t>(n));
    close(fd);
    return n == 0;
}

bool SyncDirectoryOf(const std::string& path) {
    const std::string dir = path.substr(0, path.rfind('/'));
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

// In place, then synced with its directory: nothing cuts the power while the
// seed or the check writes.
bool WriteDurably(const std::string& path, const std::string& content) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    return ok && SyncDirectoryOf(path);
}

struct CLayout {
    explicit CLayout(const std::string& dir)
        : m_file(dir + "/data/VK37.INI"), m_base(dir + "/state/base"),
          m_first(dir + "/state/first") {}
    std::string m_file;  // the parameter file the saves write
    std::string m_base;  // the file as this boot found it
    std::string m_first; // the number of this boot's first save
};

std::wstring Widen(const std::string& path) {
    return std::wstring(path.begin(), path.end());
}

bool ReadFirstSave(const CLayout& layout, long* first) {
    std::string text;
    if (!ReadFile(layout.m_first, &text))
        return false;
    *first = std::strtol(text.c_str(), nullptr, 10);
    return *first > 0;
}

bool StartBoot(const CLayout& layout, const std::string& base, long first) {
    return WriteDurably(layout.m_base, base) &&
           WriteDurably(layout.m_first, std::to_string(first) + "\n");
}

int Seed(const std::string& dir) {
    const CLayout layout(dir);
    mkdir((dir + "/data").c_str(), 0755);
    mkdir((dir + "/state").c_str(), 0755);
    if (!WriteDurably(layout.m_file, powercut::SeedText()) ||
        !StartBoot(layout, powercut::SeedText(), 1)) {
        Report("cannot seed " + layout.m_file + ": " + std::strerror(errno));
        return 1;
    }
    return 0;
}

int Save(const std::string& dir) {
    const CLayout layout(dir);
    long first = 0;
    if (!ReadFirstSave(layout, &first)) {
        Report("no state under " + dir);
        return 1;
    }
    const std::wstring path = Widen(layout.m_file);
    Report("saving from save " + std::to_string(first));
    bool toldFlushAnswer = false;
    for (long index = 1;; ++index) {
        const powercut::CCall call = powercut::CallAt(first, index);
        DWORD err = ERROR_SUCCESS;
        const BOOL ok = powercut::Perform(call, path, &err);
        if (!call.IsFlush()) {
            if (!ok) {
                Report("write " + std::to_string(index) + " failed, error " + std::to_string(err));
                return 1;
            }
            Report("ack " + std::to_string(index));
            continue;
        }
        if (!toldFlushAnswer) {
            Report(std::string("the flush request answers ") + (ok ? "TRUE" : "FALSE") +
                   ", error " + std::to_string(err));
            toldFlushAnswer = true;
        }
        if (!powercut::FlushAnswerIsAccepted(ok, err))
            return 1;
        Report("flushed " + std::to_string(index));
    }
}

// Every content the file had during the last boot, up to the call after the
// last acknowledged one, which may have finished unreported.
bool Replay(const std::string& base, long first, long acked, std::vector<std::string>* contents) {
    mkdir(kReplayDir, 0755);
    const std::string file = std::string(kReplayDir) + "/VK37.INI";
    if (!WriteDurably(file, base))
        return false;
    contents->assign(1, base);
    for (long index = 1; index <= acked + 1; ++index) {
        const powercut::CCall call = powercut::CallAt(first, index);
        DWORD err = ERROR_SUCCESS;
        if (!call.IsFlush() && !powercut::Perform(call, Widen(file), &err))
            return false;
        contents->emplace_back();
        if (!ReadFile(file, &contents->back()))
            return false;
    }
    return true;
}

// Control characters spelled out, so a torn file shows on the console.
std::string Visible(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\n')
            out += "\\n\n";
        else if (c < 0x20 || c == 0x7f)
            out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
        else
            out += static_cast<char>(c);
    }
    return out;
}

int Check(const std::string& dir, long acked, long flushed) {
    const CLayout layout(dir);
    long first = 0;
    std::string base;
    std::vector<std::string> contents;
    if (!ReadFirstSave(layout, &first) || !ReadFile(layout.m_base, &base) ||
        !Replay(base, first, acked, &contents)) {
        Report("check FAILED: cannot replay the last boot's calls");
        return 1;
    }
    std::string file;
    const bool exists = ReadFile(layout.m_file, &file);
    const powercut::CVerdict verdict =
        powercut::Judge(exists, file, contents, first, acked, flushed);
    switch (verdict.m_kind) {
    case powercut::CVerdict::Intact:
        Report("check intact");
        break;
    case powercut::CVerdict::RolledBack:
        Report("check rolled back by " + std::to_string(verdict.m_lostWrites) +
               (verdict.m_lostWrites == 1 ? " acknowledged write" : " acknowledged writes"));
        break;
    case powercut::CVerdict::Failed:
        Report("check FAILED: " + verdict.m_reason);
        if (exists)
            Report("the file holds:\n" + Visible(file));
        // A fresh seed, so the next cuts are judged on their own.
        file = powercut::SeedText();
        if (!WriteDurably(layout.m_file, file))
            return 1;
        break;
    }
    // The next boot's saves get numbers no call of this one used.
    const long next = powercut::CallAt(first, acked + 1).m_save + 1;
    if (!StartBoot(layout, file, next)) {
        Report("cannot keep the state for the next boot");
        return 1;
    }
    return verdict.m_kind == powercut::CVerdict::Failed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "seed" && argc == 3)
        return Seed(argv[2]);
    if (mode == "save" && argc == 3)
        return Save(argv[2]);
    if (mode == "check" && argc == 5)
        return Check(argv[2], std::atol(argv[3]), std::atol(argv[4]));
    Report("usage: powercut_saver seed|save DIR, or check DIR ACKED FLUSHED");
    return 2;
}
