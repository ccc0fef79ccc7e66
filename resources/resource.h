// Resource and control ids of the wizard, shared by the resource script, the window's logic and both bindings.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDR_MAINFRAME 128
#define IDD_DUPLEXSETUPASSISTANT_DIALOG 102

#define IDM_ABOUTBOX 0x0010

#define IDC_NODE2_HOST_NAME 1000
#define IDC_MANAGED_HOST_NAME 1001
#define IDC_USER_NAME 1002
#define IDC_STEP1 1003
#define IDC_NODE1_HOST_NAME 1004
#define IDC_WORKGROUP_DOMAIN_NAME 1005
#define IDC_AUTOSTART_DOMAIN 1006
#define IDC_MANAGED_ELAN_IP 1007
#define IDC_MANAGED_CLAN_IP 1009
#define IDC_CLAN_TEST_IP 1010
#define IDC_STEP2 1024
#define IDC_STEP3 1025
#define IDC_NODE_INFO_LIST 1026
#define IDC_BOARD_COUNT 1029
#define IDC_RESET 1033

#define IDC_STATIC_LABEL (-1)

#define IDOK_EXIT 1
#define IDCANCEL_HIDDEN 2
