#include "web/win32/account_data.h"

#include "platform/win32/message_box.h"
#include "platform/win32/scoped_win.h"
#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "web/account_fetch.h"
#include "web/win32/https_client.h"
#include "web/win32/image_decoding.h"
#include "web/win32/speaker_band.h"
#include "platform/win32/timer_cost.h"
#include "session/user_texts.h"

namespace {

HWND MainWindow() {
    return Web().mainWindow;
}

// Account fetches over HTTPS, painted on the main window.
class WebAccountService : public AccountService {
  public:
    FetchResult Get(ResponseBuffer::Lease& response, const char* path) override {
        return HttpsGetPath(response, path);
    }

    bool ShowSpeakerPicture(const ResponseBuffer::Lease& response) override {
        const ScopedBitmap picture(DecodePngBitmap(response, static_cast<int>(response.Body().size())));
        return picture && ::ShowSpeakerPicture(MainWindow(), picture.get());
    }

    void ShowSpeakerDetails(const SpeakerDetails& details) override {
        ::ShowSpeakerDetails(MainWindow(), details);
    }

    void ClearSpeakerPicture() override { ::ClearSpeakerPicture(MainWindow()); }

    void ClearSpeakerDetails() override { ::ClearSpeakerDetails(MainWindow()); }
};

AccountFetcher& Fetcher() {
    static WebAccountService service;
    static AccountFetcher fetcher(*Web().account, *Web().shared, SharedResponseBuffer(), service);
    return fetcher;
}

} // namespace

FetchResult FetchAccountData(std::uint32_t number, AccountFetchKind kind) {
    return Fetcher().Fetch(number, kind);
}

void FetchStartupAccountData(HWND mainWindow) {
    const WebWiring& web = Web();
    FetchAccountData(static_cast<std::uint32_t>(web.speakerAccount->load(std::memory_order_relaxed)),
                     AccountFetchKind::Identification);
    const auto account =
        static_cast<std::uint32_t>(web.shared->accountNumber.load(std::memory_order_relaxed));
    FetchAccountData(account, AccountFetchKind::OwnDetails);
    if (FetchAccountData(account, AccountFetchKind::DisplayParameters).status == FetchStatus::NoBody) {
        EnableWindow(mainWindow, FALSE);
        ShowMessageBox(mainWindow, kNoParametersOnAccount, kParametersAcquisition, MB_OK);
        EnableWindow(mainWindow, TRUE);
    }
    // Everything painted so far used the start-up black; the account's colour shows at once, not at the next
    // chance repaint.
    InvalidateRect(mainWindow, nullptr, TRUE);
    UpdateWindow(mainWindow);
}

void CALLBACK SpeakerFetchTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const TimerCost cost("speaker fetch");
    const auto speaker = static_cast<std::uint32_t>(Web().speakerAccount->load(std::memory_order_relaxed));
    FetchAccountData(speaker, AccountFetchKind::SpeakerPicture);
    FetchAccountData(speaker, AccountFetchKind::SpeakerDetails);
}
