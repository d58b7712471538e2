#include "devices/shell_menu.h"

#include "devices/device_list.h"
#include "devices/devices_texts.h"
#include "platform/com_apartment.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

#include <oleauto.h>
// CLSID_Shell is defined here, not taken from the uuid library.
#include <initguid.h>
#include <shldisp.h>
#include <wrl/client.h>

#include <vector>

using Microsoft::WRL::ComPtr;

namespace tavimo {

namespace {

UINT TrackPopupAtCursor(HMENU popup, HWND owner, POINT at) {
    return static_cast<UINT>(::TrackPopupMenu(popup, TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
}

class Variant {
  public:
    Variant() noexcept { ::VariantInit(&value_); }
    ~Variant() { ::VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant Text(const std::wstring& text) {
        Variant v;
        V_VT(&v.value_) = VT_BSTR;
        V_BSTR(&v.value_) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return v;
    }
    static Variant Int(long number) {
        Variant v;
        V_VT(&v.value_) = VT_I4;
        V_I4(&v.value_) = number;
        return v;
    }
    // An optional argument left out, as a script leaves it out.
    static Variant Missing() {
        Variant v;
        V_VT(&v.value_) = VT_ERROR;
        V_ERROR(&v.value_) = DISP_E_PARAMNOTFOUND;
        return v;
    }
    Variant(Variant&& other) noexcept : value_(other.value_) { ::VariantInit(&other.value_); }

    const VARIANT& get() const { return value_; }

  private:
    VARIANT value_;
};

inline void FreeBstr(BSTR text) noexcept {
    ::SysFreeString(text);
}
using unique_bstr = unique_any<BSTR, FreeBstr>;

// "名前の変更(&M)" gives "名前の変更". The shell's access key differs between systems (Wine labels its
// rename "名前の変更(&R)"), and the verb is the shell's own whatever its key.
std::wstring_view WithoutAccessKey(std::wstring_view label) {
    const size_t n = label.size();
    if (n >= 4 && label[n - 4] == L'(' && label[n - 3] == L'&' && label[n - 1] == L')') {
        label.remove_suffix(4);
    }
    return label;
}

std::wstring VerbName(FolderItemVerbs* verbs, long index) {
    ComPtr<FolderItemVerb> verb;
    unique_bstr name;
    if (FAILED(verbs->Item(Variant::Int(index).get(), &verb)) || !verb ||
        FAILED(verb->get_Name(name.put())) || !name) {
        return {};
    }
    return std::wstring(name.get(), ::SysStringLen(name.get()));
}

} // namespace

TrackPopupFunction g_trackPopup = &TrackPopupAtCursor;

ShellMenuItem ShellVerbMenuItem(std::wstring_view verbName) {
    const std::wstring_view label = WithoutAccessKey(verbName);
    if (label.empty() || label == WithoutAccessKey(devices_texts::kShellEjectVerb) ||
        label == WithoutAccessKey(devices_texts::kShellRenameVerb)) {
        return {L"-", MF_SEPARATOR};
    }
    return {std::wstring(verbName), MF_BYPOSITION};
}

void sAddMenuItem(HMENU popup, const std::wstring& text, UINT flags) {
    const int count = ::GetMenuItemCount(popup);
    const UINT position = static_cast<UINT>(count < 0 ? 0 : count);
    // Always by position: a separator's flags say nothing about how to read the position.
    ::InsertMenuW(popup, position, flags | MF_BYPOSITION, position + 1, text.c_str());
}

std::wstring DeviceRowDrivePath(std::wstring_view rowText) {
    const size_t close = rowText.rfind(L')');
    if (close == std::wstring_view::npos || close < 2) {
        return {};
    }
    return std::wstring(rowText.substr(close - 2, 2)) + L'\\';
}

std::wstring CdRowDrivePath(HWND cdList, int row) {
    const std::wstring path = CdRowPath(cdList, row);
    return path.empty() ? path : path + L'\\';
}

void sShellMenu(HWND owner, HMENU popup, const std::wstring& path) {
    for (int i = ::GetMenuItemCount(popup) - 1; i >= 0; --i) {
        ::DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    }
    if (path.empty()) {
        return;
    }

    ComApartment apartment;
    ComPtr<IShellDispatch> shell;
    if (FAILED(::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shell)))) {
        return;
    }
    ComPtr<Folder> folder;
    if (FAILED(shell->NameSpace(Variant::Text(ToLower(path)).get(), &folder)) || !folder) {
        return;
    }
    ComPtr<Folder2> folder2;
    ComPtr<FolderItem> self;
    if (FAILED(folder.As(&folder2)) || FAILED(folder2->get_Self(&self)) || !self) {
        return;
    }
    ComPtr<FolderItemVerbs> verbs;
    long count = 0;
    if (FAILED(self->Verbs(&verbs)) || !verbs || FAILED(verbs->get_Count(&count))) {
        return;
    }

    std::vector<std::wstring> names;
    for (long i = 0; i < count; ++i) {
        names.push_back(VerbName(verbs.Get(), i));
        const ShellMenuItem item = ShellVerbMenuItem(names.back());
        sAddMenuItem(popup, item.text, item.flags);
    }

    POINT cursor{};
    ::GetCursorPos(&cursor);
    const UINT chosen = g_trackPopup(popup, owner, cursor);
    if (chosen == 0 || chosen > names.size()) {
        return;
    }
    ComPtr<FolderItems> items;
    ComPtr<FolderItem> target;
    if (FAILED(folder->Items(&items)) || !items || FAILED(items->Item(Variant::Missing().get(), &target)) ||
        !target) {
        return;
    }
    target->InvokeVerb(Variant::Text(names[chosen - 1]).get());
}

} // namespace tavimo
