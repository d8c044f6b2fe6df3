// Streams on objects of the system: files and resources, and the memory streams
// loading from and saving to files. Apart from the rest so that memory streams build
// without Windows headers.
#include "platform/Streams.h"

#include <algorithm>

#include "platform/Win.h"

IMPLEMENT_CLASS(TFileStream, TStream)
IMPLEMENT_CLASS(TResourceStream, TCustomMemoryStream)

void TCustomMemoryStream::SaveToFile(const String& FileName)
{
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file);
}

void TMemoryStream::LoadFromFile(const String& FileName)
{
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const String& FileName, uint16_t Mode) : FFileName(FileName)
{
  // Indexed by the fmShare bits: compatible and exclusive share nothing.
  static const DWORD shareModes[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  unsigned shareIndex = (Mode & 0xF0) >> 4;
  DWORD share = shareIndex < 5 ? shareModes[shareIndex] : 0;
  HANDLE h;
  if ((Mode & fmCreate) == fmCreate) {
    h = CreateFileW(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
      throw EFCreateError(Format(L"Cannot create file \"%s\". %s", {FileName, SysErrorMessage(GetLastError())}));
  } else {
    static const DWORD accessModes[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    unsigned accessIndex = Mode & 3;
    DWORD access = accessIndex < 3 ? accessModes[accessIndex] : GENERIC_READ;
    h = CreateFileW(FileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
      throw EFOpenError(Format(L"Cannot open file \"%s\". %s", {FileName, SysErrorMessage(GetLastError())}));
  }
  FHandle = h;
}

TFileStream::~TFileStream()
{
  if (FHandle)
    CloseHandle(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count)
{
  int64_t total = 0;
  auto* p = static_cast<uint8_t*>(Buffer);
  while (total < Count) {
    DWORD chunk = DWORD(std::min<int64_t>(Count - total, 1 << 30));
    DWORD done = 0;
    if (!ReadFile(FHandle, p + total, chunk, &done, nullptr) || done == 0)
      break;
    total += done;
  }
  return total;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count)
{
  int64_t total = 0;
  auto* p = static_cast<const uint8_t*>(Buffer);
  while (total < Count) {
    DWORD chunk = DWORD(std::min<int64_t>(Count - total, 1 << 30));
    DWORD done = 0;
    if (!WriteFile(FHandle, p + total, chunk, &done, nullptr) || done == 0)
      break;
    total += done;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
  static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER distance, result;
  distance.QuadPart = Offset;
  if (!SetFilePointerEx(FHandle, distance, &result, methods[Origin]))
    return -1;
  return result.QuadPart;
}

void TFileStream::SetSize(int64_t NewSize)
{
  if (Seek(NewSize, soBeginning) != NewSize || !SetEndOfFile(FHandle))
    RaiseLastOSError();
}

// ---------------------------------------------------------------------------
// TResourceStream

namespace {

HMODULE ModuleOf(uintptr_t Instance)
{
  return Instance ? reinterpret_cast<HMODULE>(Instance) : GetModuleHandleW(nullptr);
}

}  // namespace

TResourceStream::TResourceStream(uintptr_t Instance, const String& ResName, const wchar_t* ResType)
{
  HMODULE module = ModuleOf(Instance);
  HRSRC info = FindResourceW(module, ResName.c_str(), ResType);
  if (!info)
    throw EResNotFound(Format(L"Resource %s not found", {ResName}));
  HGLOBAL data = LoadResource(module, info);
  SetPointer(data ? LockResource(data) : nullptr, data ? SizeofResource(module, info) : 0);
}

TResourceStream::TResourceStream(uintptr_t Instance, int ResID, const wchar_t* ResType)
{
  HMODULE module = ModuleOf(Instance);
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(ResID), ResType);
  if (!info)
    throw EResNotFound(Format(L"Resource %d not found", {ResID}));
  HGLOBAL data = LoadResource(module, info);
  SetPointer(data ? LockResource(data) : nullptr, data ? SizeofResource(module, info) : 0);
}

int64_t TResourceStream::Write(const void*, int64_t)
{
  throw EStreamError(L"Can't write to a read-only resource stream");
}
