#include "device/HidTransport.h"
#include "device/windows/WindowsHidHandle.h"

#include <windows.h>
// The HID headers need the Windows types first, and some SDKs' copies lack C linkage.
extern "C" {
#include <hidsdi.h>
// hidsdi.h brings the usage types hidpi.h needs.
#include <hidpi.h>
}
#include <setupapi.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "common/Utf.h"

namespace orv {

namespace {

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::optional<std::wstring> InterfacePath(HDEVINFO devices, SP_DEVICE_INTERFACE_DATA& interfaceData);
void Describe(HANDLE probe, HidCollectionInfo& info);
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

class WindowsHidTransport : public HidTransport {
public:
    // Every index is tried up to the limit: an index that fails to enumerate is skipped, not
    // taken as the end of the list.
    std::vector<HidCollectionInfo> Enumerate(size_t maxInterfaces) override {
        std::vector<HidCollectionInfo> collections;
        GUID hidClass;
        HidD_GetHidGuid(&hidClass);
        HDEVINFO devices = SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (devices == INVALID_HANDLE_VALUE) {
            return collections;
        }
        for (DWORD index = 0; index < maxInterfaces; ++index) {
            SP_DEVICE_INTERFACE_DATA interfaceData{};
            interfaceData.cbSize = sizeof(interfaceData);
            if (!SetupDiEnumDeviceInterfaces(devices, nullptr, &hidClass, index, &interfaceData)) {
                continue;
            }
            const std::optional<std::wstring> path = InterfacePath(devices, interfaceData);
            if (!path) {
                continue;
            }
            HidCollectionInfo info;
            info.path = Narrow(*path);
            // Access 0: attributes and capabilities can be read even from collections the
            // system keeps open exclusively (keyboards, mice).
            HANDLE probe = CreateFileW(path->c_str(), 0, kShareReadWrite, nullptr, OPEN_EXISTING, 0, nullptr);
            if (probe != INVALID_HANDLE_VALUE) {
                Describe(probe, info);
                CloseHandle(probe);
            } else {
                info.accessDenied = GetLastError() == ERROR_ACCESS_DENIED;
            }
            collections.push_back(std::move(info));
        }
        SetupDiDestroyDeviceInfoList(devices);
        return collections;
    }

    std::unique_ptr<HidHandle> Open(const HidCollectionInfo& collection, HidAccess access) override {
        const DWORD rights = access == HidAccess::Read ? GENERIC_READ : GENERIC_WRITE;
        HANDLE handle =
            CreateFileW(Wide(collection.path).c_str(), rights, kShareReadWrite, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        const uint16_t length =
            access == HidAccess::Read ? collection.caps.inputReportLength : collection.caps.featureReportLength;
        return WrapHidHandle(handle, length);
    }
};

// The detail is asked for twice: first for its size, then into a buffer of that size whose
// size field holds the fixed part's size on this platform (8 on 64-bit, 6 on 32-bit Windows).
std::optional<std::wstring> InterfacePath(HDEVINFO devices, SP_DEVICE_INTERFACE_DATA& interfaceData) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(devices, &interfaceData, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
        return std::nullopt;
    }
    std::vector<DWORD> buffer((required + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(devices, &interfaceData, detail, required, nullptr, nullptr)) {
        return std::nullopt;
    }
    return std::wstring(detail->DevicePath);
}

void Describe(HANDLE probe, HidCollectionInfo& info) {
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof(attributes);
    if (HidD_GetAttributes(probe, &attributes)) {
        info.vendorId = attributes.VendorID;
        info.productId = attributes.ProductID;
    }
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (HidD_GetPreparsedData(probe, &preparsed)) {
        HIDP_CAPS caps{};
        if (HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
            info.caps = {caps.UsagePage, caps.Usage, caps.InputReportByteLength, caps.FeatureReportByteLength};
        }
        HidD_FreePreparsedData(preparsed);
    }
}

std::wstring Wide(std::string_view utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(std::wstring_view wide) { return Utf16ToUtf8(std::u16string(wide.begin(), wide.end())); }

}  // namespace

std::unique_ptr<HidTransport> CreateSystemHidTransport() { return std::make_unique<WindowsHidTransport>(); }

}  // namespace orv
