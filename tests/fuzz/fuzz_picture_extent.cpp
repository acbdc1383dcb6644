// Pictures from the web service: any bytes are read within bounds, and nothing beyond the bound is admitted.
#include "web/picture_extent.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::optional<PictureExtent> extent = ReadPictureExtent(bytes);
    const bool withinBound = extent && extent->width >= 1 && extent->height >= 1 &&
                             extent->width <= kMaxPictureSide && extent->height <= kMaxPictureSide &&
                             extent->pixels <= kMaxPicturePixels;
    if (AdmitPicture(bytes).has_value() != withinBound) {
        std::abort();
    }
    return 0;
}
