// ZuUpdate's network scan against simulated instruments: runs in the PC
// namespace of a tools/netlab network (run-scan-e2e), with its own Wine
// session, and drives the program through its window.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "gui_driver.h"
#include "resources/resource_ids.h"

namespace {

namespace fs = std::filesystem;
using guidriver::Application;

constexpr DWORD kWaitMs = 15000;
constexpr DWORD kScanWaitMs = 60000;
constexpr wchar_t kCaption[] = L"Brenmar Zu Update Tool";
constexpr wchar_t kCardsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr wchar_t kConnectionsKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";

fs::path TestExecutableFolder() {
    wchar_t path[MAX_PATH * 4];
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return fs::path(path).parent_path();
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

struct Adapter {
    std::string address;
    std::wstring serviceName;
};

// The PC adapters in the order the system lists them, which is the order of
// the scan.
std::vector<Adapter> PcAdapters() {
    ULONG size = 0;
    GetAdaptersInfo(nullptr, &size);
    std::vector<unsigned char> buffer(size);
    std::vector<Adapter> adapters;
    auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (size == 0 || GetAdaptersInfo(first, &size) != ERROR_SUCCESS) return adapters;
    for (const IP_ADAPTER_INFO* info = first; info; info = info->Next) {
        adapters.push_back({info->IpAddressList.IpAddress.String, Widen(info->AdapterName)});
    }
    return adapters;
}

void SetRegistryText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                              nullptr),
              ERROR_SUCCESS)
        << std::string(key.begin(), key.end());
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

class ScanE2e : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(guidriver::InIsolatedNetwork(&why)) << why;
        adapters_ = PcAdapters();
        ASSERT_EQ(adapters_.size(), 2u);
        for (const Adapter& adapter : adapters_) names_[adapter.address] = adapter.serviceName;
        ASSERT_EQ(names_.count("10.77.1.1"), 1u);
        ASSERT_EQ(names_.count("10.77.2.1"), 1u);
        // The names the user would see: one card per adapter, one of them
        // with a connection name.
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kCardsKey);
        SetRegistryText(std::wstring(kCardsKey) + L"\\1", L"ServiceName", names_["10.77.1.1"]);
        SetRegistryText(std::wstring(kCardsKey) + L"\\1", L"Description", L"Lab card A");
        SetRegistryText(std::wstring(kCardsKey) + L"\\2", L"ServiceName", names_["10.77.2.1"]);
        SetRegistryText(std::wstring(kCardsKey) + L"\\2", L"Description", L"Lab card B");
        SetRegistryText(std::wstring(kConnectionsKey) + L"\\" + names_["10.77.2.1"] + L"\\Connection",
                        L"Name", L"Instruments");

        root_ = fs::temp_directory_path() / "zu_scan_e2e";
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
        fs::create_directories(root_ / "temp");
        fs::copy_file(TestExecutableFolder() / "ZuUpdate.exe", root_ / "program" / "ZuUpdate.exe");
        // The test starts each scan itself.
        std::ofstream(root_ / "program" / "ZuUpdate.ini") << "[SETTINGS]\r\nAutoSearchDevices=0\r\n";
    }
    void TearDown() override {
        app_.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    HWND Start(const std::wstring& arguments) {
        app_ = std::make_unique<Application>();
        guidriver::LaunchOptions options;
        options.program = (root_ / "program" / "ZuUpdate.exe").wstring();
        options.arguments = arguments;
        const std::wstring temp = (root_ / "temp").wstring();
        options.environment = {{L"TEMP", temp}, {L"TMP", temp}};
        std::string error;
        EXPECT_TRUE(app_->Launch(options, &error)) << error;
        HWND window = app_->WaitForMainWindow(kCaption, kWaitMs);
        if (window) guidriver::Sync(window);
        return window;
    }

    // Clicks "Scan devices" and waits until the scan has given the buttons back.
    void Scan(HWND window) {
        ASSERT_TRUE(guidriver::ClickButton(window, IDC_SCAN));
        const ULONGLONG deadline = GetTickCount64() + kScanWaitMs;
        while (!guidriver::IsEnabled(window, IDC_SCAN) && GetTickCount64() < deadline) Sleep(100);
        guidriver::Sync(window);
        ASSERT_TRUE(guidriver::IsEnabled(window, IDC_SCAN)) << "scan did not end";
        // No warning may be waiting for the user.
        EXPECT_EQ(guidriver::FindOtherDialog(window, 0), nullptr);
    }

    std::vector<std::wstring> DeviceList(HWND window) {
        HWND list = GetDlgItem(window, IDC_DEVICE_LIST);
        std::vector<std::wstring> texts;
        const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring text(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
            text.resize(text.size() - 1);
            texts.push_back(text);
        }
        return texts;
    }

    // The Devices page in adapter order, whichever order the system lists them in.
    std::wstring ExpectedDevicesPage(const std::map<std::string, std::wstring>& blocks) {
        std::wstring page;
        for (const Adapter& adapter : adapters_) {
            const auto block = blocks.find(adapter.address);
            if (block == blocks.end()) continue;
            page += (page.empty() ? L"" : L"\r\n") + block->second;
        }
        return page;
    }

    std::vector<Adapter> adapters_;
    std::map<std::string, std::wstring> names_;  // service names by adapter address
    fs::path root_;
    std::unique_ptr<Application> app_;
};

const std::map<std::string, std::wstring> kDevicesPageBlocks = {
    {"10.77.1.1",
     L"Lab card A\r\n"
     L"Querying subnet 10.77.1.0...\r\n"
     L"Brenmar Kesto Zu Air: 10.77.1.2 - SN:SN-1001\tavailable\r\n"
     L"Brenmar Tornel Zu Air (2): 10.77.1.3 - SN:SN-1002\tavailable\r\n"
     L"Brenmar Tornel Zu: 10.77.1.4 - SN:\tavailable"},
    {"10.77.2.1",
     L"Instruments - Lab card B\r\n"
     L"Querying subnet 10.77.2.0...\r\n"
     L"Brenmar Tornel Zu Air: 10.77.2.2 - SN:SN-2001\tavailable\r\n"
     L"Brenmar Tornel Zu (2): 10.77.2.3 - SN:SN-2002\tavailable\r\n"
     L"Brenmar Kesto Zu: 10.77.2.4 - SN:SN-2003\tavailable"},
};

TEST_F(ScanE2e, ListsEveryKnownInstrumentOnEveryAdapter) {
    HWND window = Start(L"");
    ASSERT_NE(window, nullptr);
    Scan(window);
    EXPECT_EQ(guidriver::Text(GetDlgItem(window, IDC_MEMO_DEVICES)), ExpectedDevicesPage(kDevicesPageBlocks));
    // Sorted, since the adapters come in the system's order.
    std::vector<std::wstring> listed = DeviceList(window);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::wstring>{
                          L"KestoZu - URL: 10.77.2.4 SN: SN-2003",
                          L"KestoZuAir - URL: 10.77.1.2 SN: SN-1001",
                          L"TNZu (3) - URL: 10.77.2.3 SN: SN-2002",
                          L"TNZu - URL: 10.77.1.4 SN: ",
                          L"TNZuAir (2) - URL: 10.77.1.3 SN: SN-1002",
                          L"TNZuAir - URL: 10.77.2.2 SN: SN-2001",
                      }));
    // The first entry is selected, so the actions for it are offered.
    EXPECT_EQ(SendMessageW(GetDlgItem(window, IDC_DEVICE_LIST), CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(guidriver::IsEnabled(window, IDC_UPDATE_HMI));
    EXPECT_EQ(app_->CloseAndWait(window, kWaitMs), 0);
}

TEST_F(ScanE2e, TypeFilterKeepsOtherKestoDevicesOffTheList) {
    HWND window = Start(L"/Devicetyp:6");
    ASSERT_NE(window, nullptr);
    Scan(window);
    EXPECT_EQ(guidriver::Text(GetDlgItem(window, IDC_MEMO_DEVICES)), ExpectedDevicesPage(kDevicesPageBlocks));
    std::vector<std::wstring> listed = DeviceList(window);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), L"KestoZu - URL: 10.77.2.4 SN: SN-2003"), 0);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), L"KestoZuAir - URL: 10.77.1.2 SN: SN-1001"), 1);
    EXPECT_EQ(listed.size(), 5u);
    EXPECT_EQ(app_->CloseAndWait(window, kWaitMs), 0);
}

TEST_F(ScanE2e, AdapterThatCannotBeBoundIsNamedAndTheScanGoesOn) {
    // Holding the discovery port on the first adapter makes ZuUpdate's bind
    // there fail, as another discovery tool on the PC would.
    WSADATA winsock;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &winsock), 0);
    SOCKET holder = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(2000);
    local.sin_addr.s_addr = inet_addr("10.77.1.1");
    ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&local), sizeof local), 0) << WSAGetLastError();

    HWND window = Start(L"");
    ASSERT_NE(window, nullptr);
    Scan(window);
    std::map<std::string, std::wstring> blocks = kDevicesPageBlocks;
    blocks["10.77.1.1"] =
        L"Lab card A\r\n"
        L"Querying subnet 10.77.1.0...\r\n"
        L"Cannot use adapter 10.77.1.1 (bind): socket error 10048";
    EXPECT_EQ(guidriver::Text(GetDlgItem(window, IDC_MEMO_DEVICES)), ExpectedDevicesPage(blocks));
    std::vector<std::wstring> listed = DeviceList(window);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::wstring>{
                          L"KestoZu - URL: 10.77.2.4 SN: SN-2003",
                          L"TNZu (3) - URL: 10.77.2.3 SN: SN-2002",
                          L"TNZuAir - URL: 10.77.2.2 SN: SN-2001",
                      }));
    EXPECT_EQ(app_->CloseAndWait(window, kWaitMs), 0);
    closesocket(holder);
    WSACleanup();
}

TEST_F(ScanE2e, ExclusionFileNextToTheProgramKeepsAnAdapterOutFromTheStart) {
    // Written by an earlier run: the first adapter's name in upper case
    // (names match without regard to case), exclusion switched on.
    std::string file(6600, '\0');
    std::wstring name = names_["10.77.1.1"];
    for (wchar_t& c : name) c = static_cast<wchar_t>(towupper(c));
    for (std::size_t i = 0; i < name.size(); ++i) file[2 * i] = static_cast<char>(name[i]);
    file[6000] = '1';
    fs::create_directories(root_ / "program" / "DRIVERS");
    std::ofstream(root_ / "program" / "DRIVERS" / "Adapters.use", std::ios::binary) << file;

    HWND window = Start(L"");
    ASSERT_NE(window, nullptr);
    Scan(window);
    std::map<std::string, std::wstring> blocks = kDevicesPageBlocks;
    blocks["10.77.1.1"] = L"Exclude from scan - Lab card A";
    EXPECT_EQ(guidriver::Text(GetDlgItem(window, IDC_MEMO_DEVICES)), ExpectedDevicesPage(blocks));
    EXPECT_EQ(DeviceList(window).size(), 3u);
    EXPECT_EQ(app_->CloseAndWait(window, kWaitMs), 0);
}

}  // namespace
