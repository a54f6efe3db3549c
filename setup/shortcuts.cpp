#include "setup/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

#include "common/ansi_names.h"
#include "common/bounded_text.h"
#include "setup/setup_form.h"

namespace {

// ---- One link file through the shell link object ---------------------------

struct LinkWriter {
  IShellLinkA* Link;
  IPersistFile* File;
  WCHAR WidePath[kPathSize];
};

LinkWriter& Writer(void* context) { return *static_cast<LinkWriter*>(context); }

void LinkInitialise(void*) {
  // Perch's thread uses COM for nothing else, so the answer does not matter.
  CoInitialize(nullptr);
}

int LinkCreate(void* c) {
  void* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                &link);
  if (FAILED(hr) || link == nullptr) return 0;
  Writer(c).Link = static_cast<IShellLinkA*>(link);
  return 1;
}

int LinkQueryPersistFile(void* c) {
  void* file = nullptr;
  HRESULT hr = Writer(c).Link->QueryInterface(IID_IPersistFile, &file);
  if (FAILED(hr) || file == nullptr) return 0;
  Writer(c).File = static_cast<IPersistFile*>(file);
  return 1;
}

int LinkSetPath(void* c, const char* path) { return SUCCEEDED(Writer(c).Link->SetPath(path)); }
int LinkSetDescription(void* c, const char* text) {
  return SUCCEEDED(Writer(c).Link->SetDescription(text));
}
int LinkSetArguments(void* c, const char* text) {
  return SUCCEEDED(Writer(c).Link->SetArguments(text));
}
int LinkSetWorkingDirectory(void* c, const char* path) {
  return SUCCEEDED(Writer(c).Link->SetWorkingDirectory(path));
}
int LinkSetIconLocation(void* c, const char* path, int index) {
  return SUCCEEDED(Writer(c).Link->SetIconLocation(path, index));
}
int LinkSetShowCmd(void* c, int show) { return SUCCEEDED(Writer(c).Link->SetShowCmd(show)); }

int LinkConvertPath(void* c, const char* path) {
  return MultiByteToWideChar(CP_ACP, 0, path, -1, Writer(c).WidePath, kPathSize) > 0;
}

int LinkSave(void* c) { return SUCCEEDED(Writer(c).File->Save(Writer(c).WidePath, TRUE)); }

void LinkReleasePersistFile(void* c) {
  Writer(c).File->Release();
  Writer(c).File = nullptr;
}

void LinkReleaseLink(void* c) {
  Writer(c).Link->Release();
  Writer(c).Link = nullptr;
}

void LinkUninitialise(void*) { CoUninitialize(); }

// ---- The registration's platform side --------------------------------------

typedef BOOL(WINAPI* PathFromIdListW)(LPCITEMIDLIST, LPWSTR);

// The folder's path as the ANSI calls name it. On Windows NT it is taken in
// Unicode (looked up, so that Perch still loads on Windows 95) and used only
// when the code page holds it exactly: a profile folder's name with a
// character it cannot hold would lead the link to another folder.
BOOL FolderPath(LPCITEMIDLIST list, char (&folder)[MAX_PATH]) {
  if (!RunsOnNt()) return SHGetPathFromIDListA(list, folder);
  HMODULE shell = GetModuleHandleA("shell32.dll");
  PathFromIdListW pathFromIdList =
      shell == nullptr ? nullptr
                       : reinterpret_cast<PathFromIdListW>(reinterpret_cast<void*>(
                             GetProcAddress(shell, "SHGetPathFromIDListW")));
  WCHAR wide[MAX_PATH] = L"";
  if (pathFromIdList == nullptr || !pathFromIdList(list, wide)) return FALSE;
  wide[MAX_PATH - 1] = L'\0';
  return HoldWideName(folder, MAX_PATH, wide) == kNameHeld;
}

FolderLookup FindFolder(void*, int folderId, char (&path)[kPathSize]) {
  path[0] = '\0';
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) return kNoAllocator;
  LPITEMIDLIST list = nullptr;
  BOOL found = FALSE;
  char folder[MAX_PATH] = "";
  if (SUCCEEDED(SHGetSpecialFolderLocation(GetDesktopWindow(), folderId, &list)) &&
      list != nullptr) {
    found = FolderPath(list, folder);
    allocator->Free(list);
  }
  allocator->Release();
  folder[MAX_PATH - 1] = '\0';
  if (!found || folder[0] == '\0') return kFolderMissing;
  CopyText(path, folder);
  return kFolderFound;
}

int WriteRequest(void*, const ShortcutRequest& request) {
  return WriteShortcut(request.LinkPath, request.TargetPath, request.Description,
                       request.Arguments, request.WorkingDirectory, request.IconPath);
}

// Opening the stream only tells whether it is there.
int DeleteMarkStream(void*, const char* markPath) {
  HANDLE stream = CreateFileA(markPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (stream == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(stream);
  return DeleteFileA(markPath) == 1 ? 1 : 0;
}

void ShowNotice(void* owner, const RegistrationNotice& notice) {
  UINT icon = notice.Kind == kNoticeCompleted ? MB_ICONINFORMATION : MB_ICONWARNING;
  MessageBoxA(static_cast<HWND>(owner), notice.Text, kSetupCaption, MB_OK | icon);
}

}  // namespace

int WriteShortcut(const char* linkPath, const char* targetPath, const char* description,
                  const char* arguments, const char* workingDirectory, const char* iconPath) {
  ShortcutRequest request;
  request.Description = description;
  request.Arguments = arguments;
  if (!CopyText(request.LinkPath, linkPath) || !CopyText(request.TargetPath, targetPath) ||
      !CopyText(request.WorkingDirectory, workingDirectory) ||
      !CopyText(request.IconPath, iconPath)) {
    return 0;
  }
  request.IconIndex = 0;
  request.ShowCommand = SW_SHOWNORMAL;
  LinkWriter writer = {nullptr, nullptr, {0}};
  LinkWriterOps ops = {&writer,
                       LinkInitialise,
                       LinkCreate,
                       LinkQueryPersistFile,
                       LinkSetPath,
                       LinkSetDescription,
                       LinkSetArguments,
                       LinkSetWorkingDirectory,
                       LinkSetIconLocation,
                       LinkSetShowCmd,
                       LinkConvertPath,
                       LinkSave,
                       LinkReleasePersistFile,
                       LinkReleaseLink,
                       LinkUninitialise};
  return RunLinkWriter(ops, request);
}

int RemoveDownloadMark(const char* toolFolder, const char* targetFileName) {
  char markPath[kPathSize];
  if (!ComposeDownloadMarkPath(markPath, toolFolder, targetFileName)) return 0;
  return DeleteMarkStream(nullptr, markPath);
}

RegistrationOps ShellRegistration(HWND owner) {
  RegistrationOps ops = {owner, FindFolder, WriteRequest, DeleteMarkStream, ShowNotice};
  return ops;
}

void RegisterShortcuts(const RegistrationOps& platform, const char* toolFolder,
                       const SetupInstructions& instructions, const SetupChoices& choices) {
  RunRegistration(platform, toolFolder, instructions, choices);
}
