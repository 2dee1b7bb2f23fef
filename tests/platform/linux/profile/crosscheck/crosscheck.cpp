// The Linux side of the profile writer's cross-check against Windows: makes
// seeded starting files and request lists, applies each list with this
// writer, and writes the list for tests/windows/profile/profilecheck, which
// applies it with the system's writer and compares what readers see.
//   profile_crosscheck SEED COUNT   (in the directory to fill)
// Writes cN.start (absent for a missing file), cN.lin (this writer's result)
// and cases.txt, which also holds reads of each result with this reader's
// answers, for the system's reader to give again. Exits 1 when this writer
// fails a request it should take or takes one it should refuse.
#include "platform/linux/profile/profilesync.h"
#include "platform/profilefile.h"
#include "tests/windows/profile/readanswer.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

struct CRequest {
    std::wstring m_section;
    bool m_hasKey = true;
    std::wstring m_key;
    bool m_hasValue = true;
    std::wstring m_value;
};

class CGenerator {
public:
    explicit CGenerator(unsigned seed) : m_rng(seed) {}

    unsigned Below(unsigned n) { return unsigned(m_rng() % n); }
    bool Chance(unsigned percent) { return Below(100) < percent; }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[Below(unsigned(items.size()))];
    }

    // The parameter file's names, a few short ones, and in files with a byte
    // order mark some beyond ASCII, each in a random mix of cases.
    std::wstring Name(bool section, bool unicode) {
        static const std::vector<std::wstring> sections = {
            L"SYSTEM", L"CONTRAST", L"SATURATION", L"COLORENABLE", L"EXPOSURE", L"S", L"A"};
        static const std::vector<std::wstring> keys = {
            L"PORT", L"V_PMAX", L"V_PMIN", L"V_LVALUE", L"V_PDEFAULT", L"A", L"B", L"#PORT"};
        static const std::vector<std::wstring> wide = {L"\u00c9T\u00c9", L"\u00e9t\u00e9",
                                                       L"\u6444\u50cf"};
        std::wstring name = unicode && Chance(10) ? Pick(wide) : Pick(section ? sections : keys);
        if (Chance(30)) {
            for (wchar_t& c : name)
                if (c < 0x80 && Chance(50))
                    c = wchar_t(c >= L'A' && c <= L'Z' ? c + 32 : c);
        }
        return name;
    }

    std::wstring Value(bool unicode) {
        static const std::vector<std::wstring> values = {
            L"0", L"-55", L"-177", L"", L"12 34", L"\"quoted\"", L"a=b", L"x;y", L"[v]"};
        if (unicode && Chance(10))
            return L"\u4e2d\u00e9";
        if (Chance(50))
            return std::to_wstring(int(Below(400)) - 200);
        return Pick(values);
    }

    std::wstring Blanks(bool all) {
        static const std::wstring kinds = L" \t\v\f\x1a";
        std::wstring out;
        for (unsigned n = Chance(70) ? 0 : 1 + Below(3); n > 0; --n)
            out += kinds[Below(all ? 5 : 2)];
        return out;
    }

    // One line of a starting file, without its line break.
    std::wstring Line(bool unicode) {
        switch (Below(12)) {
        case 0:
        case 1:
        case 2: {
            std::wstring line = Blanks(true) + L"[" + Blanks(true) + Name(true, unicode) +
                                Blanks(true) + L"]" + Blanks(true);
            static const std::vector<std::wstring> tails = {L"", L"", L" ]", L"]", L" ; c", L"=1"};
            return line + Pick(tails);
        }
        case 3:
            return L"[" + Name(true, unicode);
        case 4:
            return Blanks(true) + Name(false, unicode) + Blanks(true);
        case 5:
            return L";" + Name(false, unicode) + L"=" + Value(unicode);
        case 6:
            return Chance(50) ? L"" : Blanks(true);
        case 7:
            return L"=" + Value(unicode);
        case 8:
            if (Chance(20))
                return Name(false, unicode) + L"=" + std::wstring(4000 + Below(3000), L'x');
            [[fallthrough]];
        default:
            return Blanks(true) + Name(false, unicode) + Blanks(true) + L"=" + Blanks(true) +
                   Value(unicode) + Blanks(true);
        }
    }

    std::wstring LineBreak(int style) {
        static const std::vector<std::wstring> breaks = {L"\r\n", L"\n", L"\r"};
        return style < 3 ? breaks[style] : Pick(breaks);
    }

    // Bytes of a starting file; false for no file at all.
    bool File(std::string& bytes) {
        bytes.clear();
        if (Chance(5))
            return false;
        if (Chance(5))
            return true;
        const unsigned encoding = Below(10); // 0-4 plain, 5-6 UTF-8 BOM, 7-8 LE, 9 BE
        const bool unicode = encoding >= 5;
        const int style = int(Below(5));
        std::wstring text;
        for (unsigned n = Below(16); n > 0; --n) {
            text += Line(unicode);
            if (n > 1 || Chance(70))
                text += LineBreak(style);
        }
        if (encoding >= 7) {
            const bool be = encoding == 9;
            bytes = be ? "\xFE\xFF" : "\xFF\xFE";
            for (wchar_t c : text) {
                char hi = char(c >> 8), lo = char(c & 0xFF);
                bytes += be ? std::string{hi, lo} : std::string{lo, hi};
            }
        } else {
            if (encoding >= 5)
                bytes = "\xEF\xBB\xBF";
            bytes += Utf8(text);
        }
        return true;
    }

    std::vector<CRequest> Requests(bool unicode) {
        std::vector<CRequest> requests;
        if (Chance(5)) {
            // A whole save: 49 keys in the order the program writes them.
            static const wchar_t* sections[] = {L"BRIGHTNESS",   L"CONTRAST",  L"HUE",
                                                L"SATURATION",   L"SHARPNESS", L"COLORENABLE",
                                                L"WHITEBALANCE", L"EXPOSURE"};
            static const wchar_t* keys[] = {L"V_PMIN",     L"V_PMAX",       L"V_PSTEPPINGDELTA",
                                            L"V_PDEFAULT", L"V_PCAPSFLAGS", L"V_LVALUE"};
            requests.push_back({L"SYSTEM", true, L"PORT", true, std::to_wstring(Below(3))});
            for (const wchar_t* section : sections)
                for (const wchar_t* key : keys)
                    requests.push_back({section, true, key, true, Value(false)});
            return requests;
        }
        for (unsigned n = 1 + Below(6); n > 0; --n) {
            CRequest r;
            r.m_section = Chance(5) ? L"" : Blanks(false) + Name(true, unicode) + Blanks(false);
            r.m_key = Blanks(false) + Name(false, unicode) + Blanks(false);
            r.m_value = Blanks(false) + Value(unicode) + Blanks(false);
            r.m_hasKey = !Chance(5);
            r.m_hasValue = !Chance(12);
            if (Chance(4)) {
                static const std::vector<std::wstring> badKeys = {L"k=j", L";k", L" [k]", L"k\n"};
                static const std::vector<std::wstring> badValues = {L"1\r\n[B]", L"2\r", L"3\n"};
                if (Chance(50))
                    r.m_key = Pick(badKeys);
                else
                    r.m_value = Pick(badValues);
            }
            requests.push_back(r);
        }
        return requests;
    }

    // Mostly the names just written, blanks and case as given; the default
    // with quotes or trailing spaces; now and then a buffer too small.
    CRead Read(const std::vector<CRequest>& requests, bool unicode) {
        static const std::vector<std::wstring> defaults = {L"",      L"def", L"d  ",
                                                           L"\"q\"", L" ",   L"'x"};
        CRead r;
        const CRequest& from = Pick(requests);
        // CR and LF too are trimmed around a value's names, not a key list's.
        r.m_section =
            (Chance(20) ? L"\n" : L"") + (Chance(70) ? from.m_section : Name(true, unicode));
        r.m_key = (Chance(70) ? from.m_key : Name(false, unicode)) + (Chance(20) ? L"\r" : L"");
        r.m_hasSection = !Chance(10);
        r.m_hasKey = !Chance(15);
        r.m_hasDefault = !Chance(20);
        r.m_default = Pick(defaults);
        r.m_size = Chance(15) ? 1 + Below(8) : 256;
        return r;
    }

    static std::string Utf8(const std::wstring& text) {
        std::string out;
        for (wchar_t wc : text) {
            auto c = unsigned(wc);
            if (c < 0x80) {
                out += char(c);
            } else if (c < 0x800) {
                out += char(0xC0 | c >> 6);
                out += char(0x80 | (c & 0x3F));
            } else {
                out += char(0xE0 | c >> 12);
                out += char(0x80 | (c >> 6 & 0x3F));
                out += char(0x80 | (c & 0x3F));
            }
        }
        return out;
    }

private:
    std::mt19937 m_rng;
};

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == 0x1A;
}

std::wstring Trimmed(const std::wstring& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

// The requests this writer refuses on purpose: each would write a line that
// reads back as something else.
bool RefusedByDesign(const CRequest& r) {
    if (r.m_section.find_first_of(L"\r\n]") != std::wstring::npos)
        return true;
    const std::wstring key = Trimmed(r.m_key);
    if (r.m_hasKey && (key.find_first_of(L"\r\n=") != std::wstring::npos ||
                       (!key.empty() && (key[0] == L';' || key[0] == L'['))))
        return true;
    return r.m_hasKey && r.m_hasValue && r.m_value.find_first_of(L"\r\n") != std::wstring::npos;
}

std::string Hex(bool present, const std::wstring& text) {
    if (!present)
        return "-";
    std::string hex = "x";
    char digits[3];
    for (unsigned char c : CGenerator::Utf8(text)) {
        std::snprintf(digits, sizeof digits, "%02x", c);
        hex += digits;
    }
    return hex;
}

// Cases every run starts with: UTF-16 of an odd length, whose last byte
// reads as a unit of its own; then, only read, a directory in the file's
// place ("/"), NULs in lines, a file over the writer's limit, an empty file.
const std::pair<std::string, std::vector<CRequest>> kFixedCases[] = {
    {"\xFF\xFE[\0S\0]\0\n\0K\0=\0\x31\0\n\0A"s, {{L"S", true, L"K", true, L"2"}}},
    {"\xFE\xFF\0[\0S\0]\0\n\0K\0=\0\x31\0\nA"s, {{L"S", true, L"K", true, L"3"}}},
    {"/", {}},
    {"[A\0x]\nj=2\n[\0B]\n[ C \0 z ]\n[D]\n\0k=5\n=6\nm\0n=7\nv= a \0 b \n"s, {}},
    {"[S]\n" + std::string(33 << 20, ';') + "\n[D]\nv=far\n", {}},
    {"", {}},
};

// The reads of each fixed case without requests: the section names, key
// lists of a section and of the nameless one, a value.
const CRead kFixedReads[] = {{false, false, true, L"", L"", L"\"d\"", 256, ""},
                             {true, false, true, L"D", L"", L"'d'", 256, ""},
                             {true, false, true, L"", L"", L"", 256, ""},
                             {true, true, true, L"\r\nD\x1a", L"v\n", L"'d' ", 256, ""}};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: profile_crosscheck SEED COUNT\n");
        return 2;
    }
    // The comparison is of content: syncing each of some ten thousand writes
    // would only make the run wait on the disk.
    profile::StoreHooks().sync = [](int) { return 0; };
    CGenerator gen(unsigned(std::strtoul(argv[1], nullptr, 10)));
    const long count = std::strtol(argv[2], nullptr, 10);
    std::ofstream list("cases.txt");
    int wrong = 0;
    for (long i = 0; i < count; ++i) {
        const std::string name = "c" + std::to_string(i);
        std::string bytes;
        const size_t fixed = sizeof kFixedCases / sizeof kFixedCases[0];
        const bool exists = size_t(i) < fixed || gen.File(bytes);
        std::vector<CRequest> requests;
        if (size_t(i) < fixed)
            std::tie(bytes, requests) = kFixedCases[i];
        std::remove((name + ".start").c_str());
        std::remove((name + ".lin").c_str());
        if (exists && bytes == "/") {
            mkdir((name + ".lin").c_str(), 0777);
        } else if (exists) {
            std::ofstream(name + ".start", std::ios::binary) << bytes;
            std::ofstream(name + ".lin", std::ios::binary) << bytes;
        }
        const bool unicode =
            bytes.size() >= 2 && (bytes[0] == '\xEF' || bytes[0] == '\xFF' || bytes[0] == '\xFE');
        const std::wstring path = L".\\" + std::wstring(name.begin(), name.end()) + L".lin";
        list << "case " << name << "\n";
        const bool readOnly = size_t(i) < fixed && requests.empty();
        if (size_t(i) >= fixed)
            requests = gen.Requests(unicode);
        for (const CRequest& r : requests) {
            const BOOL ok = WritePrivateProfileStringW(
                r.m_section.c_str(), r.m_hasKey ? r.m_key.c_str() : nullptr,
                r.m_hasValue ? r.m_value.c_str() : nullptr, path.c_str());
            const bool refused = RefusedByDesign(r);
            if (!ok != refused) {
                std::fprintf(stderr, "%s: the writer %s a request\n", name.c_str(),
                             ok ? "took" : "refused");
                ++wrong;
            }
            list << (refused ? "r " : "w ") << Hex(true, r.m_section) << " "
                 << Hex(r.m_hasKey, r.m_key) << " " << Hex(r.m_hasValue, r.m_value) << "\n";
        }
        for (size_t k = 0; k < (readOnly ? std::size(kFixedReads) : 3); ++k) {
            const CRead r = readOnly ? kFixedReads[k] : gen.Read(requests, unicode);
            list << "g " << Hex(r.m_hasSection, r.m_section) << " " << Hex(r.m_hasKey, r.m_key)
                 << " " << Hex(r.m_hasDefault, r.m_default) << " " << r.m_size << " "
                 << Answer(r, path) << "\n";
        }
    }
    return wrong ? 1 : 0;
}
