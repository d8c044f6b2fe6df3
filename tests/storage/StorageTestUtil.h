// Shared pieces of the storage tests: a temporary folder that is removed with the
// files in it, and reading or writing a file's bytes without the streams under test.
#pragma once

#include <string>

#include "platform/SysUtils.h"

class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const String& Path() const { return FPath; }
  String File(const String& name) const { return FPath + L"\\" + name; }

private:
  String FPath;
};

std::string ReadFileBytes(const String& fileName);
void WriteFileBytes(const String& fileName, const std::string& bytes);
