// Win32 system error codes: the one currency of success and failure in the program.
#pragma once

#include <cstdint>

using Status = std::uint32_t;

// Named after the Win32 constants they stand for; kept in their own namespace so
// that <windows.h> macros never collide with them.
namespace status {
constexpr Status Success = 0;                     // ERROR_SUCCESS
constexpr Status FileNotFound = 2;                // ERROR_FILE_NOT_FOUND
constexpr Status PathNotFound = 3;                // ERROR_PATH_NOT_FOUND
constexpr Status AccessDenied = 5;                // ERROR_ACCESS_DENIED
constexpr Status InvalidHandle = 6;               // ERROR_INVALID_HANDLE
constexpr Status NotEnoughMemory = 8;             // ERROR_NOT_ENOUGH_MEMORY
constexpr Status InvalidData = 13;                // ERROR_INVALID_DATA
constexpr Status WriteFault = 29;                 // ERROR_WRITE_FAULT
constexpr Status SharingViolation = 32;           // ERROR_SHARING_VIOLATION
constexpr Status NotSupported = 50;               // ERROR_NOT_SUPPORTED
constexpr Status BadNetPath = 53;                 // ERROR_BAD_NETPATH
constexpr Status FileExists = 80;                 // ERROR_FILE_EXISTS: a new file's name is taken
constexpr Status InvalidParameter = 87;           // ERROR_INVALID_PARAMETER
constexpr Status NetworkAccessDenied = 65;        // ERROR_NETWORK_ACCESS_DENIED
constexpr Status DiskFull = 112;                  // ERROR_DISK_FULL
constexpr Status BadFileType = 222;               // ERROR_BAD_FILE_TYPE: not a file (a folder, a device, a pipe)
constexpr Status FileTooLarge = 223;              // ERROR_FILE_TOO_LARGE
constexpr Status AlreadyExists = 183;             // ERROR_ALREADY_EXISTS
constexpr Status MoreData = 234;                  // ERROR_MORE_DATA
constexpr Status NoMoreItems = 259;               // ERROR_NO_MORE_ITEMS
constexpr Status Directory = 267;                 // ERROR_DIRECTORY: not a folder (a process's current directory)
constexpr Status ServiceRequestTimeout = 1053;    // ERROR_SERVICE_REQUEST_TIMEOUT
constexpr Status ServiceDoesNotExist = 1060;      // ERROR_SERVICE_DOES_NOT_EXIST
constexpr Status ServiceCannotAcceptCtrl = 1061;  // ERROR_SERVICE_CANNOT_ACCEPT_CTRL
constexpr Status ServiceNotActive = 1062;         // ERROR_SERVICE_NOT_ACTIVE
constexpr Status NoUnicodeTranslation = 1113;     // ERROR_NO_UNICODE_TRANSLATION: no single-byte form
constexpr Status RpcServerUnavailable = 1722;     // RPC_S_SERVER_UNAVAILABLE
constexpr Status IpReqTimedOut = 11010;           // IP_REQ_TIMED_OUT: an echo that no reply answered in time
constexpr Status IpGeneralFailure = 11050;        // IP_GENERAL_FAILURE: an echo that could not be sent
}  // namespace status
