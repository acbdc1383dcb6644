#pragma once

#include <windows.h>

#include <mmdeviceapi.h>

#include <atomic>

// Listens for the system's notices that a default sound endpoint changed, so that a reader keeping an
// endpoint's volume control looks the default endpoint up again only then. Notices come on a system thread;
// the reader takes them on its own.
class DefaultEndpointWatch final : public IMMNotificationClient {
  public:
    // Asks `enumerator` for the notices; false when the system will not give them.
    bool Register(IMMDeviceEnumerator& enumerator);

    // Stops the notices `enumerator` gives, so that none reaches the watch once its owner lets it go.
    void Unregister(IMMDeviceEnumerator& enumerator);

    // True when the default endpoint of `flow` may have changed since the last call (always true without
    // notices), false otherwise.
    bool TakeChange(EDataFlow flow);

    // A watch lives as long as the process: counting references would free nothing.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override;
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

  private:
    void MarkAll();

    std::atomic<bool> registered_{false};
    std::atomic<bool> renderChanged_{false};
    std::atomic<bool> captureChanged_{false};
};
