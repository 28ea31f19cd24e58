// Identifiers of the main window's resources, controls and menu commands.
// The GUI test driver finds controls by these numbers too.
#ifndef ZU_RESOURCE_IDS_H
#define ZU_RESOURCE_IDS_H

#define IDI_ZUUPDATE 1
#define IDI_SAVELOG 2

#define IDD_MAIN 100
#define IDM_POPUPS 101

#define IDC_DEVICE_LIST 1001
#define IDC_PAGES 1002
#define IDC_MEMO_PROGRESS 1003
#define IDC_MEMO_DEVICES 1004
#define IDC_MEMO_LOG 1005
#define IDC_PROGRESS 1006
#define IDC_BUTTON_PANEL 1007
#define IDC_SCAN 1008
#define IDC_UPDATE_UC1 1009
#define IDC_UPDATE_UC2 1010
#define IDC_UPDATE_UC3 1011
#define IDC_UPDATE_HMI 1012
#define IDC_CANCEL 1013
#define IDC_SAVE_LOG 1014
#define IDC_LANGUAGE 1015
#define IDC_AUTO_SEARCH 1016
#define IDC_ADAPTER_SELECT 1017

// Popup menus: sub-menus of IDM_POPUPS, by position.
#define POPUP_LOG 0
#define POPUP_LANGUAGE 1
#define POPUP_DEVICES 2

#define IDM_SAVE_PROTOCOL 2001
#define IDM_LANG_ENGLISH 2002
#define IDM_LANG_GERMAN 2003
#define IDM_LANG_FRANCAIS 2004
#define IDM_ADAPTER_SELECT 2005

#define ZU_TIMER_SCAN 1

#endif
