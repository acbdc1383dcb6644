#include "upload_records.h"

namespace zelvora::web {
namespace {

std::int32_t LittleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

bool IsComponent(std::int32_t value) {
    return value >= 0 && value <= 255;
}

} // namespace

std::optional<SharedImageUpload> ParseSharedImageUpload(std::string_view record) {
    if (record.size() != kUploadRecordBytes) {
        return std::nullopt;
    }
    constexpr std::size_t fields = kUploadDataBytes + kUploadNameBytes;
    const std::int32_t fileLength = LittleEndian32(record, fields);
    const std::int32_t nameLength = LittleEndian32(record, fields + 4);
    const std::int32_t channel = LittleEndian32(record, fields + 8);
    // The client never sends an empty file nor one that fills the whole data area.
    if (fileLength < 1 || fileLength >= static_cast<std::int32_t>(kUploadDataBytes) || nameLength < 0 ||
        channel < 0 || channel > kLastChannel) {
        return std::nullopt;
    }
    const std::string_view nameField = record.substr(kUploadDataBytes, kUploadNameBytes);
    if (nameField.back() != '\0') {
        return std::nullopt;
    }
    SharedImageUpload upload;
    upload.channel = channel;
    upload.image = record.substr(0, static_cast<std::size_t>(fileLength));
    upload.name = nameField.substr(0, nameField.find('\0'));
    return upload;
}

std::optional<ColourUpload> ParseColourUpload(std::string_view record) {
    if (record.size() != kColourRecordBytes || LittleEndian32(record, 0) != 1) {
        return std::nullopt;
    }
    const std::int32_t red = LittleEndian32(record, 4);
    const std::int32_t green = LittleEndian32(record, 8);
    const std::int32_t blue = LittleEndian32(record, 12);
    const std::int32_t account = LittleEndian32(record, 16);
    if (!IsComponent(red) || !IsComponent(green) || !IsComponent(blue) || account < 1 || account > 65535) {
        return std::nullopt;
    }
    ColourUpload upload;
    upload.account = static_cast<std::uint16_t>(account);
    upload.colorref = static_cast<std::uint32_t>(red | green << 8 | blue << 16);
    return upload;
}

} // namespace zelvora::web
