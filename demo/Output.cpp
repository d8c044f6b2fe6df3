// Standard output of a windowed program.
#include "demo/Output.h"

#include "platform/Win.h"

void WriteOutputLine(const String& Line)
{
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE)
    return;
  String text = Line + L"\n";
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0)
    return;
  std::string bytes(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
  // WriteFile does no buffering of its own; a pipe may take the line in pieces.
  const char* at = bytes.data();
  DWORD left = DWORD(bytes.size());
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(out, at, left, &written, nullptr) || written == 0)
      return;
    at += written;
    left -= written;
  }
}
