#include "common/ansi_names.h"

#include <cstring>

namespace {

// Room for every name converted here: the chooser's 384 characters, a
// module path, a shell folder.
enum { kWideNameSize = 1024 };

typedef DWORD(WINAPI* ModuleFileNameW)(HMODULE, LPWSTR, DWORD);

}  // namespace

bool RunsOnNt() {
  OSVERSIONINFOA version;
  std::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return false;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

HeldName HoldWideName(char* out, int outSize, const wchar_t* wide) {
  if (outSize <= 0) return kNameTooLong;
  if (outSize > kWideNameSize) outSize = kWideNameSize;
  BOOL usedDefault = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, out, outSize, nullptr, &usedDefault);
  if (bytes == 0) {
    out[0] = '\0';
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? kNameTooLong : kNameNotHeld;
  }
  if (usedDefault) {
    out[0] = '\0';
    return kNameNotHeld;
  }
  // Best fit uses no default character: only the way back shows it.
  WCHAR back[kWideNameSize];
  int units = MultiByteToWideChar(CP_ACP, 0, out, -1, back, kWideNameSize);
  int wideUnits = 1;  // counted here: Windows 95 has no lstrlenW of its own to import
  while (wide[wideUnits - 1] != L'\0') ++wideUnits;
  if (units != wideUnits ||
      std::memcmp(back, wide, static_cast<size_t>(units) * sizeof(WCHAR)) != 0) {
    out[0] = '\0';
    return kNameNotHeld;
  }
  return kNameHeld;
}

int HeldModuleFileName(char* out, int capacity) {
  if (capacity <= 0) return 0;
  out[0] = '\0';
  if (!RunsOnNt()) {
    return static_cast<int>(GetModuleFileNameA(nullptr, out, static_cast<DWORD>(capacity)));
  }
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  ModuleFileNameW moduleFileName =
      kernel == nullptr
          ? nullptr
          : reinterpret_cast<ModuleFileNameW>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "GetModuleFileNameW")));
  if (moduleFileName == nullptr) return 0;
  WCHAR wide[kWideNameSize];
  DWORD units = moduleFileName(nullptr, wide, kWideNameSize);
  if (units == 0) return 0;
  if (units >= kWideNameSize) return capacity;  // cut: no path at all is better
  wide[units] = L'\0';
  switch (HoldWideName(out, capacity, wide)) {
    case kNameHeld:
      return static_cast<int>(std::strlen(out));
    case kNameTooLong:
      return capacity;
    case kNameNotHeld:
    default:
      return -1;
  }
}
