// The reference side of the profile writer's cross-check: applies each case's
// requests with the system's WritePrivateProfileStringW to a copy of its
// starting file, then reads that file and the Linux writer's result for the
// same case through the system's readers, and reports every case where a
// reader would see something different. The case's reads of the Linux
// result must get the answers the Linux GetPrivateProfileStringW gave.
//   profilecheck CASES      compare every case listed in CASES
//   profilecheck --view F   print what the readers see in F
// CASES is written by the Linux side (profile_crosscheck); its names are
// relative to the current directory. Exits 0 when all cases agree.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct CRequest {
    bool m_refused = false; // refused by the Linux writer by design: not applied here
    std::wstring m_section;
    bool m_hasKey = false;
    std::wstring m_key;
    bool m_hasValue = false;
    std::wstring m_value;
};

// A read of the Linux writer's result and the Linux reader's answer to it.
struct CRead {
    std::wstring m_section, m_key, m_default;
    bool m_hasSection = false, m_hasKey = false, m_hasDefault = false;
    unsigned m_size = 0;
    std::string m_answer; // count, last error and buffer, as Answer prints them
};

struct CCase {
    std::string m_name;
    std::vector<CRequest> m_requests;
    std::vector<CRead> m_reads;
};

std::wstring Wide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

// Names and values travel as "x" and the hex of their UTF-8, so any
// character survives the case list; "-" stands for a null pointer.
bool FromHex(const std::string& hex, bool& present, std::wstring& out) {
    present = hex != "-";
    out.clear();
    if (!present)
        return true;
    if (hex.empty() || hex[0] != 'x' || hex.size() % 2 == 0)
        return false;
    std::string bytes;
    for (size_t i = 1; i < hex.size(); i += 2)
        bytes.push_back(char(std::stoi(hex.substr(i, 2), nullptr, 16)));
    out = Wide(bytes);
    return true;
}

bool ReadCases(const char* path, std::vector<CCase>& cases) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string word;
    while (in >> word) {
        if (word == "case") {
            cases.emplace_back();
            in >> cases.back().m_name;
        } else if ((word == "w" || word == "r") && !cases.empty()) {
            CRequest request;
            request.m_refused = word == "r";
            std::string section, key, value;
            bool hasSection = false;
            in >> section >> key >> value;
            if (!FromHex(section, hasSection, request.m_section) || !hasSection ||
                !FromHex(key, request.m_hasKey, request.m_key) ||
                !FromHex(value, request.m_hasValue, request.m_value))
                return false;
            cases.back().m_requests.push_back(request);
        } else if (word == "g" && !cases.empty()) {
            CRead read;
            std::string section, key, def, count, error, units;
            in >> section >> key >> def >> read.m_size >> count >> error >> units;
            if (!FromHex(section, read.m_hasSection, read.m_section) ||
                !FromHex(key, read.m_hasKey, read.m_key) ||
                !FromHex(def, read.m_hasDefault, read.m_default))
                return false;
            read.m_answer = count + " " + error + " " + units;
            cases.back().m_reads.push_back(read);
        } else {
            return false;
        }
    }
    return true;
}

std::string Escape(const wchar_t* text, size_t length) {
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        wchar_t c = text[i];
        if (c >= 0x20 && c < 0x7F && c != L'\\') {
            out.push_back(char(c));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04X", unsigned(c));
            out += hex;
        }
    }
    return out;
}

// Splits a list of NUL-terminated strings ended by an empty one.
std::vector<std::wstring> Split(const std::vector<wchar_t>& buffer, DWORD length) {
    std::vector<std::wstring> items;
    for (DWORD i = 0; i < length;) {
        std::wstring item(&buffer[i]);
        if (item.empty())
            break;
        i += DWORD(item.size()) + 1;
        items.push_back(item);
    }
    return items;
}

// The file as readers see it: the section names in order, then each
// section's entries as the section call returns them (the nameless part
// before the first header first). Empty when a buffer was too small.
std::string ReaderView(const std::wstring& path) {
    static std::vector<wchar_t> buffer(1 << 22);
    const DWORD size = DWORD(buffer.size());
    DWORD n = GetPrivateProfileSectionNamesW(buffer.data(), size, path.c_str());
    if (n >= size - 2)
        return std::string();
    std::vector<std::wstring> names = Split(buffer, n);
    names.insert(names.begin(), std::wstring());
    std::string view;
    for (const std::wstring& name : names) {
        n = GetPrivateProfileSectionW(name.c_str(), buffer.data(), size, path.c_str());
        if (n >= size - 2)
            return std::string();
        view += "[" + Escape(name.data(), name.size()) + "]\n";
        for (const std::wstring& entry : Split(buffer, n))
            view += "  " + Escape(entry.data(), entry.size()) + "\n";
    }
    return view;
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string EscapeBytes(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(char(c));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string Describe(const CRequest& r) {
    std::string text = r.m_refused ? "  refused " : "  write ";
    text += "[" + Escape(r.m_section.data(), r.m_section.size()) + "] ";
    text += r.m_hasKey ? "'" + Escape(r.m_key.data(), r.m_key.size()) + "'" : "(null)";
    text += " = ";
    text += r.m_hasValue ? "'" + Escape(r.m_value.data(), r.m_value.size()) + "'" : "(null)";
    return text;
}

// The system reader's answer in the Linux side's form: the count, the last
// error, and the buffer up to and with the NUL after the count, in hex.
std::string Answer(const CRead& r, const std::wstring& path) {
    std::vector<wchar_t> buffer(r.m_size + 1, L'#');
    SetLastError(1234);
    const DWORD n = GetPrivateProfileStringW(
        r.m_hasSection ? r.m_section.c_str() : nullptr, r.m_hasKey ? r.m_key.c_str() : nullptr,
        r.m_hasDefault ? r.m_default.c_str() : nullptr, buffer.data(), r.m_size, path.c_str());
    const DWORD error = GetLastError();
    std::string text = "u";
    char digits[8];
    for (DWORD i = 0; i <= n && i < r.m_size; ++i) {
        std::snprintf(digits, sizeof digits, "%04x", unsigned(buffer[i]));
        text += digits;
    }
    return std::to_string(n) + " " + std::to_string(error) + " " + text;
}

std::string Describe(const CRead& r) {
    std::string text = "  read ";
    text +=
        r.m_hasSection ? "[" + Escape(r.m_section.data(), r.m_section.size()) + "] " : "(null) ";
    text += r.m_hasKey ? "'" + Escape(r.m_key.data(), r.m_key.size()) + "'" : "(null)";
    text += " default ";
    text += r.m_hasDefault ? "'" + Escape(r.m_default.data(), r.m_default.size()) + "'" : "(null)";
    return text + " size " + std::to_string(r.m_size);
}

// Runs one case; returns false and prints it when the readers disagree.
bool Check(const CCase& c, bool print) {
    // A bare file name would mean a file in the Windows directory.
    const std::wstring name = L".\\" + Wide(c.m_name);
    const std::wstring start = name + L".start", mine = name + L".win", linux = name + L".lin";
    DeleteFileW(mine.c_str());
    std::string startBytes;
    if (ReadBytes(start, startBytes))
        CopyFileW(start.c_str(), mine.c_str(), FALSE);
    for (const CRequest& r : c.m_requests) {
        if (!r.m_refused)
            WritePrivateProfileStringW(r.m_section.c_str(), r.m_hasKey ? r.m_key.c_str() : nullptr,
                                       r.m_hasValue ? r.m_value.c_str() : nullptr, mine.c_str());
    }
    // Read through a copy: the system keeps the file it wrote in a cache,
    // with names and values as they were written, not as read back.
    const std::wstring copy = mine + L"copy";
    CopyFileW(mine.c_str(), copy.c_str(), FALSE);
    const std::string expected = ReaderView(copy), actual = ReaderView(linux);
    DeleteFileW(copy.c_str());
    bool same = !expected.empty() && expected == actual;
    for (const CRead& r : c.m_reads) {
        const std::string answer = Answer(r, linux);
        if (answer == r.m_answer)
            continue;
        same = false;
        if (print)
            std::printf("case %s: reader differs\n%s\n  system: %s\n  Linux:  %s\n",
                        c.m_name.c_str(), Describe(r).c_str(), answer.c_str(), r.m_answer.c_str());
    }
    if (!same && print) {
        std::string linuxBytes;
        ReadBytes(linux, linuxBytes);
        std::printf("case %s differs\nstart: %s\n", c.m_name.c_str(),
                    EscapeBytes(startBytes).c_str());
        for (const CRequest& r : c.m_requests)
            std::printf("%s\n", Describe(r).c_str());
        std::printf("Linux writer's file: %s\n", EscapeBytes(linuxBytes).c_str());
        std::printf("readers see after the system's writes:\n%s", expected.c_str());
        std::printf("readers see after the Linux writer's:\n%s\n", actual.c_str());
    }
    return same;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--view") {
        std::printf("%s", ReaderView(L".\\" + Wide(argv[2])).c_str());
        return 0;
    }
    std::vector<CCase> cases;
    if (argc != 2 || !ReadCases(argv[1], cases)) {
        std::fprintf(stderr, "usage: profilecheck CASES | --view FILE\n");
        return 2;
    }
    const int kPrinted = 5;
    int differing = 0;
    for (const CCase& c : cases) {
        if (!Check(c, differing < kPrinted))
            ++differing;
    }
    std::printf("%zu cases, %d differ\n", cases.size(), differing);
    return cases.empty() || differing ? 1 : 0;
}
