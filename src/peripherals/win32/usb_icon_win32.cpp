#include "peripherals/win32/usb_icon_win32.h"

#include "platform/win32/draw_helpers.h"
#include "peripherals/usb_icon.h"
#include "web/service_paths.h"
#include "web/win32/https_client.h"
#include "web/win32/image_decoding.h"

#include <windows.h>

namespace {

// Puts `bitmap` (or nothing) in place of the shown picture and draws it at once; the paint of the main
// window reads the same handle.
void ReplaceIcon(UsbIconView& view, HBITMAP bitmap) {
    HBITMAP old = view.picture.exchange(bitmap);
    if (bitmap != nullptr) {
        const ScopedGetDC dc(view.mainWindow, DCX_CACHE); // the accessory thread's, not the main thread's
        if (dc) {
            const Rect& place = view.place;
            DrawStretchedBitmap(dc.get(), bitmap, place.left, place.top, place.right - place.left,
                                place.bottom - place.top);
        }
    }
    if (old != nullptr) {
        DeleteObject(old);
    }
}

class WebServicePicture : public UsbIconPicture {
  public:
    explicit WebServicePicture(UsbIconView& view) : view_(view) {}
    FetchResult Fetch(ResponseBuffer::Lease& response, int state) override {
        return HttpsGet(response, kUsbBase, 0, state);
    }
    void ShowBody(const ResponseBuffer::Lease& response, int size) override {
        ReplaceIcon(view_, DecodePngBitmap(response, size));
    }
    void Remove() override { ReplaceIcon(view_, nullptr); }

  private:
    UsbIconView& view_;
};

} // namespace

void SetUsbIconState(UsbIconView& view, int state) {
    static WebServicePicture picture(view);
    static UsbIcon icon(SharedResponseBuffer(), picture);
    icon.Set(state);
}
