#include "web/win32/shared_image_sender.h"

#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "platform/win32/message_box.h"
#include "platform/win32/scoped_win.h"
#include "web/request_blinker.h"
#include "web/service_paths.h"
#include "web/shared_image_upload.h"
#include "web/win32/https_client.h"
#include "session/user_texts.h"

#include <windows.h>

#include <shobjidl.h>

#include <cstdio>
#include <limits>
#include <string>

namespace {

// The upload's own run of the HTTPS light; uploads are made on the main thread only.
RequestBlinker gUploadBlinker;

// The file chosen in the dialog, read with the system's wide-character path.
class WindowsFile : public ChosenFile {
  public:
    explicit WindowsFile(const std::wstring& path) : path_(path) {}
    ~WindowsFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    WindowsFile(const WindowsFile&) = delete;
    WindowsFile& operator=(const WindowsFile&) = delete;

    std::optional<std::uint64_t> OpenAndMeasure() override {
        handle_ = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        LARGE_INTEGER size{};
        if (handle_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle_, &size) || size.QuadPart < 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    std::size_t Read(std::span<std::uint8_t> into) override {
        std::size_t total = 0;
        while (total < into.size()) {
            DWORD read = 0;
            const auto wanted = static_cast<DWORD>(into.size() - total);
            if (!ReadFile(handle_, into.data() + total, wanted, &read, nullptr) || read == 0) {
                break;
            }
            total += read;
        }
        return total;
    }

  private:
    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The file-system path the user chose in the system's file-open dialog; empty when none was chosen.
std::wstring ChooseImageFile() {
    const ScopedCom com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ScopedComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                dialog.OutVoid()))) {
        return {};
    }
    const COMDLG_FILTERSPEC images{L"Images (*.png;*.jpg;*.jpeg;*.bmp;*.gif)",
                                   L"*.png;*.jpg;*.jpeg;*.bmp;*.gif"};
    dialog->SetFileTypes(1, &images);
    ScopedComPtr<IShellItem> item;
    if (FAILED(dialog->Show(nullptr)) || FAILED(dialog->GetResult(item.Out()))) {
        return {};
    }
    PWSTR path = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return {};
    }
    std::wstring chosen(path);
    CoTaskMemFree(path);
    return chosen;
}

// Bytes of the text in the ANSI code page, terminator included; the largest size when it cannot be converted.
std::size_t AnsiBytesWithTerminator(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    return bytes > 0 ? static_cast<std::size_t>(bytes) : std::numeric_limits<std::size_t>::max();
}

std::string AnsiFromWide(const std::wstring& text) {
    const std::size_t bytes = AnsiBytesWithTerminator(text);
    if (bytes == std::numeric_limits<std::size_t>::max()) {
        return {};
    }
    std::string ansi(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), static_cast<int>(bytes), nullptr, nullptr);
    ansi.pop_back();
    return ansi;
}

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

void ShowSizeWarning() {
    char text[128];
    std::snprintf(text, sizeof text, kFileLargerThanBufferWithMaximum, static_cast<long>(kUploadDataBytes));
    ShowMessageBox(nullptr, text, kWarning, MB_ICONWARNING | MB_OK);
}

// Tells the user why the file is not sent; true when it can be.
bool ReadyToSend(UploadCheck check) {
    switch (check) {
    case UploadCheck::Ready:
        return true;
    case UploadCheck::TooLarge:
        ShowSizeWarning();
        return false;
    case UploadCheck::CannotOpen:
        ShowMessageBox(nullptr, kChosenFileDidNotOpen, kWarning, MB_ICONWARNING | MB_OK);
        return false;
    case UploadCheck::PathTooLong:
    case UploadCheck::NameTooLong:
        ShowMessageBox(nullptr, kChosenPathTooLong, kWarning, MB_ICONWARNING | MB_OK);
        return false;
    case UploadCheck::Empty:
        return false;
    }
    return false;
}

} // namespace

int SendSharedImage(int channel) {
    Web().shared->lights.web.store(gUploadBlinker.Next(), std::memory_order_relaxed);
    const InternetHandle session = OpenServiceSession();
    if (!session) {
        return -1;
    }
    const InternetHandle connection = ConnectToService(session.Get());
    if (!connection) {
        return -1;
    }
    const std::wstring path = ChooseImageFile();
    if (path.empty()) {
        return 0;
    }
    // One fixed buffer for every upload: nothing is allocated for the 10 MB body.
    static UploadRecord record;
    WindowsFile file(path);
    if (!ReadyToSend(FillUploadRecord(record, file, AnsiBytesWithTerminator(path),
                                      AnsiFromWide(FileNameOf(path)), channel))) {
        return -1;
    }
    char postPath[kServicePathCapacity];
    BuildServicePath(postPath, channel, 3, kExchangeBase);
    ResponseBuffer::Lease response = SharedResponseBuffer().Acquire();
    const InternetHandle request(HttpsPost(connection.Get(), postPath, record.Bytes(), PostWatch::Upload));
    if (!request) {
        return -1;
    }
    response.CurrentRequest() = request.Get();
    const int status = QueryStatusCode(response);
    response.CurrentRequest() = nullptr;
    return status;
}
