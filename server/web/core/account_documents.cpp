#include "account_documents.h"

#include <cstdio>

namespace zelvora::web {
namespace {

constexpr std::string_view kEacute = "\xC3\xA9";
constexpr std::string_view kEacuteEntity = "&#xE9;";
constexpr std::string_view kIdentificationLead = "Zelvora identification: account = ";
static_assert(kIdentificationLead.size() == 34);

// Length of the UTF-8 sequence starting at bytes[at], or 0 when it is not a valid one.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length = 0;
    unsigned minimum = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) {
        return 0;
    }
    unsigned code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (next & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

} // namespace

std::string EncodeMemberText(std::string_view utf8) {
    std::string encoded;
    for (std::size_t at = 0; at < utf8.size();) {
        if (utf8.substr(at, kEacute.size()) == kEacute) {
            encoded += kEacuteEntity;
            at += kEacute.size();
        } else {
            encoded += utf8[at++];
        }
    }
    return encoded;
}

bool IsValidMemberText(std::string_view utf8, std::size_t capacity) {
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = Utf8SequenceLength(utf8, at);
        if (length == 0) {
            return false;
        }
        const char c = utf8[at];
        if (length == 1 &&
            (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&')) {
            return false;
        }
        at += length;
    }
    return EncodeMemberText(utf8).size() < capacity;
}

std::string ClientXml(const MemberDetails& details) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CLIENT>\n";
    for (std::size_t i = 0; i < MemberDetails::kCount; ++i) {
        const std::string_view tag = MemberDetails::kTags[i];
        xml.append("<").append(tag).append(">");
        xml += EncodeMemberText(details.texts[i]);
        xml.append("</").append(tag).append(">\n");
    }
    return xml + "</CLIENT>\n";
}

std::string ParamsXml(std::uint32_t colorref) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(colorref & 0xFFFFFF));
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PARAMS>\n<BACKGROUND>") + hex +
           "</BACKGROUND>\n</PARAMS>\n";
}

std::string IdentificationReply(std::uint16_t account) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(account));
    return std::string(kIdentificationLead) + digits + "\n";
}

} // namespace zelvora::web
