#include "peripherals/win32/usb_icon_win32.h"

#include "session/session_state.h"
#include "platform/win32/draw_helpers.h"
#include "peripherals/usb_icon.h"
#include "web/service_paths.h"
#include "web/win32/https_client.h"
#include "web/win32/image_decoding.h"

#include <windows.h>

namespace {

constexpr int kUsbIconSize = 32;

// Puts `bitmap` (or nothing) in place of the shown picture and draws it at once; the paint of the main
// window reads the same handle.
void ReplaceIcon(HBITMAP bitmap) {
    WindowHandles& handles = Session().handles;
    HBITMAP__* old = handles.usbStatusIcon.exchange(bitmap);
    if (bitmap != nullptr) {
        const ScopedGetDC dc(reinterpret_cast<HWND>(handles.mainWindow));
        if (dc) {
            DrawStretchedBitmap(dc.get(), bitmap, kUsbIconLeft, kUsbIconTop, kUsbIconSize, kUsbIconSize);
        }
    }
    if (old != nullptr) {
        DeleteObject(old);
    }
}

class WebServicePicture : public UsbIconPicture {
  public:
    FetchResult Fetch(ResponseBuffer::Lease& response, int state) override {
        return HttpsGet(response, kUsbBase, 0, state);
    }
    void ShowBody(const ResponseBuffer::Lease& response, int size) override {
        ReplaceIcon(DecodePngBitmap(response, size));
    }
    void Remove() override { ReplaceIcon(nullptr); }
};

} // namespace

void SetUsbIconState(int state) {
    static WebServicePicture picture;
    static UsbIcon icon(SharedResponseBuffer(), picture);
    icon.Set(state);
}
