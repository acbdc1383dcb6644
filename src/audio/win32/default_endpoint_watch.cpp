#include "audio/win32/default_endpoint_watch.h"

bool DefaultEndpointWatch::Register(IMMDeviceEnumerator& enumerator) {
    registered_.store(SUCCEEDED(enumerator.RegisterEndpointNotificationCallback(this)));
    return registered_.load();
}

void DefaultEndpointWatch::Unregister(IMMDeviceEnumerator& enumerator) {
    if (registered_.exchange(false)) {
        enumerator.UnregisterEndpointNotificationCallback(this);
    }
}

bool DefaultEndpointWatch::TakeChange(EDataFlow flow) {
    std::atomic<bool>& changed = flow == eCapture ? captureChanged_ : renderChanged_;
    const bool taken = changed.exchange(false);
    return taken || !registered_.load();
}

HRESULT STDMETHODCALLTYPE DefaultEndpointWatch::QueryInterface(REFIID id, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (id == __uuidof(IUnknown) || id == __uuidof(IMMNotificationClient)) {
        *object = static_cast<IMMNotificationClient*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE DefaultEndpointWatch::OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) {
    // The knobs follow the console endpoints; the other roles' defaults do not move them.
    if (role == eConsole) {
        (flow == eCapture ? captureChanged_ : renderChanged_).store(true);
    }
    return S_OK;
}

// A device that comes, goes or changes state may take the default's place without a notice of its own.
HRESULT STDMETHODCALLTYPE DefaultEndpointWatch::OnDeviceStateChanged(LPCWSTR, DWORD) {
    MarkAll();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DefaultEndpointWatch::OnDeviceAdded(LPCWSTR) {
    MarkAll();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DefaultEndpointWatch::OnDeviceRemoved(LPCWSTR) {
    MarkAll();
    return S_OK;
}

void DefaultEndpointWatch::MarkAll() {
    renderChanged_.store(true);
    captureChanged_.store(true);
}
