#include "audio/win32/endpoint_description.h"

#include "platform/win32/wide_text.h"
#include "audio/icon_reference.h"
#include "platform/win32/message_box.h"
#include "platform/win32/scoped_win.h"
#include "session/user_texts.h"

#include <windows.h>

#include <mmdeviceapi.h>
#include <propidl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr PROPERTYKEY kFriendlyNameKey{
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
constexpr PROPERTYKEY kIconPathKey{
    {0x259abffc, 0x50a7, 0x47ce, {0xaf, 0x08, 0x68, 0xc9, 0xa7, 0xd7, 0x33, 0x66}}, 12};
constexpr std::size_t kNameCharacters = 256;
constexpr std::size_t kIconLocationCharacters = 260;

// A text property, cut to `limit` wide characters; empty when the property is missing or not a text.
std::wstring ReadText(IPropertyStore* store, const PROPERTYKEY& key, std::size_t limit) {
    PROPVARIANT value;
    PropVariantInit(&value);
    std::wstring text;
    if (SUCCEEDED(store->GetValue(key, &value)) && value.vt == VT_LPWSTR && value.pwszVal != nullptr) {
        text.assign(value.pwszVal, wcsnlen(value.pwszVal, limit));
    }
    PropVariantClear(&value);
    return text;
}

// Reads the name and the icon of an endpoint; false when the icon text has no comma.
bool ReadNameAndIcon(IMMDevice* device, EndpointDescription& description) {
    ScopedComPtr<IPropertyStore> store;
    if (FAILED(device->OpenPropertyStore(STGM_READ, store.Out()))) {
        return false;
    }
    description.name = Utf8FromWide(ReadText(store.get(), kFriendlyNameKey, kNameCharacters));
    const IconReference icon =
        ParseIconReference(Utf8FromWide(ReadText(store.get(), kIconPathKey, SIZE_MAX)));
    description.iconLocation = icon.location.substr(0, kIconLocationCharacters * 3);
    description.iconIndex = icon.index;
    return icon.hasIndex;
}

bool CreateEnumerator(ScopedComPtr<IMMDeviceEnumerator>& enumerator) {
    return SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                      __uuidof(IMMDeviceEnumerator), enumerator.OutVoid()));
}

bool ActiveCaptureEndpoints(IMMDeviceEnumerator* enumerator, ScopedComPtr<IMMDeviceCollection>& endpoints,
                            UINT& count) {
    return SUCCEEDED(enumerator->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, endpoints.Out())) &&
           SUCCEEDED(endpoints->GetCount(&count));
}

// The endpoint identifier's text, owned by the caller; empty when it cannot be had.
std::wstring EndpointId(IMMDevice* device) {
    LPWSTR id = nullptr;
    if (FAILED(device->GetId(&id)) || id == nullptr) {
        return {};
    }
    std::wstring text(id);
    CoTaskMemFree(id);
    return text;
}

} // namespace

bool DescribeDefaultOutput(EndpointDescription& description) {
    const ScopedCom com;
    ScopedComPtr<IMMDeviceEnumerator> enumerator;
    ScopedComPtr<IMMDevice> device;
    DWORD state = 0;
    if (!CreateEnumerator(enumerator) ||
        FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, device.Out())) ||
        EndpointId(device.get()).empty() || FAILED(device->GetState(&state))) {
        return false;
    }
    EndpointDescription read = description;
    const bool complete = ReadNameAndIcon(device.get(), read);
    std::printf("Endpoint friendly name: %s\n", read.name.c_str());
    if (!complete) {
        std::printf("Virgule non trouvée dans la chaîne.\n");
    }
    description = read;
    return complete;
}

bool DescribeCaptureEndpoint(int position, EndpointDescription& description) {
    const ScopedCom com;
    ScopedComPtr<IMMDeviceEnumerator> enumerator;
    ScopedComPtr<IMMDeviceCollection> endpoints;
    ScopedComPtr<IMMDevice> device;
    UINT count = 0;
    if (position < 0 || !CreateEnumerator(enumerator) ||
        !ActiveCaptureEndpoints(enumerator.get(), endpoints, count) || static_cast<UINT>(position) >= count ||
        FAILED(endpoints->Item(static_cast<UINT>(position), device.Out()))) {
        return false;
    }
    EndpointDescription read = description;
    ReadNameAndIcon(device.get(), read); // an icon without index is still a description
    description = read;
    return true;
}

int FindDefaultCaptureIndex(EndpointDescription& description) {
    int found = -1;
    {
        const ScopedCom com;
        ScopedComPtr<IMMDeviceEnumerator> enumerator;
        ScopedComPtr<IMMDevice> defaultDevice;
        ScopedComPtr<IMMDeviceCollection> endpoints;
        UINT count = 0;
        if (!CreateEnumerator(enumerator) ||
            FAILED(enumerator->GetDefaultAudioEndpoint(eCapture, eMultimedia, defaultDevice.Out())) ||
            !ActiveCaptureEndpoints(enumerator.get(), endpoints, count)) {
            return -1;
        }
        const std::wstring defaultId = EndpointId(defaultDevice.get());
        for (UINT position = 0; position < count && found < 0 && !defaultId.empty(); ++position) {
            ScopedComPtr<IMMDevice> device;
            if (SUCCEEDED(endpoints->Item(position, device.Out())) && EndpointId(device.get()) == defaultId) {
                found = static_cast<int>(position);
            }
        }
    }
    if (found < 0) {
        ShowMessageBox(nullptr, kDeviceIndexNotFound, kErrorInEnglish, MB_ICONWARNING);
        return -1;
    }
    DescribeCaptureEndpoint(found, description);
    return found;
}
