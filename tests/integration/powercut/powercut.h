// The power-cut test's model of a save: the calls a saver makes in order, the
// user lines it seeds the file with, and which contents a cut may leave.
#pragma once

#include "platform/wintypes.h"

#include <string>
#include <vector>

namespace powercut {

// A save writes the 49 keys of the parameter file, then asks for the flush.
constexpr int kKeysPerSave = 49;
constexpr int kCallsPerSave = kKeysPerSave + 1;

// Call number index (from 1) of a boot whose first save has the number
// firstSave. The value of every key a save writes is the save's number.
struct CCall {
    long m_save = 0;
    int m_key = 0; // 0 is [SYSTEM] PORT, 1..48 the property keys
    bool IsFlush() const { return m_key == kKeysPerSave; }
};
CCall CallAt(long firstSave, long index);

// The call itself on the file at path: a write, or the flush request. FALSE
// leaves the reason in *err.
BOOL Perform(const CCall& call, const std::wstring& path, DWORD* err);

// The flush request answers FALSE with ERROR_SUCCESS when it worked, as
// Windows does; any error it leaves behind is a failed flush, which stops
// the saver.
bool FlushAnswerIsAccepted(BOOL ok, DWORD err);

// Comments, a foreign section, another program's keys in a section the save
// writes, CRLF line ends: what the user had before the first save.
const std::string& SeedText();

// What a cut left behind, given every content the file had during the boot
// (contents[0] before the first call, contents[i] after call i, up to the
// call in flight after the last acknowledged one).
struct CVerdict {
    enum EKind { Intact, RolledBack, Failed } m_kind = Failed;
    long m_lostWrites = 0; // acknowledged writes missing, for RolledBack
    std::string m_reason;  // for Failed
};
CVerdict Judge(bool exists, const std::string& file, const std::vector<std::string>& contents,
               long firstSave, long acked, long flushed);

} // namespace powercut
