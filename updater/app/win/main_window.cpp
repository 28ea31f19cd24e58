#include "app/win/main_window.h"

#include <commctrl.h>

#include "app/caption.h"
#include "app/language_table.h"
#include "app/save_log.h"
#include "app/win/message_pump.h"
#include "app/win/profile_file.h"
#include "app/win/system_paths.h"
#include "app/win/text_convert.h"
#include "discovery/discovery_reply.h"
#include "discovery/scan_reply.h"
#include "discovery/win/adapter_exchange.h"
#include "discovery/win/exclusion_file.h"
#include "discovery/win/network_adapters.h"
#include "resources/resource_ids.h"

namespace zu {
namespace {

constexpr int kClientWidth = 664;
constexpr int kClientHeight = 336;
constexpr int kButtonPanelWidth = 140;
constexpr UINT kFirstScanDelayMs = 1000;
constexpr UINT kRescanDelayMs = 2000;
constexpr int kProgressMaximum = 100;

struct ControlId {
    MainControl control;
    int id;
};
constexpr ControlId kControlIds[] = {
    {MainControl::Scan, IDC_SCAN},
    {MainControl::DeviceList, IDC_DEVICE_LIST},
    {MainControl::AdapterSelect, IDC_ADAPTER_SELECT},
    {MainControl::UpdateUc1, IDC_UPDATE_UC1},
    {MainControl::UpdateUc2, IDC_UPDATE_UC2},
    {MainControl::UpdateUc3, IDC_UPDATE_UC3},
    {MainControl::UpdateHmi, IDC_UPDATE_HMI},
    {MainControl::Cancel, IDC_CANCEL},
};

// Page index → the controls shown on it. Page 3 ("Settings") has no tab.
struct PageControls {
    int ids[2];
};
constexpr PageControls kPages[] = {
    {{IDC_MEMO_PROGRESS, 0}},
    {{IDC_MEMO_DEVICES, 0}},
    {{IDC_MEMO_LOG, 0}},
    {{IDC_AUTO_SEARCH, IDC_ADAPTER_SELECT}},
};
constexpr const wchar_t* kTabCaptions[] = {L"Update", L"Devices", L"Log"};
constexpr int kSettingsPage = 3;

struct TranslatedCaption {
    int id;
    const wchar_t* key;
};
constexpr TranslatedCaption kTranslatedCaptions[] = {
    {IDC_SCAN, L"Scan devices"},
    {IDC_UPDATE_UC1, L"Update \u00B5C1"},
    {IDC_UPDATE_UC2, L"Update \u00B5C2"},
    {IDC_UPDATE_UC3, L"Update \u00B5C3"},
};

constexpr const wchar_t* kLanguageLabels[] = {L"EN", L"DE", L"FR"};
constexpr int kLanguageCommands[] = {IDM_LANG_ENGLISH, IDM_LANG_GERMAN, IDM_LANG_FRANCAIS};
constexpr const wchar_t kBroadcastMessageName[] = L"BMBroadCastReceiverActive";

LocalTime Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::wstring ProductVersion(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) return {};
    return FormatVersion(info->dwProductVersionMS, info->dwProductVersionLS);
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = text ? text : L"";
    LocalFree(text);
    return result;
}

MemoWrite LineMode(bool newLine) { return newLine ? MemoWrite::NewLine : MemoWrite::AppendToLastLine; }

RECT ChildRect(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TSDIAppForm::TSDIAppForm(const StartupOptions& options) : m_Options(options) {
    m_ProgramFolder = ProgramFolder();
    m_BootLoaderPath = m_ProgramFolder + L"netflash.dll";
    ReadSettingsFile();
}

bool TSDIAppForm::Create(HINSTANCE instance) {
    m_hWnd = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, DialogProc,
                                reinterpret_cast<LPARAM>(this));
    if (!m_hWnd) return false;
    SetMessagePumpDialog(m_hWnd);
    ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

std::wstring TSDIAppForm::Translate(const std::wstring& key) const {
    return zu::Translate(m_Settings.Language, key);
}

void TSDIAppForm::ReadSettingsFile() {
    m_Settings.IniPath = m_ProgramFolder + L"ZuUpdate.ini";
    PrivateProfileFile inProgramFolder(m_Settings.IniPath);
    if (!WriteLastAccess(inProgramFolder, Now())) {
        // The program folder is not writable: keep the settings per user.
        m_Settings.IniPath = TemporaryFolder() + L"TNZuUpdate.ini";
        PrivateProfileFile fallback(m_Settings.IniPath);
        WriteLastAccess(fallback, Now());
    }
    PrivateProfileFile file(m_Settings.IniPath);
    ReadSettings(file, m_Settings);
}

INT_PTR CALLBACK TSDIAppForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* form = reinterpret_cast<TSDIAppForm*>(lParam);
        form->m_hWnd = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* form = reinterpret_cast<TSDIAppForm*>(GetWindowLongPtrW(window, DWLP_USER));
    return form ? form->HandleMessage(message, wParam, lParam) : FALSE;
}

LRESULT CALLBACK TSDIAppForm::MemoSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR, DWORD_PTR data) {
    if (message == WM_CONTEXTMENU) {
        auto* form = reinterpret_cast<TSDIAppForm*>(data);
        ShowPopupAtCursor(GetSubMenu(form->m_hPopups, POPUP_LOG), form->m_hWnd, TPM_LEFTALIGN);
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

INT_PTR TSDIAppForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FormCreate();
            return TRUE;
        case WM_SHOWWINDOW:
            if (wParam && lParam == 0) FormShow();  // shown by ShowWindow, not restored
            return FALSE;
        case WM_TIMER:
            if (wParam == ZU_TIMER_SCAN) m_pScanTimerTimer();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_PAGES && header->code == TCN_SELCHANGE) {
                ShowPage(static_cast<int>(SendMessageW(Control(IDC_PAGES), TCM_GETCURSEL, 0, 0)));
            }
            return FALSE;
        }
        case WM_CONTEXTMENU:
            OnContextMenu(reinterpret_cast<HWND>(wParam));
            return TRUE;
        case WM_CLOSE:
            FormCloseQuery();
            return TRUE;
        case WM_DESTROY:
            FormDestroy();
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

void TSDIAppForm::OnCommand(int id, int code) {
    switch (id) {
        case IDC_SCAN: ScanNetwork(); break;
        case IDC_CANCEL: m_pButtonCancelClick(); break;
        case IDC_SAVE_LOG:
        case IDM_SAVE_PROTOCOL: m_SaveProtocolClick(); break;
        case IDC_LANGUAGE:
            if (code == STN_CLICKED) m_pLabelLanguageClick();
            break;
        case IDC_AUTO_SEARCH: m_pBoxAutoSearchClick(); break;
        case IDC_DEVICE_LIST:
            if (code == CBN_SELCHANGE) m_pComboBoxIPListChange();
            break;
        case IDM_LANG_ENGLISH: SelectLanguage(LanguageEnglish); break;
        case IDM_LANG_GERMAN: SelectLanguage(LanguageGerman); break;
        case IDM_LANG_FRANCAIS: SelectLanguage(LanguageFrench); break;
        default: break;  // IDCANCEL (Escape) must not close the window
    }
}

void TSDIAppForm::OnContextMenu(HWND control) {
    if (control == Control(IDC_LANGUAGE)) {
        m_pLabelLanguageClick();
    } else if (control == Control(IDC_DEVICE_LIST)) {
        ShowPopupAtCursor(GetSubMenu(m_hPopups, POPUP_DEVICES), m_hWnd, TPM_LEFTALIGN);
    }
}

void TSDIAppForm::FormCreate() {
    m_hPopups = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_POPUPS));
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ZUUPDATE));
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_hSaveIcon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SAVELOG), IMAGE_ICON, 24, 24, 0));
    SendMessageW(Control(IDC_SAVE_LOG), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_hSaveIcon));
    m_hFont = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
    }
    m_hLanguageFont = CreateFontW(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
    SendMessageW(Control(IDC_LANGUAGE), WM_SETFONT, reinterpret_cast<WPARAM>(m_hLanguageFont), FALSE);
    m_Hints.Create(m_hWnd);

    for (int memo : {IDC_MEMO_PROGRESS, IDC_MEMO_DEVICES, IDC_MEMO_LOG}) {
        PrepareMemo(Control(memo));
        SetWindowSubclass(Control(memo), MemoSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    HWND pages = Control(IDC_PAGES);
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
        SendMessageW(pages, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(Control(IDC_PROGRESS), PBM_SETRANGE32, 0, kProgressMaximum);
    SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, 0, 0);
    m_ProgressLimit = kProgressMaximum;

    // The client area has a fixed size in pixels whatever the dialog units come to.
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(m_hWnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    SetWindowTextW(m_hWnd, BuildCaption(ProductVersion(ModuleFileName()), m_Options).c_str());

    m_BroadcastMessageId = RegisterWindowMessageW(kBroadcastMessageName);
    if (m_BroadcastMessageId) PostMessageW(HWND_BROADCAST, m_BroadcastMessageId, 0, 0);
    ApplyLanguage();
    CheckDlgButton(m_hWnd, IDC_AUTO_SEARCH, m_Settings.AutoSearchDevices == 1 ? BST_CHECKED : BST_UNCHECKED);
    if (!m_BootLoaderLibrary) m_BootLoaderLibrary = LoadLibraryW(m_BootLoaderPath.c_str());
    ShowPage(0);
    ClearDeviceList();
    // The adapters the user kept out of the search in an earlier run stay out.
    m_Exclusions = LoadExclusions(ExclusionFilePath(m_ProgramFolder));
}

void TSDIAppForm::FirstShowLayout() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    // The button panel keeps to the right edge; its buttons move with it.
    HWND panel = Control(IDC_BUTTON_PANEL);
    const RECT panelRect = ChildRect(m_hWnd, panel);
    const int shift = (client.right - kButtonPanelWidth) - panelRect.left;
    for (int id : {IDC_SCAN, IDC_UPDATE_UC1, IDC_UPDATE_UC2, IDC_UPDATE_UC3, IDC_UPDATE_HMI, IDC_CANCEL,
                   IDC_SAVE_LOG, IDC_LANGUAGE}) {
        const RECT r = ChildRect(m_hWnd, Control(id));
        SetWindowPos(Control(id), nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    SetWindowPos(panel, nullptr, client.right - kButtonPanelWidth, 0, kButtonPanelWidth, client.bottom,
                 SWP_NOZORDER);

    const RECT combo = ChildRect(m_hWnd, Control(IDC_DEVICE_LIST));
    HWND pages = Control(IDC_PAGES);
    RECT pageRect = ChildRect(m_hWnd, pages);
    SetWindowPos(pages, nullptr, combo.left, pageRect.top, combo.right - combo.left,
                 pageRect.bottom - pageRect.top, SWP_NOZORDER);
    pageRect = ChildRect(m_hWnd, pages);
    const RECT bar = ChildRect(m_hWnd, Control(IDC_PROGRESS));
    SetWindowPos(Control(IDC_PROGRESS), nullptr, pageRect.left, bar.top, pageRect.right - pageRect.left, 10,
                 SWP_NOZORDER);

    RECT display = pageRect;
    SendMessageW(pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (int id : {IDC_MEMO_PROGRESS, IDC_MEMO_DEVICES, IDC_MEMO_LOG}) {
        SetWindowPos(Control(id), nullptr, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOZORDER);
    }
}

void TSDIAppForm::FormShow() {
    SetEnableButtons(false);
    if (!m_FirstShowDone) {
        m_FirstShowDone = true;
        FirstShowLayout();
        if (m_Settings.AutoSearchDevices == 1) SetTimer(m_hWnd, ZU_TIMER_SCAN, kFirstScanDelayMs, nullptr);
    }
    MemoSetText(Control(IDC_MEMO_PROGRESS), L"");
    MemoSetText(Control(IDC_MEMO_LOG), L"");
    SetForegroundWindow(m_hWnd);
}

void TSDIAppForm::m_pScanTimerTimer() {
    KillTimer(m_hWnd, ZU_TIMER_SCAN);
    if (ScanNetwork() == 0) SetTimer(m_hWnd, ZU_TIMER_SCAN, kRescanDelayMs, nullptr);
}

void TSDIAppForm::m_pBoxAutoSearchClick() {
    m_Settings.AutoSearchDevices = IsDlgButtonChecked(m_hWnd, IDC_AUTO_SEARCH) == BST_CHECKED ? 1 : 0;
}

void TSDIAppForm::FormCloseQuery() {
    if (m_Closing) return;
    if (m_Busy.RequestClose() == BusyState::CloseDecision::CancelThenClose) {
        // The running operation sees the cancel at its next step; the window
        // closes when it has ended.
        m_CancelRequest = true;
        return;
    }
    m_Closing = true;
    if (m_BroadcastMessageId) PostMessageW(HWND_BROADCAST, m_BroadcastMessageId, 0, 1);
    // Give the receivers a moment to answer while the window still exists.
    for (int i = 0; i < 30; ++i) {
        ProcessPendingMessages();
        Sleep(20);
    }
    DestroyWindow(m_hWnd);
}

void TSDIAppForm::FormDestroy() {
    KillTimer(m_hWnd, ZU_TIMER_SCAN);
    if (!m_Settings.IniPath.empty()) {
        PrivateProfileFile file(m_Settings.IniPath);
        WriteSettings(file, m_Settings, Now());
    }
    ClearDeviceList();
    if (m_hPopups) DestroyMenu(m_hPopups);
    if (m_hLanguageFont) DeleteObject(m_hLanguageFont);
    if (m_hFont) DeleteObject(m_hFont);
    if (m_hSaveIcon) DestroyIcon(m_hSaveIcon);
    SetMessagePumpDialog(nullptr);
}

void TSDIAppForm::ShowPage(int page) {
    for (int p = 0; p < 4; ++p) {
        for (int id : kPages[p].ids) {
            if (id) ShowWindow(Control(id), p == page ? SW_SHOW : SW_HIDE);
        }
    }
    SendMessageW(Control(IDC_PAGES), TCM_SETCURSEL, page == kSettingsPage ? -1 : page, 0);
}

void TSDIAppForm::ApplyControlStates(const std::vector<ControlEnable>& states) {
    for (const ControlEnable& state : states) {
        for (const ControlId& entry : kControlIds) {
            if (entry.control == state.control) EnableWindow(Control(entry.id), state.enabled);
        }
    }
}

std::size_t TSDIAppForm::DeviceCount() const {
    const LRESULT count = SendMessageW(Control(IDC_DEVICE_LIST), CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

int TSDIAppForm::SelectedDeviceType() const { return zu::SelectedDeviceType(m_DeviceList); }

void TSDIAppForm::SetEnableButtons(bool enable) {
    // During an operation the busy state owns the buttons (Cancel stays
    // live); EndOperation applies this rule again.
    if (m_Busy.Busy()) return;
    if (enable && DeviceCount() > 0 && SendMessageW(Control(IDC_DEVICE_LIST), CB_GETCURSEL, 0, 0) == CB_ERR) {
        SelectDevice(0);
    }
    ApplyControlStates(ActionButtonStates(enable, DeviceCount(), SelectedDeviceType()));
}

bool TSDIAppForm::BeginOperation() {
    if (!m_Busy.TryBegin()) return false;
    m_CancelRequest = false;
    ApplyControlStates(BusyControlStates());
    return true;
}

void TSDIAppForm::EndOperation() {
    const bool closeDue = m_Busy.End();
    ApplyControlStates(IdleControlStates());
    SetEnableButtons(true);
    if (closeDue) PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
}

std::size_t TSDIAppForm::ScanNetwork() {
    if (!BeginOperation()) return DeviceCount();
    ShowPage(1);
    SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, 0, 0);
    MemoSetText(Control(IDC_MEMO_DEVICES), L"");
    ClearDeviceList();
    ProcessPendingMessages();
    for (const NetworkAdapter& adapter : GetAdapterList()) ScanAdapter(adapter);
    if (m_DeviceList.Count() > 0) SelectDevice(0);
    EndOperation();
    return DeviceCount();
}

void TSDIAppForm::ScanAdapter(const NetworkAdapter& adapter) {
    DiscoverySocket socket;
    if (!socket.IsOpen()) return;
    const std::wstring serviceName = FromSystemCodePage(adapter.AdapterName);
    const std::wstring displayName = AdapterDisplayName(serviceName);
    if (m_Exclusions.ExcludeActive &&
        IsAdapterExcluded(m_Exclusions, std::u16string(serviceName.begin(), serviceName.end()))) {
        WriteDevices(L"Exclude from scan - " + displayName, true);
        return;
    }
    if (!displayName.empty()) WriteDevices(displayName, true);
    const std::uint32_t network = AdapterNetwork(adapter);
    if (network == 0) return;
    in_addr networkAddress{};
    networkAddress.s_addr = network;
    WriteDevices(("Querying subnet " + std::string(inet_ntoa(networkAddress)) + "...").c_str(), true);

    const std::string available = ToSystemCodePage(Translate(L"available"));
    ExchangeHandlers handlers;
    handlers.OnReadError = [this](int error) { ShowNetworkScanWarning(L"Socket error " + std::to_wstring(error)); };
    handlers.OnDatagram = [&](const ReceivedDatagram& datagram) {
        const std::size_t before = m_DeviceList.Count();
        const ScanReplyEffect effect =
            HandleScanReply(datagram.Bytes.data(), datagram.Bytes.size(), datagram.SenderAddress,
                            m_Options.DeviceTypeFilter, available, m_DeviceList);
        if (!effect.WarningMessage.empty()) ShowNetworkScanWarning(FromSystemCodePage(effect.WarningMessage));
        if (!effect.DevicesLine.empty()) WriteDevices(effect.DevicesLine.c_str(), true);
        for (std::size_t i = before; i < m_DeviceList.Count(); ++i) {
            SendMessageW(Control(IDC_DEVICE_LIST), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(FromSystemCodePage(m_DeviceList.Entry(i).Text).c_str()));
        }
    };
    // One adapter that cannot take part must not hide the devices behind
    // the others: say why and go on with the next.
    const std::string failure =
        ExchangeFailureLine(RunDiscoveryExchange(socket, adapter.Address, handlers), adapter.Address);
    if (!failure.empty()) WriteDevices(failure.c_str(), true);
}

std::uint32_t TSDIAppForm::FindAdapterForDevice(const char* deviceAddress, std::string* adapterAddress) {
    WriteProtocol(Translate(L"Searching for network adapters..."), true, true);
    std::uint32_t found = 0;
    for (const NetworkAdapter& adapter : GetAdapterList()) {
        ProcessPendingMessages();
        DiscoverySocket socket;
        if (!socket.IsOpen()) continue;
        const std::uint32_t network = AdapterNetwork(adapter);
        if (network == 0) continue;
        in_addr networkAddress{};
        networkAddress.s_addr = network;
        std::wstring subnetLine = Translate(L"Querying subnet %s...");
        const std::size_t slot = subnetLine.find(L"%s");
        if (slot != std::wstring::npos) subnetLine.replace(slot, 2, FromSystemCodePage(inet_ntoa(networkAddress)));
        WriteProtocol(subnetLine, true, true);
        ProcessPendingMessages();

        bool answered = false;
        ExchangeHandlers handlers;
        handlers.BeforeEachRead = [] { ProcessPendingMessages(); };
        handlers.OnReadError = [this](int error) { ShowNetworkScanWarning(L"Socket error " + std::to_wstring(error)); };
        handlers.OnDatagram = [&](const ReceivedDatagram& datagram) {
            const DiscoveryReply reply = ParseDiscoveryReply(datagram.Bytes.data(), datagram.Bytes.size());
            if (reply.Kind == ReplyKind::Malformed) {
                ShowNetworkScanWarning(FromSystemCodePage(MalformedReplyMessage(reply.Text, datagram.SenderAddress)));
            }
            if (IsSoughtDevice(reply, datagram.SenderAddress, deviceAddress)) answered = true;
        };
        const std::string failure =
            ExchangeFailureLine(RunDiscoveryExchange(socket, adapter.Address, handlers), adapter.Address);
        if (!failure.empty()) WriteProtocol(failure.c_str(), true, true);
        if (answered) {
            found = static_cast<std::uint32_t>(inet_addr(adapter.Address.c_str()));
            if (adapterAddress) *adapterAddress = adapter.Address;
            break;
        }
    }
    return found;
}

void TSDIAppForm::ShowNetworkScanWarning(const std::wstring& text) {
    MessageBoxW(m_hWnd, text.c_str(), L"Network scan", MB_ICONWARNING | MB_TOPMOST);
}

void TSDIAppForm::ClearDeviceList() {
    SendMessageW(Control(IDC_DEVICE_LIST), CB_RESETCONTENT, 0, 0);
    m_DeviceList.Clear();
}

void TSDIAppForm::SelectDevice(int index) {
    SendMessageW(Control(IDC_DEVICE_LIST), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    m_DeviceList.Select(index);
}

void TSDIAppForm::ApplyLanguage() {
    const int language = m_Settings.Language;
    const bool known = language >= LanguageEnglish && language <= LanguageFrench;
    SetDlgItemTextW(m_hWnd, IDC_LANGUAGE, kLanguageLabels[known ? language - 1 : 0]);
    for (const TranslatedCaption& caption : kTranslatedCaptions) {
        SetDlgItemTextW(m_hWnd, caption.id, Translate(caption.key).c_str());
    }
    std::wstring devices = Translate(L"Devices");
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = devices.data();
    SendMessageW(Control(IDC_PAGES), TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));

    const std::wstring saveLog = Translate(L"Save log");
    ModifyMenuW(m_hPopups, IDM_SAVE_PROTOCOL, MF_BYCOMMAND | MF_STRING, IDM_SAVE_PROTOCOL, saveLog.c_str());
    m_Hints.Set(Control(IDC_SAVE_LOG), saveLog);

    std::wstring languageHint = Translate(L"Click to change language");
    if (m_Settings.Language == LanguageGerman || m_Settings.Language == LanguageFrench) {
        languageHint += L"\r\nClick to change language";
    }
    m_Hints.Set(Control(IDC_LANGUAGE), languageHint);
}

void TSDIAppForm::m_pLabelLanguageClick() {
    m_pPopupLanguagePopup();
    ShowPopupAtCursor(GetSubMenu(m_hPopups, POPUP_LANGUAGE), m_hWnd, TPM_RIGHTALIGN);
}

void TSDIAppForm::m_pPopupLanguagePopup() {
    const int language = m_Settings.Language;
    const int checked = language >= LanguageEnglish && language <= LanguageFrench ? language - 1 : 0;
    CheckMenuRadioItem(GetSubMenu(m_hPopups, POPUP_LANGUAGE), IDM_LANG_ENGLISH, IDM_LANG_FRANCAIS, kLanguageCommands[checked], MF_BYCOMMAND);
}

void TSDIAppForm::SelectLanguage(LanguageId language) {
    m_Settings.Language = language;
    ApplyLanguage();
}

void TSDIAppForm::m_pButtonCancelClick() { m_CancelRequest = true; }

void TSDIAppForm::m_pComboBoxIPListChange() {
    const LRESULT selected = SendMessageW(Control(IDC_DEVICE_LIST), CB_GETCURSEL, 0, 0);
    m_DeviceList.Select(selected == CB_ERR ? -1 : static_cast<int>(selected));
    SetEnableButtons(true);
}

void TSDIAppForm::m_SaveProtocolClick() {
    const std::wstring path =
        AskSaveFileName(m_hWnd, m_ProgramFolder, L"Logfile (*.log)\0*.log\0", L"log");
    if (path.empty()) return;
    const std::string bytes = ToSystemCodePage(WindowText(Control(IDC_MEMO_LOG)));
    const SaveLogResult result = AppendLogFile(std::filesystem::path(path), bytes);
    if (result == SaveLogResult::Saved) return;
    const DWORD error = GetLastError();
    const std::wstring text = Translate(L"Save log") + L": " + path + L"\r\n" + SystemErrorText(error);
    MessageBoxW(m_hWnd, text.c_str(), Translate(L"Error").c_str(), MB_OK | MB_ICONERROR);
}

void TSDIAppForm::WriteLog(HWND memo, std::wstring* transcript, MemoWrite mode, const std::wstring& text,
                           bool toTranscript, bool newLine) {
    if (transcript) AppendToTranscript(*transcript, text, toTranscript, newLine);
    MemoWriteText(memo, mode, text);
}

void TSDIAppForm::WriteProgress(const std::wstring& text, bool toTranscript, bool newLine) {
    WriteLog(Control(IDC_MEMO_PROGRESS), &m_ProgressTranscript, LineMode(newLine), text, toTranscript, newLine);
}

void TSDIAppForm::WriteProtocol(const std::wstring& text, bool toTranscript, bool newLine) {
    WriteLog(Control(IDC_MEMO_LOG), &m_ProtocolTranscript, LineMode(newLine), text, toTranscript, newLine);
}

void TSDIAppForm::WriteDevices(const std::wstring& text, bool newLine) {
    WriteLog(Control(IDC_MEMO_DEVICES), nullptr, LineMode(newLine), text, false, newLine);
}

void TSDIAppForm::ReplaceProgressLine(const std::wstring& text, bool toTranscript) {
    WriteLog(Control(IDC_MEMO_PROGRESS), &m_ProgressTranscript, MemoWrite::ReplaceLastLine, text, toTranscript,
             true);
}

void TSDIAppForm::ReplaceProtocolLine(const std::wstring& text, bool toTranscript) {
    WriteLog(Control(IDC_MEMO_LOG), &m_ProtocolTranscript, MemoWrite::ReplaceLastLine, text, toTranscript, true);
}

void TSDIAppForm::WriteProgress(const char* text, bool toTranscript, bool newLine) {
    WriteProgress(FromSystemCodePage(text), toTranscript, newLine);
}

void TSDIAppForm::WriteProtocol(const char* text, bool toTranscript, bool newLine) {
    WriteProtocol(FromSystemCodePage(text), toTranscript, newLine);
}

void TSDIAppForm::WriteDevices(const char* text, bool newLine) { WriteDevices(FromSystemCodePage(text), newLine); }

void TSDIAppForm::BeginUploadLog(ControllerCode controller) {
    const UploadLogTitle* title = UploadLogTitleFor(controller);
    if (!title) return;
    MemoSetText(Control(IDC_MEMO_LOG), L"");
    MemoSetText(Control(IDC_MEMO_PROGRESS), L"");
    SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, 0, 0);
    m_ProgressLimit = kProgressMaximum / 2;
    ProcessPendingMessages();
    m_ProtocolTranscript = BeginUploadTranscript(*title, WindowText(m_hWnd), Now());
    m_ProgressTranscript = m_ProtocolTranscript;
    SetEnableButtons(false);
}

void TSDIAppForm::EndUploadLog() {
    if (DeviceCount() > 0) SetEnableButtons(true);
    if (m_ProtocolTranscript.empty()) return;
    CloseUploadTranscript(m_ProtocolTranscript);
    CloseUploadTranscript(m_ProgressTranscript);
    MemoSetText(Control(IDC_MEMO_LOG), m_ProtocolTranscript);
    MemoSetText(Control(IDC_MEMO_PROGRESS), m_ProgressTranscript);
}

}  // namespace zu
