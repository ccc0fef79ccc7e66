// The fixed places of the files the wizard reads and writes on the server.
#pragma once

inline constexpr wchar_t kDefaultsFilePath[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";
inline constexpr wchar_t kToolkitDirectory[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0";
inline constexpr wchar_t kPerlInputFilePath[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat";
inline constexpr wchar_t kAutoStartIniPath[] = L"E:\\Zandor\\HA\\AutoStart_Configuration.ini";
inline constexpr wchar_t kAutoStartInstallDirectory[] = L"D:\\Program Files\\EMC AutoStart";
