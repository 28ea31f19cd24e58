// ZuUpdate.exe driven from outside through the GUI driver, as a user would.
// Runs only inside an isolated network namespace (tools/gui-driver/run-isolated):
// the program broadcasts on every network adapter.
#include <gtest/gtest.h>
#include <zlib.h>
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "gui_driver.h"
#include "resources/resource_ids.h"

namespace {

namespace fs = std::filesystem;
using guidriver::Application;

constexpr DWORD kWaitMs = 15000;
constexpr wchar_t kCaption[] = L"Brenmar Zu Update Tool";

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

fs::path TestExecutableFolder() {
    wchar_t path[MAX_PATH * 4];
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return fs::path(path).parent_path();
}

class ZuUpdateGui : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(guidriver::InIsolatedNetwork(&why)) << why;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() / (std::string("zu_gui_") + test->name());
        fs::remove_all(root_);
        programFolder_ = root_ / "program";
        tempFolder_ = root_ / "temp";
        fs::create_directories(programFolder_);
        fs::create_directories(tempFolder_);
        fs::copy_file(TestExecutableFolder() / "ZuUpdate.exe", programFolder_ / "ZuUpdate.exe");
    }
    void TearDown() override {
        app_.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // Starts the program copy and waits for its main window.
    HWND Start(const std::wstring& arguments = L"") {
        app_ = std::make_unique<Application>();
        guidriver::LaunchOptions options;
        options.program = (programFolder_ / "ZuUpdate.exe").wstring();
        options.arguments = arguments;
        options.environment = {{L"TEMP", tempFolder_.wstring()}, {L"TMP", tempFolder_.wstring()}};
        std::string error;
        EXPECT_TRUE(app_->Launch(options, &error)) << error;
        HWND window = app_->WaitForMainWindow(kCaption, kWaitMs);
        EXPECT_NE(window, nullptr);
        if (window) guidriver::Sync(window);
        return window;
    }

    void Close(HWND window) { EXPECT_EQ(app_->CloseAndWait(window, kWaitMs), 0); }

    std::wstring ControlText(HWND window, int id) { return guidriver::Text(GetDlgItem(window, id)); }

    fs::path root_, programFolder_, tempFolder_;
    std::unique_ptr<Application> app_;
};

TEST_F(ZuUpdateGui, StartsWithVersionCaptionAndOnlyScanEnabled) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(guidriver::Text(window), L"Brenmar Zu Update Tool    1.0.0.1");
    EXPECT_EQ(ControlText(window, IDC_SCAN), L"Scan devices");
    EXPECT_EQ(ControlText(window, IDC_UPDATE_UC1), L"Update \u00B5C1");
    EXPECT_EQ(ControlText(window, IDC_LANGUAGE), L"EN");
    EXPECT_TRUE(guidriver::IsEnabled(window, IDC_SCAN));
    for (int id : {IDC_UPDATE_UC1, IDC_UPDATE_UC2, IDC_UPDATE_UC3, IDC_UPDATE_HMI, IDC_CANCEL}) {
        EXPECT_FALSE(guidriver::IsEnabled(window, id)) << id;
    }
    // The Update page shows; the Settings page has no tab and stays hidden.
    EXPECT_TRUE(guidriver::IsVisible(window, IDC_MEMO_PROGRESS));
    EXPECT_FALSE(guidriver::IsVisible(window, IDC_MEMO_LOG));
    EXPECT_FALSE(guidriver::IsVisible(window, IDC_AUTO_SEARCH));
    EXPECT_EQ(SendMessageW(GetDlgItem(window, IDC_PAGES), TCM_GETITEMCOUNT, 0, 0), 3);

    // Without discovery nothing answers: the scan must list nothing.
    ASSERT_TRUE(guidriver::ClickButton(window, IDC_SCAN));
    guidriver::Sync(window);
    EXPECT_EQ(SendMessageW(GetDlgItem(window, IDC_DEVICE_LIST), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(ControlText(window, IDC_MEMO_DEVICES), L"");
    EXPECT_FALSE(guidriver::IsEnabled(window, IDC_UPDATE_HMI));
    EXPECT_TRUE(guidriver::IsEnabled(window, IDC_SCAN));

    Close(window);
    const std::string ini = FileBytes(programFolder_ / "ZuUpdate.ini");
    EXPECT_NE(ini.find("[SETTINGS]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Last access="), std::string::npos) << ini;
    EXPECT_NE(ini.find("AutoSearchDevices=1"), std::string::npos) << ini;
}

TEST_F(ZuUpdateGui, RelaxedChecksAreMarkedInTheCaption) {
    HWND window = Start(L"/notypecheck /NOCHECK /Devicetyp:5");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(guidriver::Text(window),
              L"Brenmar Zu Update Tool    1.0.0.1   >> NOTYPECHECK <<   >> NOCHECK <<");
    Close(window);
}

TEST_F(ZuUpdateGui, ChosenLanguageAppliesAndIsSavedAtExit) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    guidriver::ChooseCommand(window, IDM_LANG_GERMAN);
    EXPECT_EQ(ControlText(window, IDC_LANGUAGE), L"DE");
    EXPECT_EQ(ControlText(window, IDC_SCAN), L"Ger\u00E4te suchen");
    EXPECT_EQ(ControlText(window, IDC_UPDATE_UC2), L"Update \u00B5C2");
    EXPECT_EQ(ControlText(window, IDC_UPDATE_HMI), L"HMI upload");  // not translated
    Close(window);
    EXPECT_NE(FileBytes(programFolder_ / "ZuUpdate.ini").find("Language=Deutsch"), std::string::npos);

    window = Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, IDC_LANGUAGE), L"DE");
    guidriver::ChooseCommand(window, IDM_LANG_FRANCAIS);
    EXPECT_EQ(ControlText(window, IDC_SCAN), L"Chercher instrument");
    Close(window);

    window = Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, IDC_LANGUAGE), L"FR");
    guidriver::ChooseCommand(window, IDM_LANG_ENGLISH);
    Close(window);
    const std::string ini = FileBytes(programFolder_ / "ZuUpdate.ini");
    EXPECT_NE(ini.find("Language=\r\n"), std::string::npos) << ini;
}

TEST_F(ZuUpdateGui, SettingsFileValuesAreTakenWithinRange) {
    std::ofstream(programFolder_ / "ZuUpdate.ini", std::ios::binary)
        << "[SETTINGS]\r\nLanguage=deutsch\r\nAutoSearchDevices=0\r\n[HMI]\r\nSendBufferSize=4294967796\r\n";
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, IDC_LANGUAGE), L"DE");
    EXPECT_EQ(SendMessageW(GetDlgItem(window, IDC_AUTO_SEARCH), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Close(window);
    const std::string ini = FileBytes(programFolder_ / "ZuUpdate.ini");
    EXPECT_NE(ini.find("AutoSearchDevices=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("SendBufferSize=4294967796"), std::string::npos) << ini;  // never rewritten
}

TEST_F(ZuUpdateGui, UnwritableProgramFolderUsesTheTemporaryFolder) {
    fs::create_directory(programFolder_ / "ZuUpdate.ini");  // no file can be written there
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    guidriver::ChooseCommand(window, IDM_LANG_GERMAN);
    Close(window);
    EXPECT_TRUE(fs::is_directory(programFolder_ / "ZuUpdate.ini"));
    const std::string ini = FileBytes(tempFolder_ / "TNZuUpdate.ini");
    EXPECT_NE(ini.find("Last access="), std::string::npos) << ini;
    EXPECT_NE(ini.find("Language=Deutsch"), std::string::npos) << ini;

    window = Start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, IDC_LANGUAGE), L"DE");
    Close(window);
}

TEST_F(ZuUpdateGui, SavingTheLogTwiceAppendsItsExactText) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    const std::wstring log = L"first line\r\nsecond line \u00E7";
    guidriver::SetText(GetDlgItem(window, IDC_MEMO_LOG), log);
    const fs::path saved = tempFolder_ / "saved.log";
    for (int round = 1; round <= 2; ++round) {
        guidriver::ChooseCommand(window, IDM_SAVE_PROTOCOL);
        HWND dialog = app_->WaitForDialog(window, kWaitMs);
        ASSERT_NE(dialog, nullptr);
        guidriver::AnswerFileDialog(dialog, saved.wstring());
        for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
        guidriver::Sync(window);
        EXPECT_EQ(FileBytes(saved).size(), round * 25u) << round;
    }
    EXPECT_EQ(FileBytes(saved), "first line\r\nsecond line \xE7" "first line\r\nsecond line \xE7");
    Close(window);
}

TEST_F(ZuUpdateGui, LogThatCannotBeSavedIsReported) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    guidriver::SetText(GetDlgItem(window, IDC_MEMO_LOG), L"some log");
    // Held open without sharing: the program cannot open it to append.
    const fs::path locked = tempFolder_ / "locked.log";
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    guidriver::ClickButton(window, IDC_SAVE_LOG);
    HWND dialog = app_->WaitForDialog(window, kWaitMs);
    ASSERT_NE(dialog, nullptr);
    guidriver::AnswerFileDialog(dialog, locked.wstring());
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
    HWND box = app_->WaitForDialog(window, kWaitMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(guidriver::Text(box), L"Error");
    EXPECT_EQ(guidriver::MessageBoxText(box).rfind(L"Save log: " + locked.wstring(), 0), 0u)
        << guidriver::MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    CloseHandle(holder);
    EXPECT_EQ(fs::file_size(locked), 0u);
    Close(window);
}

// The popup menu's window of the program, once it is open.
HWND WaitForPopupMenu(DWORD processId) {
    for (int i = 0; i < 200; ++i) {
        for (HWND w = FindWindowW(L"#32768", nullptr); w; w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == processId && IsWindowVisible(w)) return w;
        }
        Sleep(25);
    }
    return nullptr;
}

void PressKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

TEST_F(ZuUpdateGui, LanguageLabelOpensTheLanguageMenuOnLeftAndRightClick) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    HWND label = GetDlgItem(window, IDC_LANGUAGE);

    // Left click, then the second item, "Deutsch".
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, STN_CLICKED), reinterpret_cast<LPARAM>(label));
    HWND menu = WaitForPopupMenu(app_->ProcessId());
    ASSERT_NE(menu, nullptr);
    PressKey(menu, VK_DOWN);
    PressKey(menu, VK_DOWN);
    PressKey(menu, VK_RETURN);
    for (int i = 0; i < 100 && guidriver::Text(label) != L"DE"; ++i) Sleep(25);
    EXPECT_EQ(guidriver::Text(label), L"DE");

    // Right click, then the third item, "Français".
    PostMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(label), MAKELPARAM(10, 10));
    menu = WaitForPopupMenu(app_->ProcessId());
    ASSERT_NE(menu, nullptr);
    PressKey(menu, VK_UP);
    PressKey(menu, VK_RETURN);
    for (int i = 0; i < 100 && guidriver::Text(label) != L"FR"; ++i) Sleep(25);
    EXPECT_EQ(guidriver::Text(label), L"FR");
    EXPECT_EQ(ControlText(window, IDC_SCAN), L"Chercher instrument");
    Close(window);
}

// A top-level window of the test that records the program's announcements.
struct BroadcastListener {
    static inline std::vector<std::pair<WPARAM, LPARAM>> received;
    static inline UINT message = 0;
    HWND window = nullptr;

    static LRESULT CALLBACK Procedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == message && message != 0) received.emplace_back(wp, lp);
        return DefWindowProcW(w, m, wp, lp);
    }
    BroadcastListener() {
        message = RegisterWindowMessageW(L"BMBroadCastReceiverActive");
        WNDCLASSW c{};
        c.lpfnWndProc = Procedure;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"ZuBroadcastListener";
        RegisterClassW(&c);
        window = CreateWindowW(L"ZuBroadcastListener", L"listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               c.hInstance, nullptr);
        received.clear();
    }
    ~BroadcastListener() { DestroyWindow(window); }
    void PumpFor(DWORD ms) {
        const ULONGLONG end = GetTickCount64() + ms;
        MSG m;
        while (GetTickCount64() < end) {
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            Sleep(20);
        }
    }
};

TEST_F(ZuUpdateGui, AnnouncesItselfAtStartAndAtClose) {
    BroadcastListener listener;
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    listener.PumpFor(500);
    ASSERT_EQ(listener.received.size(), 1u);
    EXPECT_EQ(listener.received[0], (std::pair<WPARAM, LPARAM>(0, 0)));
    PostMessageW(window, WM_CLOSE, 0, 0);
    listener.PumpFor(1500);
    ASSERT_EQ(listener.received.size(), 2u);
    EXPECT_EQ(listener.received[1], (std::pair<WPARAM, LPARAM>(0, 1)));
    Close(window);
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
    return (std::uint32_t(std::uint8_t(bytes[at])) << 24) | (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint8_t(bytes[at + 3]);
}

TEST_F(ZuUpdateGui, ScreenshotIsAValidPngShowingTheWindow) {
    HWND window = Start();
    ASSERT_NE(window, nullptr);
    Sleep(300);  // let it paint
    const fs::path file = tempFolder_ / "screen.png";
    ASSERT_TRUE(guidriver::SaveScreenshot(file.wstring()));
    const std::string png = FileBytes(file);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    EXPECT_EQ(BigEndian(png, 16), static_cast<std::uint32_t>(width));
    EXPECT_EQ(BigEndian(png, 20), static_cast<std::uint32_t>(height));

    // Walk the chunks, checking every CRC, and gather the image data.
    std::string packed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = BigEndian(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        const auto* typeAndData = reinterpret_cast<const Bytef*>(png.data() + at + 4);
        EXPECT_EQ(crc32(0, typeAndData, 4 + length), BigEndian(png, at + 8 + length));
        if (png.compare(at + 4, 4, "IDAT") == 0) packed += png.substr(at + 8, length);
        at += 12 + length;
    }
    const std::size_t stride = 1 + 3 * static_cast<std::size_t>(width);
    std::string raw(stride * height, '\0');
    uLongf rawSize = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                         reinterpret_cast<const Bytef*>(packed.data()), static_cast<uLong>(packed.size())),
              Z_OK);
    ASSERT_EQ(rawSize, raw.size());

    // The window's area holds text, controls and frames: many colours.
    RECT r;
    GetWindowRect(window, &r);
    std::set<std::uint32_t> colours;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, height); y += 2) {
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, width); x += 2) {
            const char* p = raw.data() + y * stride + 1 + 3 * x;
            colours.insert((std::uint8_t(p[0]) << 16) | (std::uint8_t(p[1]) << 8) | std::uint8_t(p[2]));
        }
    }
    EXPECT_GE(colours.size(), 3u);
    Close(window);
}

}  // namespace
