// TSDIAppForm: the update tool's only window, built from the IDD_MAIN layout.
#pragma once

#include <windows.h>

#include <string>

#include "app/app_settings.h"
#include "app/control_states.h"
#include "app/log_text.h"
#include "app/startup_options.h"
#include "app/upload_log.h"
#include "app/win/window_layer.h"
#include "discovery/device_list.h"
#include "discovery/exclusion_table.h"

namespace zu {

struct NetworkAdapter;

class TSDIAppForm {
public:
    explicit TSDIAppForm(const StartupOptions& options);
    TSDIAppForm(const TSDIAppForm&) = delete;
    TSDIAppForm& operator=(const TSDIAppForm&) = delete;

    // Creates and shows the window; false when it could not be created.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return m_hWnd; }

    // Read access for the operations of the other subsystems.
    const AppSettings& Settings() const { return m_Settings; }
    const StartupOptions& Options() const { return m_Options; }
    const std::wstring& ProgramFolderPath() const { return m_ProgramFolder; }
    HMODULE BootLoaderLibrary() const { return m_BootLoaderLibrary; }
    std::wstring Translate(const std::wstring& key) const;

    // Log writers. Text comes as UTF-16 or as 8-bit text in the system code page.
    void WriteProgress(const std::wstring& text, bool toTranscript, bool newLine);
    void WriteProtocol(const std::wstring& text, bool toTranscript, bool newLine);
    void WriteDevices(const std::wstring& text, bool newLine);
    void ReplaceProgressLine(const std::wstring& text, bool toTranscript);
    void ReplaceProtocolLine(const std::wstring& text, bool toTranscript);
    void WriteProgress(const char* text, bool toTranscript, bool newLine);
    void WriteProtocol(const char* text, bool toTranscript, bool newLine);
    void WriteDevices(const char* text, bool newLine);

    void BeginUploadLog(ControllerCode controller);
    void EndUploadLog();
    void SetEnableButtons(bool enable);
    void ApplyLanguage();

    // One long operation at a time: false when another one runs. Every
    // successful BeginOperation is paired with EndOperation.
    bool BeginOperation();
    void EndOperation();
    bool CancelRequest() const { return m_CancelRequest; }
    void ClearCancelRequest() { m_CancelRequest = false; }

    // Lists the devices that answer; returns their number.
    std::size_t ScanNetwork();
    void ClearDeviceList();
    // The IPv4 address (network byte order) of the first adapter through
    // which the device answers, 0 when none does; any known device when the
    // address is null. The dotted form goes to adapterAddress.
    std::uint32_t FindAdapterForDevice(const char* deviceAddress, std::string* adapterAddress);
    const DeviceList& Devices() const { return m_DeviceList; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MemoSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    void OnContextMenu(HWND control);

    void ReadSettingsFile();
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void FormDestroy();
    void m_pScanTimerTimer();
    void m_pBoxAutoSearchClick();
    void m_pButtonCancelClick();
    void m_SaveProtocolClick();
    void m_pComboBoxIPListChange();
    void m_pLabelLanguageClick();
    void m_pPopupLanguagePopup();
    void SelectLanguage(LanguageId language);

    void FirstShowLayout();
    void ShowPage(int page);
    void ScanAdapter(const NetworkAdapter& adapter);
    void SelectDevice(int index);
    void ShowNetworkScanWarning(const std::wstring& text);
    void ApplyControlStates(const std::vector<ControlEnable>& states);
    HWND Control(int id) const { return GetDlgItem(m_hWnd, id); }
    int SelectedDeviceType() const;
    std::size_t DeviceCount() const;
    void WriteLog(HWND memo, std::wstring* transcript, MemoWrite mode, const std::wstring& text,
                  bool toTranscript, bool newLine);

    StartupOptions m_Options;
    AppSettings m_Settings;
    HWND m_hWnd = nullptr;
    HMENU m_hPopups = nullptr;
    HFONT m_hFont = nullptr;
    HFONT m_hLanguageFont = nullptr;
    HICON m_hIcon = nullptr;
    HICON m_hSaveIcon = nullptr;
    Hints m_Hints;
    std::wstring m_ProgramFolder;
    std::wstring m_BootLoaderPath;
    HMODULE m_BootLoaderLibrary = nullptr;
    UINT m_BroadcastMessageId = 0;
    std::wstring m_ProtocolTranscript;
    std::wstring m_ProgressTranscript;
    bool m_CancelRequest = false;
    bool m_FirstShowDone = false;
    bool m_Closing = false;
    BusyState m_Busy;
    int m_ProgressLimit = 0;
    DeviceList m_DeviceList;  // one entry per item of the device combo box
    ExclusionTable m_Exclusions;
};

}  // namespace zu
