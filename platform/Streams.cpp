#include "platform/Streams.h"

#include <algorithm>
#include <new>

IMPLEMENT_CLASS(TStream, TObject)
IMPLEMENT_CLASS(TCustomMemoryStream, TStream)
IMPLEMENT_CLASS(TMemoryStream, TCustomMemoryStream)
IMPLEMENT_CLASS(TStringStream, TMemoryStream)

// ---------------------------------------------------------------------------
// TStream

int64_t TStream::GetSize()
{
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(int64_t)
{
  // A stream of fixed size ignores this, as the base class of all streams does.
}

void TStream::ReadBuffer(void* Buffer, int64_t Count)
{
  if (Count < 0 || (Count != 0 && Read(Buffer, Count) != Count))
    throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count)
{
  if (Count < 0 || (Count != 0 && Write(Buffer, Count) != Count))
    throw EWriteError(L"Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count)
{
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->GetSize();
  }
  constexpr int64_t ChunkSize = 64 * 1024;
  std::vector<uint8_t> buffer(size_t(std::min(Count, ChunkSize)));
  for (int64_t left = Count; left > 0;) {
    int64_t n = std::min(left, ChunkSize);
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

// ---------------------------------------------------------------------------
// Memory streams

int64_t TCustomMemoryStream::Read(void* Buffer, int64_t Count)
{
  if (FPosition < 0 || Count <= 0 || FPosition >= FSize)
    return 0;
  int64_t n = std::min(Count, FSize - FPosition);
  std::memcpy(Buffer, static_cast<const uint8_t*>(FMemory) + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
  switch (Origin) {
    case soBeginning:
      FPosition = Offset;
      break;
    case soCurrent:
      FPosition += Offset;
      break;
    case soEnd:
      FPosition = FSize + Offset;
      break;
  }
  return FPosition;
}

void TCustomMemoryStream::SetPointer(void* Ptr, int64_t Size)
{
  FMemory = Ptr;
  FSize = Size;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream)
{
  Stream->WriteBuffer(FMemory, FSize);
}

TMemoryStream::~TMemoryStream() = default;

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count)
{
  if (FPosition < 0 || Count <= 0)
    return 0;
  int64_t end = FPosition + Count;
  if (end > FSize)
    SetSize(end);
  std::memcpy(static_cast<uint8_t*>(FMemory) + FPosition, Buffer, size_t(Count));
  FPosition = end;
  return Count;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
  if (NewSize < 0)
    throw EStreamError(L"Invalid stream size");
  try {
    // vector::resize grows geometrically, so many small writes stay linear.
    FData.resize(size_t(NewSize));
  } catch (const std::bad_alloc&) {
    throw EStreamError(L"Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError(L"Out of memory while expanding memory stream");
  }
  SetPointer(FData.empty() ? nullptr : FData.data(), NewSize);
  if (FPosition > NewSize)
    FPosition = NewSize;
}

void TMemoryStream::Clear()
{
  FData.clear();
  FData.shrink_to_fit();
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
  Stream->SetPosition(0);
  int64_t count = Stream->GetSize();
  SetSize(count);
  Stream->ReadBuffer(FMemory, count);
  FPosition = 0;
}

TStringStream::TStringStream(const String& Text)
{
  WriteBuffer(Text.data(), int64_t(Text.size() * sizeof(wchar_t)));
  FPosition = 0;
}

String TStringStream::DataString()
{
  return String(static_cast<const wchar_t*>(FMemory), size_t(FSize) / sizeof(wchar_t));
}
