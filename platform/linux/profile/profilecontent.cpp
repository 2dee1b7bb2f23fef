// The edit of one request in the file's own encoding, and the new file as
// pieces of the old bytes around the change.
#include "platform/linux/profile/profilecontent.h"

namespace profile {

namespace {

bool ToUnits(LPCWSTR wide, std::string& out) {
    return WideToUtf8(wide, out);
}
bool ToUnits(LPCWSTR wide, std::u16string& out) {
    return WideToUtf16(wide, out);
}

template <class C>
DWORD EditUnits(const std::basic_string<C>& units, LPCWSTR section, LPCWSTR key, LPCWSTR value,
                CProfileSplice<C>& splice, bool& changed) {
    CProfileEdit<C> edit;
    std::basic_string<C> converted;
    if (!ToUnits(section, edit.m_section))
        return ERROR_INVALID_PARAMETER;
    if (key) {
        if (!ToUnits(key, converted))
            return ERROR_INVALID_PARAMETER;
        edit.m_key = converted;
    }
    if (value) {
        if (!ToUnits(value, converted))
            return ERROR_INVALID_PARAMETER;
        edit.m_value = converted;
    }
    changed = EditProfileText(units, edit, splice);
    return ERROR_SUCCESS;
}

bool StartsWithByteOrderMark(const std::vector<std::string_view>& pieces) {
    std::string head;
    for (std::string_view piece : pieces) {
        head += piece.substr(0, 3 - head.size());
        if (head.size() == 3)
            break;
    }
    CProfileText decoded;
    return DecodeProfileText(head, decoded) != ERROR_SUCCESS ||
           decoded.m_encoding != EProfileEncoding::Plain;
}

} // namespace

DWORD CNewContent::Edit(const CProfileText& text, LPCWSTR section, LPCWSTR key, LPCWSTR value,
                        bool& changed) {
    m_pieces.clear();
    m_pieces.push_back(ByteOrderMark(text.m_encoding));
    if (IsUtf16(text.m_encoding)) {
        CProfileSplice<char16_t> splice;
        DWORD err = EditUnits(text.m_units, section, key, value, splice, changed);
        if (err != ERROR_SUCCESS || !changed)
            return err;
        std::u16string_view units(text.m_units);
        m_encoded[0] = EncodeUtf16(units.substr(0, splice.m_offset), text.m_encoding);
        m_encoded[1] = EncodeUtf16(splice.m_insert, text.m_encoding);
        const size_t tail = splice.m_offset + splice.m_erase;
        m_encoded[2] = EncodeUtf16(units.substr(tail), text.m_encoding);
        // The half unit of an odd-sized file goes back as the byte it was
        // while it stays last; text put behind it makes it a whole unit.
        if (!text.m_oddByte.empty() && tail < units.size())
            m_encoded[2].replace(m_encoded[2].size() - 2, 2, text.m_oddByte);
        m_pieces.insert(m_pieces.end(), m_encoded, m_encoded + 3);
        return ERROR_SUCCESS;
    }
    DWORD err = EditUnits(text.m_bytes, section, key, value, m_splice, changed);
    if (err != ERROR_SUCCESS || !changed)
        return err;
    std::string_view bytes(text.m_bytes);
    m_pieces.push_back(bytes.substr(0, m_splice.m_offset));
    m_pieces.push_back(m_splice.m_insert);
    m_pieces.push_back(bytes.substr(m_splice.m_offset + m_splice.m_erase));
    // A file without a byte order mark that would start with one would read
    // back as another encoding, or without its first character.
    if (text.m_encoding == EProfileEncoding::Plain && StartsWithByteOrderMark(m_pieces)) {
        m_pieces.clear();
        changed = false;
        return ERROR_INVALID_DATA;
    }
    return ERROR_SUCCESS;
}

} // namespace profile
