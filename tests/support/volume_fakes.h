#pragma once
// Stand-ins for the sound hardware: a mixer behind the mixer seam and a Core Audio endpoint behind the
// enumerator seam, with every message box recorded. Each fake checks how it is called and fails the
// running test when a call is malformed.

#include "ask_recorder.h"
#include "platform/busy.h"
#include "seam.h"
#include "volume/endpoint.h"
#include "volume/mixer.h"

#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace tavimo::fakes {

// --- mixer ------------------------------------------------------------------------------------------

struct FakeControl {
    DWORD id;
    DWORD type;
    LONG maximum;
    DWORD value;
};
struct FakeLine {
    DWORD component;
    DWORD lineId;
    std::vector<FakeControl> controls;
};
struct MixerWrite {
    DWORD controlId;
    DWORD value;
    bool operator==(const MixerWrite&) const = default;
};

// A mixer as Wine's looks with a null sink: speakers with a volume (id 0) and a mute (id 1), a wave
// line whose volume has control id 2; no MIDI and no CD line.
struct FakeMixer {
    MMRESULT openResult = MMSYSERR_NOERROR;
    std::vector<DWORD> unreadable; // control ids whose value query fails
    std::vector<DWORD> unwritable; // control ids whose change the driver refuses
    std::vector<FakeLine> lines = {
        {kMixerSpeakers,
         0xFFFF0000,
         {{0, MIXERCONTROL_CONTROLTYPE_VOLUME, 65535, 65535}, {1, MIXERCONTROL_CONTROLTYPE_MUTE, 1, 0}}},
        {kMixerWaveOut, 0, {{2, MIXERCONTROL_CONTROLTYPE_VOLUME, 65535, 65535}}},
    };
    int opens = 0;
    int closes = 0;
    std::vector<MixerWrite> writes;

    FakeControl* Control(DWORD id) {
        for (FakeLine& line : lines) {
            for (FakeControl& c : line.controls) {
                if (c.id == id)
                    return &c;
            }
        }
        return nullptr;
    }
    DWORD& Value(DWORD id) { return Control(id)->value; }
};
inline FakeMixer* g_mixer = nullptr;

inline const HMIXER kFakeHandle = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(0xC00A));

// The open handle, named as a handle, as the mixer functions document it.
inline bool CheckObject(HMIXEROBJ object, DWORD flags, DWORD query) {
    EXPECT_EQ(reinterpret_cast<HMIXER>(object), kFakeHandle);
    EXPECT_EQ(flags, MIXER_OBJECTF_HMIXER | query);
    return reinterpret_cast<HMIXER>(object) == kFakeHandle && flags == (MIXER_OBJECTF_HMIXER | query);
}

inline bool CheckDetails(const MIXERCONTROLDETAILS* d) {
    EXPECT_EQ(d->cbStruct, sizeof(MIXERCONTROLDETAILS));
    EXPECT_EQ(d->cChannels, 1u);
    EXPECT_EQ(d->cMultipleItems, 0u);
    EXPECT_EQ(d->cbDetails, 4u);
    return d->cbStruct == sizeof(MIXERCONTROLDETAILS) && d->cbDetails == 4 && d->paDetails;
}

inline MMRESULT WINAPI FakeOpen(LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                                DWORD flags) {
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(callback, 0u);
    EXPECT_EQ(instance, 0u);
    EXPECT_EQ(flags, 0u);
    if (g_mixer->openResult != MMSYSERR_NOERROR) {
        return g_mixer->openResult;
    }
    ++g_mixer->opens;
    *mixer = kFakeHandle;
    return MMSYSERR_NOERROR;
}

inline MMRESULT WINAPI FakeClose(HMIXER mixer) {
    EXPECT_EQ(mixer, kFakeHandle);
    ++g_mixer->closes;
    return MMSYSERR_NOERROR;
}

inline MMRESULT WINAPI FakeGetLineInfo(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags) {
    if (!CheckObject(object, flags, MIXER_GETLINEINFOF_COMPONENTTYPE))
        return MMSYSERR_INVALFLAG;
    EXPECT_EQ(line->cbStruct, sizeof(MIXERLINEA));
    for (const FakeLine& l : g_mixer->lines) {
        if (l.component == line->dwComponentType) {
            line->dwLineID = l.lineId;
            return MMSYSERR_NOERROR;
        }
    }
    return MIXERR_INVALLINE;
}

inline MMRESULT WINAPI FakeGetLineControls(HMIXEROBJ object, LPMIXERLINECONTROLSA controls, DWORD flags) {
    if (!CheckObject(object, flags, MIXER_GETLINECONTROLSF_ONEBYTYPE))
        return MMSYSERR_INVALFLAG;
    EXPECT_EQ(controls->cbStruct, sizeof(MIXERLINECONTROLSA));
    EXPECT_EQ(controls->cControls, 1u);
    EXPECT_EQ(controls->cbmxctrl, sizeof(MIXERCONTROLA));
    for (const FakeLine& l : g_mixer->lines) {
        if (l.lineId != controls->dwLineID)
            continue;
        for (const FakeControl& c : l.controls) {
            if (c.type == controls->dwControlType) {
                MIXERCONTROLA out{};
                out.cbStruct = sizeof(out);
                out.dwControlID = c.id;
                out.dwControlType = c.type;
                out.Bounds.lMinimum = 0;
                out.Bounds.lMaximum = c.maximum;
                *controls->pamxctrl = out;
                return MMSYSERR_NOERROR;
            }
        }
        return MIXERR_INVALCONTROL;
    }
    return MIXERR_INVALLINE;
}

inline MMRESULT WINAPI FakeGetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags) {
    if (!CheckObject(object, flags, MIXER_GETCONTROLDETAILSF_VALUE) || !CheckDetails(details)) {
        return MMSYSERR_INVALPARAM;
    }
    FakeControl* c = g_mixer->Control(details->dwControlID);
    const auto& bad = g_mixer->unreadable;
    if (!c || std::find(bad.begin(), bad.end(), details->dwControlID) != bad.end()) {
        *static_cast<DWORD*>(details->paDetails) = 0x7; // a failing driver may leave anything there
        return MMSYSERR_ERROR;
    }
    *static_cast<DWORD*>(details->paDetails) = c->value;
    return MMSYSERR_NOERROR;
}

inline MMRESULT WINAPI FakeSetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags) {
    if (!CheckObject(object, flags, MIXER_SETCONTROLDETAILSF_VALUE) || !CheckDetails(details)) {
        return MMSYSERR_INVALPARAM;
    }
    const DWORD value = *static_cast<const DWORD*>(details->paDetails);
    g_mixer->writes.push_back({details->dwControlID, value});
    const auto& refused = g_mixer->unwritable;
    if (std::find(refused.begin(), refused.end(), details->dwControlID) != refused.end()) {
        return MMSYSERR_ERROR;
    }
    if (FakeControl* c = g_mixer->Control(details->dwControlID)) {
        c->value = value;
        return MMSYSERR_NOERROR;
    }
    return MIXERR_INVALCONTROL;
}

// --- Core Audio endpoint ----------------------------------------------------------------------------

enum class Step { None, Create, GetDefault, Activate, GetScalar, SetScalar, GetMute, SetMute };

struct FakeEndpoint {
    float scalar = 1.0f;
    BOOL muted = FALSE;
    Step failAt = Step::None;
    HRESULT failure = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    std::vector<std::string> calls; // in order: "Create", "GetDefault", ..., "SetScalar 0.5", "SetMute 1"
    int live = 0;                   // objects handed out and not yet released

    CLSID createdClass{};
    IID createdInterface{};
    int flow = -1;
    int role = -1;
    IID activatedInterface{};
    DWORD activateContext = 0;
    bool activationParams = false;
    bool contextsEmpty = true; // every change carried a pointer to the all-zero GUID

    // Logs the call; the injected failure when this is the step that fails.
    HRESULT Enter(Step step, std::string call) {
        calls.push_back(std::move(call));
        return failAt == step ? failure : S_OK;
    }
    void NoteContext(LPCGUID context) {
        static const GUID zero{};
        contextsEmpty = contextsEmpty && context && *context == zero;
    }
};
inline FakeEndpoint* g_endpoint = nullptr;

template <typename Interface> class FakeObject : public Interface {
  public:
    FakeObject() { ++g_endpoint->live; }
    virtual ~FakeObject() { --g_endpoint->live; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

  private:
    ULONG refs_ = 1;
};

class FakeVolume : public FakeObject<IAudioEndpointVolume> {
  public:
    HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetChannelCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(FLOAT level, LPCGUID context) override {
        const HRESULT hr = g_endpoint->Enter(Step::SetScalar, "SetScalar " + Number(level));
        g_endpoint->NoteContext(context);
        if (SUCCEEDED(hr))
            g_endpoint->scalar = level;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(FLOAT* level) override {
        const HRESULT hr = g_endpoint->Enter(Step::GetScalar, "GetScalar");
        if (SUCCEEDED(hr))
            *level = g_endpoint->scalar;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMute(BOOL mute, LPCGUID context) override {
        const HRESULT hr = g_endpoint->Enter(Step::SetMute, "SetMute " + std::to_string(mute));
        g_endpoint->NoteContext(context);
        if (SUCCEEDED(hr))
            g_endpoint->muted = mute;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetMute(BOOL* mute) override {
        const HRESULT hr = g_endpoint->Enter(Step::GetMute, "GetMute");
        if (SUCCEEDED(hr))
            *mute = g_endpoint->muted;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT*, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVolumeRange(FLOAT*, FLOAT*, FLOAT*) override { return E_NOTIMPL; }

    static std::string Number(float f) {
        char text[32];
        snprintf(text, sizeof(text), "%g", static_cast<double>(f));
        return text;
    }
};

class FakeDevice : public FakeObject<IMMDevice> {
  public:
    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD context, PROPVARIANT* params, void** out) override {
        g_endpoint->activatedInterface = iid;
        g_endpoint->activateContext = context;
        g_endpoint->activationParams = params != nullptr;
        const HRESULT hr = g_endpoint->Enter(Step::Activate, "Activate");
        *out = SUCCEEDED(hr) ? static_cast<IAudioEndpointVolume*>(new FakeVolume) : nullptr;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD*) override { return E_NOTIMPL; }
};

class FakeEnumerator : public FakeObject<IMMDeviceEnumerator> {
  public:
    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole role, IMMDevice** out) override {
        g_endpoint->flow = flow;
        g_endpoint->role = role;
        const HRESULT hr = g_endpoint->Enter(Step::GetDefault, "GetDefault");
        *out = SUCCEEDED(hr) ? new FakeDevice : nullptr;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient*) override {
        return E_NOTIMPL;
    }
};

inline HRESULT STDAPICALLTYPE FakeCreate(REFCLSID clsid, LPUNKNOWN outer, DWORD, REFIID iid, LPVOID* out) {
    EXPECT_EQ(outer, nullptr);
    g_endpoint->createdClass = clsid;
    g_endpoint->createdInterface = iid;
    const HRESULT hr = g_endpoint->Enter(Step::Create, "Create");
    *out = SUCCEEDED(hr) ? static_cast<IMMDeviceEnumerator*>(new FakeEnumerator) : nullptr;
    return hr;
}

// --- fixture ----------------------------------------------------------------------------------------

// Puts all three fakes in and takes them out again; every mixer opened must have been closed and
// every endpoint object released by the end of each test.
class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_mixer = &mixer;
        g_endpoint = &endpoint;
        SetBusy(false);
    }
    void TearDown() override {
        EXPECT_EQ(mixer.opens, mixer.closes) << "a mixer was left open";
        EXPECT_EQ(endpoint.live, 0) << "an endpoint object was not released";
        g_mixer = nullptr;
        g_endpoint = nullptr;
        SetBusy(false);
    }

    FakeMixer mixer;
    FakeEndpoint endpoint;
    // Every box is recorded and answered OK.
    test_support::AskRecorder asks{IDOK};

  private:
    test_support::ScopedOverride<MixerApi> mixerSeam_{g_mixerApi,
                                                      {&FakeOpen, &FakeClose, &FakeGetLineInfo,
                                                       &FakeGetLineControls, &FakeGetControlDetails,
                                                       &FakeSetControlDetails}};
    test_support::ScopedOverride<CreateEnumeratorFunction> endpointSeam_{g_createDeviceEnumerator,
                                                                         &FakeCreate};
};

} // namespace tavimo::fakes
