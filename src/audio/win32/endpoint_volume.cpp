#include "audio/win32/endpoint_volume.h"

#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

namespace {

enum class LevelOperation { Read, Write };

// Opens the default endpoint's master volume for one read or write, releasing everything afterwards.
bool WithMasterVolume(EDataFlow flow, LevelOperation operation, float* level) {
    const HRESULT init = CoInitialize(nullptr);
    bool ok = false;
    IMMDeviceEnumerator* enumerator = nullptr;
    IMMDevice* device = nullptr;
    IAudioEndpointVolume* volume = nullptr;
    if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                   __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&enumerator))) &&
        SUCCEEDED(enumerator->GetDefaultAudioEndpoint(flow, eConsole, &device)) &&
        SUCCEEDED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                   reinterpret_cast<void**>(&volume)))) {
        ok = operation == LevelOperation::Read
                 ? SUCCEEDED(volume->GetMasterVolumeLevelScalar(level))
                 : SUCCEEDED(volume->SetMasterVolumeLevelScalar(*level, nullptr));
    }
    if (volume != nullptr) {
        volume->Release();
    }
    if (device != nullptr) {
        device->Release();
    }
    if (enumerator != nullptr) {
        enumerator->Release();
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return ok;
}

} // namespace

bool ReadCaptureMasterLevel(float* level) {
    return WithMasterVolume(eCapture, LevelOperation::Read, level);
}

bool SetCaptureMasterLevel(float level) {
    return WithMasterVolume(eCapture, LevelOperation::Write, &level);
}

bool SetRenderMasterLevel(float level) {
    return WithMasterVolume(eRender, LevelOperation::Write, &level);
}
