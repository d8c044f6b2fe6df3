// The ini files' side that reads and writes the disk and decodes ANSI text with the
// system code page; the rest of platform/IniFiles.cpp also builds for the host.
#include "platform/IniFiles.h"

#include "platform/Streams.h"
#include "platform/Win.h"

IMPLEMENT_CLASS(TIniFile, TMemIniFile)

namespace {

// Larger files are taken as damaged rather than read into memory.
constexpr int64_t MaxIniFileSize = 256 * 1024 * 1024;

String AnsiToString(std::string_view bytes)
{
  if (bytes.empty())
    return String();
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  String text(size_t(std::max(n, 0)), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), text.data(), n);
  return text;
}

}  // namespace

void TMemIniFile::LoadValues()
{
  FDocument.Clear();
  if (FFileName.empty() || !FileExists(FFileName))
    return;
  TFileStream file(FFileName, fmOpenRead | fmShareDenyWrite);
  int64_t size = file.GetSize();
  if (size > MaxIniFileSize)
    throw EIniFileException(Format(L"The file \"%s\" is too large for an ini file", {FFileName}));
  std::string bytes(size_t(size), '\0');
  file.ReadBuffer(bytes.data(), size);
  FDocument.Parse(DecodeIniText(bytes, FEncoding, AnsiToString));
}

void TMemIniFile::UpdateFile()
{
  if (FFileName.empty())
    return;
  std::string bytes = EncodeIniText(FDocument.Text(), FEncoding);
  // The new text goes beside the file and takes its place only when complete, so that an
  // interrupted write leaves the old file as it was.
  const String aside = FFileName + L".new";
  try {
    TFileStream file(aside, fmCreate);
    file.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    ::FlushFileBuffers(file.Handle());
  } catch (...) {
    ::DeleteFileW(aside.c_str());
    throw;
  }
  if (!::MoveFileExW(aside.c_str(), FFileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = ::GetLastError();
    ::DeleteFileW(aside.c_str());
    throw EIniFileException(Format(L"Cannot write the file \"%s\" (error %d)", {FFileName, int(error)}));
  }
}

// ---------------------------------------------------------------------------
// TIniFile

TIniFile::TIniFile(const String& FileName) : TMemIniFile(FileName)
{
  RememberStamp();
}

void TIniFile::RememberStamp()
{
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (FFileName.empty() || !GetFileAttributesExW(FFileName.c_str(), GetFileExInfoStandard, &data)) {
    FStampTime = 0;
    FStampSize = -1;
    return;
  }
  FStampTime = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  FStampSize = (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void TIniFile::BeforeAccess()
{
  uint64_t time = FStampTime;
  int64_t size = FStampSize;
  RememberStamp();
  if (time != FStampTime || size != FStampSize)
    LoadValues();
}

void TIniFile::Changed()
{
  UpdateFile();
}

void TIniFile::UpdateFile()
{
  TMemIniFile::UpdateFile();
  RememberStamp();
}
