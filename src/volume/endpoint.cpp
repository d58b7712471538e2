#include "volume/endpoint.h"

#include "volume/volume_math.h"

#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

namespace tavimo {

using Microsoft::WRL::ComPtr;

CreateEnumeratorFunction g_createDeviceEnumerator = &::CoCreateInstance;

namespace {

constexpr wchar_t kEndpointVolumeIid[] = L"{5CDF2C82-841E-4546-9722-0CF74078229A}";

// Changes made here carry no event context: the all-zero GUID.
const GUID kNoEventContext{};

// The three objects of one operation, released together on every way out.
struct Endpoint {
    ComPtr<IMMDeviceEnumerator> enumerator;
    ComPtr<IMMDevice> device;
    ComPtr<IAudioEndpointVolume> volume;
};

HRESULT OpenEndpoint(Endpoint& endpoint) {
    HRESULT hr = g_createDeviceEnumerator(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                          __uuidof(IMMDeviceEnumerator),
                                          reinterpret_cast<void**>(endpoint.enumerator.GetAddressOf()));
    if (FAILED(hr)) {
        return hr;
    }
    hr = endpoint.enumerator->GetDefaultAudioEndpoint(eRender, eConsole, endpoint.device.GetAddressOf());
    if (FAILED(hr)) {
        return hr;
    }
    IID iid{};
    hr = ::IIDFromString(kEndpointVolumeIid, &iid);
    if (FAILED(hr)) {
        return hr;
    }
    return endpoint.device->Activate(iid, CLSCTX_ALL, nullptr,
                                     reinterpret_cast<void**>(endpoint.volume.GetAddressOf()));
}

} // namespace

HRESULT EndpointVolume(short level, int& percent) {
    percent = 0;
    Endpoint endpoint;
    HRESULT hr = OpenEndpoint(endpoint);
    if (FAILED(hr)) {
        return hr;
    }
    if (level == -1) {
        float scalar = 0.0f;
        hr = endpoint.volume->GetMasterVolumeLevelScalar(&scalar);
        if (SUCCEEDED(hr)) {
            percent = ScalarPercent(scalar);
        }
        return hr;
    }
    return endpoint.volume->SetMasterVolumeLevelScalar(PercentScalar(level), &kNoEventContext);
}

HRESULT EndpointMute(bool toggle, BOOL& muted) {
    muted = FALSE;
    Endpoint endpoint;
    HRESULT hr = OpenEndpoint(endpoint);
    if (FAILED(hr)) {
        return hr;
    }
    BOOL state = FALSE;
    hr = endpoint.volume->GetMute(&state);
    if (FAILED(hr)) {
        return hr;
    }
    if (toggle) {
        hr = endpoint.volume->SetMute(state == FALSE ? TRUE : FALSE, &kNoEventContext);
        if (FAILED(hr)) {
            return hr;
        }
        hr = endpoint.volume->GetMute(&state);
        if (FAILED(hr)) {
            return hr;
        }
    }
    muted = state;
    return hr;
}

} // namespace tavimo
