// String lists read from and written to files, through the file streams of the system; the
// rest of platform/Strings.cpp also builds for the host.
#include "platform/Strings.h"

#include "platform/Streams.h"

void TStrings::LoadFromFile(const String& FileName, TTextEncoding Encoding)
{
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream, Encoding);
}

void TStrings::SaveToFile(const String& FileName, TTextEncoding Encoding) const
{
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream, Encoding);
}
