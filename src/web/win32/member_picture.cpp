#include "web/win32/member_picture.h"

#include "platform/win32/draw_helpers.h"
#include "platform/win32/scoped_win.h"
#include "web/member_walk.h"
#include "web/fetch_result.h"
#include "web/service_paths.h"
#include "web/win32/https_client.h"
#include "web/win32/image_decoding.h"

namespace {

constexpr int kMemberPictureKind = 1;

} // namespace

bool DrawMemberPicture(HDC dc, int account, const Rect& place) {
    HBITMAP picture = nullptr;
    {
        // Held through the decoding: the accessory thread's requests land in the same buffer.
        ResponseBuffer::Lease response = SharedResponseBuffer().Acquire();
        const FetchResult fetched = HttpsGet(response, kUsersBase, account, kMemberPictureKind);
        // No picture takes no place; a failed request keeps the place as it was; a body takes the place, even
        // when it does not decode.
        switch (fetched.status) {
        case FetchStatus::NoBody:
            return false;
        case FetchStatus::Failed:
            return true;
        case FetchStatus::Body:
            picture = DecodePngBitmap(response, static_cast<int>(fetched.size));
            break;
        }
    }
    const ScopedBitmap bitmap(picture);
    DrawStretchedBitmap(dc, bitmap.get(), place.left, place.top, place.right - place.left,
                        place.bottom - place.top);
    return true;
}
