#include "audio/win32/endpoint_volume.h"

#include "audio/win32/default_endpoint_watch.h"
#include "platform/win32/scoped_win.h"

#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

namespace {

enum class LevelOperation { Read, Write };

// Opens the default endpoint's master volume for one read or write; everything is released on the way out.
bool WithMasterVolume(IMMDeviceEnumerator& enumerator, EDataFlow flow, LevelOperation operation,
                      float* level) {
    ScopedComPtr<IMMDevice> device;
    ScopedComPtr<IAudioEndpointVolume> volume;
    if (FAILED(enumerator.GetDefaultAudioEndpoint(flow, eConsole, device.Out())) ||
        FAILED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, volume.OutVoid()))) {
        return false;
    }
    return operation == LevelOperation::Read ? SUCCEEDED(volume->GetMasterVolumeLevelScalar(level))
                                             : SUCCEEDED(volume->SetMasterVolumeLevelScalar(*level, nullptr));
}

bool WithMasterVolume(EDataFlow flow, LevelOperation operation, float* level) {
    const ScopedCom com; // declared first, so the enumerator is released before COM goes
    ScopedComPtr<IMMDeviceEnumerator> enumerator;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                __uuidof(IMMDeviceEnumerator), enumerator.OutVoid()))) {
        return false;
    }
    return WithMasterVolume(*enumerator.get(), flow, operation, level);
}

// What the knob painter's reads keep between calls, on the main thread, until shutdown lets it go.
struct KeptEndpoints {
    DefaultEndpointWatch watch;
    IMMDeviceEnumerator* enumerator = nullptr;
    IAudioEndpointVolume* renderVolume = nullptr;
    IAudioEndpointVolume* captureVolume = nullptr;
};

KeptEndpoints& Kept() {
    static KeptEndpoints kept;
    return kept;
}

// Made at the first read and kept: making it is most of a read's cost under Wine. Only for a thread whose
// COM outlives it.
IMMDeviceEnumerator* KeptEnumerator(KeptEndpoints& kept) {
    if (kept.enumerator == nullptr &&
        SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                   __uuidof(IMMDeviceEnumerator),
                                   reinterpret_cast<void**>(&kept.enumerator)))) {
        kept.watch.Register(*kept.enumerator);
    }
    return kept.enumerator;
}

void Drop(IAudioEndpointVolume*& volume) {
    if (volume != nullptr) {
        volume->Release();
        volume = nullptr;
    }
}

// The default endpoint's volume control, kept between reads like the enumerator:
// looking the endpoint up asks the registry under Wine, so it is done again only when the system announces
// another default endpoint or the control fails.
float ReadWithKeptVolume(EDataFlow flow) {
    float level = 0;
    const ScopedCom com;
    if (!com.WasUp()) {
        return WithMasterVolume(flow, LevelOperation::Read, &level) ? level : 0.0f;
    }
    KeptEndpoints& kept = Kept();
    IAudioEndpointVolume*& volume = flow == eCapture ? kept.captureVolume : kept.renderVolume;
    IMMDeviceEnumerator* enumerator = KeptEnumerator(kept);
    if (enumerator == nullptr) {
        return 0.0f;
    }
    if (kept.watch.TakeChange(flow) || volume == nullptr) {
        Drop(volume);
        ScopedComPtr<IMMDevice> device;
        if (FAILED(enumerator->GetDefaultAudioEndpoint(flow, eConsole, device.Out())) ||
            FAILED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                    reinterpret_cast<void**>(&volume)))) {
            volume = nullptr; // the next read looks again
            return 0.0f;
        }
    }
    if (FAILED(volume->GetMasterVolumeLevelScalar(&level))) {
        Drop(volume);
        return 0.0f;
    }
    return level;
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

float KnobEndpointLevels::ReadCaptureLevel() {
    return ReadWithKeptVolume(eCapture);
}

float KnobEndpointLevels::ReadRenderLevel() {
    return ReadWithKeptVolume(eRender);
}

void ReleaseKnobEndpoints() {
    KeptEndpoints& kept = Kept();
    Drop(kept.captureVolume);
    Drop(kept.renderVolume);
    if (kept.enumerator != nullptr) {
        kept.watch.Unregister(*kept.enumerator);
        kept.enumerator->Release();
        kept.enumerator = nullptr;
    }
}
