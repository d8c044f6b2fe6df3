// The ini files' disk side for the host build: the fuzz targets keep ini text in memory
// only, so a file name is refused rather than read or written.
#include "platform/IniFiles.h"

void TMemIniFile::LoadValues()
{
  FDocument.Clear();
  if (!FFileName.empty())
    throw EIniFileException(L"The host build reads no ini files");
}

void TMemIniFile::UpdateFile()
{
  if (!FFileName.empty())
    throw EIniFileException(L"The host build writes no ini files");
}
