#include "web/service_paths.h"

#include <cstdio>
#include <string_view>

namespace {

// Appends to a fixed path buffer, keeping it terminated and cutting what does not fit.
class PathWriter {
  public:
    explicit PathWriter(std::span<char> out) : out_(out) {
        if (!out_.empty()) {
            out_[0] = '\0';
        }
    }

    PathWriter& operator<<(std::string_view text) {
        for (char c : text) {
            if (length_ + 1 >= out_.size()) {
                break;
            }
            out_[length_++] = c;
        }
        if (!out_.empty()) {
            out_[length_] = '\0';
        }
        return *this;
    }

  private:
    std::span<char> out_;
    std::size_t length_ = 0;
};

// "%d" of the number, as the service reads it.
struct DecimalText {
    explicit DecimalText(long long number) { std::snprintf(text, sizeof text, "%lld", number); }
    operator std::string_view() const { return text; }
    char text[24];
};

} // namespace

void BuildServicePath(std::span<char> path, int number, int kind, const char* base) {
    const std::string_view baseText = base;
    const DecimalText decimal(number);
    PathWriter out(path);
    out << baseText;
    if (baseText == kUsersBase) {
        if (kind == 1) {
            out << "/images.php?F=" << decimal << "&N=1";
        }
    } else if (baseText == kExchangeBase) {
        if (kind == 2) {
            out << "pc_img_share_get.php?F=" << decimal << "&N=2";
        } else if (kind == 3) {
            out << "pc_img_share_post.php";
        } else {
            out << "pc_img_share_get.php?F=" << decimal << "&N=1";
        }
    } else if (baseText == kUsbBase) {
        constexpr std::string_view kIcons[] = {"/usb_black.png", "/usb_green.png", "/usb_red.png"};
        if (kind >= 1 && kind <= 3) {
            out << kIcons[kind - 1];
        }
    }
}

void BuildAccountPath(std::span<char> path, std::uint32_t number, AccountFetchKind kind,
                      const char* pcIdentifier, const char* versionText) {
    // Member numbers are written the way a signed 32-bit "%d" writes them.
    const DecimalText decimal(static_cast<std::int32_t>(number));
    PathWriter out(path);
    switch (kind) {
    case AccountFetchKind::SpeakerPicture:
        out << kUsersBase << decimal << "/images.php?N=2";
        break;
    case AccountFetchKind::SpeakerDetails:
    case AccountFetchKind::OwnDetails:
        out << kUsersBase << decimal << "/client.xml";
        break;
    case AccountFetchKind::DisplayParameters:
        out << kUsersBase << decimal << "/params.xml";
        break;
    case AccountFetchKind::Identification:
        out << "/Rb8Wd3Qy6N.php?S=2&I=" << pcIdentifier << "&V=VELMARC " << versionText << "&A=&F=";
        break;
    }
}
