// Registry locations the wizard reads on every server, relative to HKEY_LOCAL_MACHINE.
#pragma once

inline constexpr wchar_t kProductKey[] = L"Software\\Zandor\\Vestamail\\ConfigWizard";
inline constexpr wchar_t kHighAvailModeValue[] = L"HighAvailMode";
inline constexpr wchar_t kSwitchIpAddressValue[] = L"Switch IP Address";
inline constexpr wchar_t kNetworkClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
inline constexpr wchar_t kInterfacesKey[] = L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
