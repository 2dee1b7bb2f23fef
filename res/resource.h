//{{NO_DEPENDENCIES}}
// Resource ids shared by the resource script and the program's code; the
// Windows resource compiler and the C++ compiler both read this file.
#ifndef VK37SET_RESOURCE_H
#define VK37SET_RESOURCE_H

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDS_DEVICE_GONE 103
#define IDS_DEVICE_NOT_OPENED 104
#define IDI_APP_ICON 129
// Texts the save shows, which capture/ reads by number (capture/saveparameters.h,
// capture/capturedevice.h).
#define IDS_SAVED 150
#define IDS_WRITE_FAILED 151
#define IDS_UNKNOWN_DEVICE 152
// Texts the Linux dialog framework shows itself where Windows shows its own
// (platform/linux/resources.h).
#define IDS_FRAMEWORK_CLOSE 153
#define IDS_FRAMEWORK_OK 154
#define IDC_DEVICE_COMBO 1001
#define IDC_SAVE_BUTTON 1002

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE 130
#define _APS_NEXT_COMMAND_VALUE 32771
#define _APS_NEXT_CONTROL_VALUE 1003
#define _APS_NEXT_SYMED_VALUE 101
#endif
#endif

#endif // VK37SET_RESOURCE_H
