// The parts of SysUtils that ask the operating system: file attributes, deleting files
// and the system's error texts. Apart from the rest so that the text and number
// functions build without Windows headers.
#include "platform/SysUtils.h"

#include "platform/Win.h"

// ---------------------------------------------------------------------------
// Files

bool FileExists(const String& FileName)
{
  DWORD attributes = GetFileAttributesW(FileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& Directory)
{
  DWORD attributes = GetFileAttributesW(Directory.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const String& FileName)
{
  return DeleteFileW(FileName.c_str()) != 0;
}

// ---------------------------------------------------------------------------
// System errors

String SysErrorMessage(uint32_t ErrorCode)
{
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                nullptr, ErrorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  String text;
  if (buffer) {
    text.assign(buffer, length);
    LocalFree(buffer);
  }
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.'))
    text.pop_back();
  return text;
}

uint32_t GetLastOSError()
{
  return GetLastError();
}

void RaiseLastOSError()
{
  RaiseLastOSError(GetLastError());
}

void RaiseLastOSError(uint32_t ErrorCode)
{
  if (ErrorCode == 0)
    throw EOSError(L"A call to an OS function failed");
  throw EOSError(Format(L"System Error.  Code: %d.\r\n%s", {int64_t(ErrorCode), SysErrorMessage(ErrorCode)}));
}
