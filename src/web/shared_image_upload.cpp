#include "web/shared_image_upload.h"

#include <algorithm>
#include <cstring>

void UploadRecord::Store(std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

UploadCheck FillUploadRecord(UploadRecord& record, ChosenFile& file, std::size_t ansiPathBytes,
                             std::string_view ansiName, int channel) {
    if (ansiPathBytes > kUploadPathMaxBytes) {
        return UploadCheck::PathTooLong;
    }
    // A name cut to fit could end inside a multi-byte character and would not be the file's name any more.
    if (ansiName.size() + 1 > kUploadNameBytes) {
        return UploadCheck::NameTooLong;
    }
    const std::optional<std::uint64_t> size = file.OpenAndMeasure();
    if (!size) {
        return UploadCheck::CannotOpen;
    }
    if (*size >= kUploadDataBytes) {
        return UploadCheck::TooLarge;
    }
    const std::span<std::uint8_t> data = record.Data();
    const std::span<std::uint8_t> into = data.first(static_cast<std::size_t>(*size));
    const std::size_t read = std::min(file.Read(into), into.size());
    record.SetFileLength(static_cast<std::int32_t>(read));
    if (read == 0) {
        return UploadCheck::Empty;
    }
    std::fill(data.begin() + static_cast<std::ptrdiff_t>(read), data.end(), std::uint8_t{0});
    const std::span<std::uint8_t> nameField = record.NameField();
    std::fill(nameField.begin(), nameField.end(), std::uint8_t{0});
    std::memcpy(nameField.data(), ansiName.data(), ansiName.size());
    record.SetNameLength(static_cast<std::int32_t>(ansiName.size()));
    record.SetChannel(channel);
    return UploadCheck::Ready;
}
