#pragma once
// The nine calls of nUsbDevice.dll, shared by the real library and the scripted stand-in.
// __stdcall, exported undecorated through nUsbDevice.def; plain C types only, nothing thrown across.

#include <windows.h>
#include <commctrl.h>

extern "C" {

int __stdcall NUsbGetDeviceData(int reserved);
HIMAGELIST __stdcall NUsbGetImageListHandle();
int __stdcall NUsbCheckRemovableNo(int number);
int __stdcall NUsbGetDriveLetterA(int number, char* buffer, int length);
int __stdcall NUsbGetDescriptionA(int number, char* buffer, int length);
int __stdcall NUsbGetFriendlyNameA(int number, char* buffer, int length);
int __stdcall NUsbGetDeviceHandle(int number);
int __stdcall NUsbGetImageListIndex(int number);
void __stdcall NUsbReleaseDeviceData();

} // extern "C"
