// Byte streams: memory, files and module resources, as form data, bitmaps, ini files
// and image lists read and write them.
#pragma once

#include "platform/SysUtils.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  DECLARE_CLASS(TStream, TObject)
public:
  // Reads up to Count bytes; returns how many were read.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
  virtual int64_t GetSize();
  virtual void SetSize(int64_t NewSize);

  // Exactly Count bytes or EReadError / EWriteError.
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source (all of it from the start when Count is 0).
  int64_t CopyFrom(TStream* Source, int64_t Count);
};

class TCustomMemoryStream : public TStream {
  DECLARE_CLASS(TCustomMemoryStream, TStream)
public:
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t GetSize() override { return FSize; }
  void* Memory() const { return FMemory; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);

protected:
  void SetPointer(void* Ptr, int64_t Size);
  void* FMemory = nullptr;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
  DECLARE_CLASS(TMemoryStream, TCustomMemoryStream)
public:
  TMemoryStream() = default;
  ~TMemoryStream() override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  void SetSize(int64_t NewSize) override;
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);

private:
  std::vector<uint8_t> FData;
};

enum : uint16_t {
  fmCreate = 0xFF00,
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
};

// A file on disk; raises EFOpenError or EFCreateError naming the file when it cannot
// be opened or made. Mode is fmCreate (make or empty the file, read and write) or one
// of the fmOpen values, either combined with one fmShare value (exclusive by default).
class TFileStream : public TStream {
  DECLARE_CLASS(TFileStream, TStream)
public:
  TFileStream(const String& FileName, uint16_t Mode);
  ~TFileStream() override;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const String& FileName() const { return FFileName; }
  void* Handle() const { return FHandle; }

private:
  String FFileName;
  void* FHandle = nullptr;
};

// A resource of a module, read-only. Raises EResNotFound when it is missing.
class TResourceStream : public TCustomMemoryStream {
  DECLARE_CLASS(TResourceStream, TCustomMemoryStream)
public:
  // ResType is a MAKEINTRESOURCE value or a name; Instance 0 means this module.
  TResourceStream(uintptr_t Instance, const String& ResName, const wchar_t* ResType);
  TResourceStream(uintptr_t Instance, int ResID, const wchar_t* ResType);
  int64_t Write(const void* Buffer, int64_t Count) override;
};

// A string as a stream of UTF-16 code units.
class TStringStream : public TMemoryStream {
  DECLARE_CLASS(TStringStream, TMemoryStream)
public:
  explicit TStringStream(const String& Text = String());
  String DataString();
};
