// The calls of a save, the seeded user lines and the judgement of what a cut
// left: shared by the saver's modes so that the check replays exactly the
// calls the save made.
#include "tests/integration/powercut/powercut.h"

#include "capture/paramfile.h"
#include "platform/profilefile.h"

namespace powercut {

namespace {

CVerdict Failure(std::string reason) {
    CVerdict verdict;
    verdict.m_reason = std::move(reason);
    return verdict;
}

// Lines with their line ends, so a CRLF that became LF counts as a change.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(begin, end - begin));
        begin = end;
    }
    return lines;
}

// The seed's lines, in their order, each byte for byte; the save may only
// have added lines between them.
bool KeepsUserLines(const std::string& file) {
    const std::vector<std::string> seed = Lines(SeedText());
    size_t next = 0;
    for (const std::string& line : Lines(file)) {
        if (next < seed.size() && line == seed[next])
            ++next;
    }
    return next == seed.size();
}

} // namespace

CCall CallAt(long firstSave, long index) {
    CCall call;
    call.m_save = firstSave + (index - 1) / kCallsPerSave;
    call.m_key = static_cast<int>((index - 1) % kCallsPerSave);
    return call;
}

BOOL Perform(const CCall& call, const std::wstring& path, DWORD* err) {
    // A FALSE that sets no error must not pass for the flush's answer.
    SetLastError(ERROR_GEN_FAILURE);
    BOOL ok;
    if (call.IsFlush()) {
        ok = WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    } else {
        const wchar_t* section = paramfile::kSystemSection;
        const wchar_t* key = paramfile::kPortKey;
        if (call.m_key > 0) {
            const int row = (call.m_key - 1) / paramfile::kPropertyKeyCount;
            section =
                row < 7 ? paramfile::kProcAmpRows[row].section : paramfile::kExposureRow.section;
            key = paramfile::kPropertyKeys[(call.m_key - 1) % paramfile::kPropertyKeyCount];
        }
        ok = WritePrivateProfileStringW(section, key, std::to_wstring(call.m_save).c_str(),
                                        path.c_str());
    }
    *err = ok ? ERROR_SUCCESS : GetLastError();
    return ok;
}

bool FlushAnswerIsAccepted(BOOL ok, DWORD err) {
    return ok || err == ERROR_SUCCESS;
}

const std::string& SeedText() {
    static const std::string seed = "; Camera settings of line 3\r\n"
                                    "; \xE5\xA4\x9C\xE7\x8F\xAD: do not edit during a shift\r\n"
                                    "\r\n"
                                    "[PLANT]\r\n"
                                    "LINE=3\r\n"
                                    "OPERATOR = night shift \r\n"
                                    "\r\n"
                                    "[SYSTEM]\r\n"
                                    "# set by the installer\r\n"
                                    "INSTALLED_BY=setup 2.1\r\n"
                                    "\r\n"
                                    "[HUE]\r\n"
                                    "V_TABLE=0,4,9,15\r\n";
    return seed;
}

CVerdict Judge(bool exists, const std::string& file, const std::vector<std::string>& contents,
               long firstSave, long acked, long flushed) {
    if (!exists)
        return Failure("the file is missing");
    if (file.empty())
        return Failure("the file is empty");
    if (!KeepsUserLines(file))
        return Failure("the user's lines are not all there, byte for byte");
    // A flush request leaves the content as it was: the latest match counts.
    long match = static_cast<long>(contents.size()) - 1;
    while (match >= 0 && contents[match] != file)
        --match;
    if (match < 0)
        return Failure("the file is no content any call left (torn)");
    if (match < flushed)
        return Failure("the file is older than the save flushed by call " +
                       std::to_string(flushed) + ": it is what call " + std::to_string(match) +
                       " left");
    CVerdict verdict;
    verdict.m_kind = CVerdict::Intact;
    for (long i = match + 1; i <= acked; ++i) {
        if (!CallAt(firstSave, i).IsFlush())
            ++verdict.m_lostWrites;
    }
    if (verdict.m_lostWrites > 0)
        verdict.m_kind = CVerdict::RolledBack;
    return verdict;
}

} // namespace powercut
