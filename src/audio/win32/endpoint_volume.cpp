#include "audio/win32/endpoint_volume.h"

#include "platform/win32/scoped_win.h"

#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

namespace {

enum class LevelOperation { Read, Write };

// Opens the default endpoint's master volume for one read or write; everything is released on the way out.
bool WithMasterVolume(EDataFlow flow, LevelOperation operation, float* level) {
    const ScopedCom com; // declared first, so the interfaces below are released before COM goes
    ScopedComPtr<IMMDeviceEnumerator> enumerator;
    ScopedComPtr<IMMDevice> device;
    ScopedComPtr<IAudioEndpointVolume> volume;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                __uuidof(IMMDeviceEnumerator), enumerator.OutVoid())) ||
        FAILED(enumerator->GetDefaultAudioEndpoint(flow, eConsole, device.Out())) ||
        FAILED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, volume.OutVoid()))) {
        return false;
    }
    return operation == LevelOperation::Read ? SUCCEEDED(volume->GetMasterVolumeLevelScalar(level))
                                             : SUCCEEDED(volume->SetMasterVolumeLevelScalar(*level, nullptr));
}

} // namespace

std::optional<float> TryReadCaptureLevel() {
    float level = 0;
    if (!WithMasterVolume(eCapture, LevelOperation::Read, &level)) {
        return std::nullopt;
    }
    return level;
}

float ReadCaptureLevel() {
    return TryReadCaptureLevel().value_or(0.0f);
}

void SetCaptureLevel(float level) {
    WithMasterVolume(eCapture, LevelOperation::Write, &level);
}

float ReadRenderLevel() {
    float level = 0;
    return WithMasterVolume(eRender, LevelOperation::Read, &level) ? level : 0.0f;
}

void SetRenderLevel(float level) {
    WithMasterVolume(eRender, LevelOperation::Write, &level);
}
