#include "StorageTestUtil.h"

#include <windows.h>

#include <stdexcept>

TTempDir::TTempDir()
{
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (unsigned attempt = 0;; ++attempt) {
    FPath = String(base) + L"storage_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(attempt);
    if (CreateDirectoryW(FPath.c_str(), nullptr))
      return;
    if (attempt > 100)
      throw std::runtime_error("cannot make a temporary folder");
  }
}

TTempDir::~TTempDir()
{
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((FPath + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      String name = data.cFileName;
      if (name != L"." && name != L"..")
        DeleteFileW((FPath + L"\\" + name).c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(FPath.c_str());
}

std::string ReadFileBytes(const String& fileName)
{
  HANDLE h = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    throw std::runtime_error("cannot read test file");
  std::string bytes;
  char buffer[4096];
  DWORD done;
  while (ReadFile(h, buffer, sizeof buffer, &done, nullptr) && done > 0)
    bytes.append(buffer, done);
  CloseHandle(h);
  return bytes;
}

void WriteFileBytes(const String& fileName, const std::string& bytes)
{
  HANDLE h = CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    throw std::runtime_error("cannot write test file");
  DWORD done;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &done, nullptr);
  CloseHandle(h);
}
