// Streams: memory growth and positions, buffer errors, copying, files with their open
// errors, and a missing module resource.
#include "platform/Win.h"

#include <gtest/gtest.h>

#include <cstring>

#include "StorageTestUtil.h"
#include "platform/Streams.h"

namespace {

std::string Bytes(TCustomMemoryStream& s)
{
  return std::string(static_cast<const char*>(s.Memory()), size_t(s.GetSize()));
}

}  // namespace

TEST(MemoryStream, SeekOriginsAndWritingPastTheEndFillsWithZeros)
{
  TMemoryStream s;
  s.WriteBuffer("abcdef", 6);
  EXPECT_EQ(s.Seek(-2, soEnd), 4);
  EXPECT_EQ(s.Seek(-1, soCurrent), 3);
  EXPECT_EQ(s.Seek(1, soBeginning), 1);
  s.Seek(8, soBeginning);
  s.WriteBuffer("Z", 1);
  EXPECT_EQ(Bytes(s), std::string("abcdef\0\0Z", 9));
  s.SetPosition(-5);
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0) << "a negative position reads nothing";
}

TEST(MemoryStream, SetSizeTruncatesAndMovesThePositionBack)
{
  TMemoryStream s;
  s.WriteBuffer("0123456789", 10);
  s.SetSize(4);
  EXPECT_EQ(s.GetPosition(), 4);
  EXPECT_EQ(Bytes(s), "0123");
  s.SetSize(6);
  EXPECT_EQ(Bytes(s), std::string("0123\0\0", 6));
  EXPECT_THROW(s.SetSize(-1), EStreamError);
  s.Clear();
  EXPECT_EQ(s.GetSize(), 0);
  EXPECT_EQ(s.GetPosition(), 0);
  EXPECT_EQ(s.Memory(), nullptr);
}

TEST(MemoryStream, ReadBufferPastTheEndRaisesReadError)
{
  TMemoryStream s;
  s.WriteBuffer("abc", 3);
  s.SetPosition(1);
  char buffer[8];
  try {
    s.ReadBuffer(buffer, 5);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), L"Stream read error");
  }
}

TEST(Stream, WriteBufferOnAReadOnlyStreamRaisesWriteError)
{
  TResourceStream r(0, L"STREAMTESTDATA", RT_RCDATA);
  EXPECT_THROW(r.WriteBuffer("x", 1), EStreamError);
  // The error of a plain short write is EWriteError: a file opened for reading only.
  TTempDir dir;
  String name = dir.File(L"ro.bin");
  WriteFileBytes(name, "data");
  TFileStream f(name, fmOpenRead);
  try {
    f.WriteBuffer("x", 1);
    FAIL() << "no exception";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), L"Stream write error");
  }
}

TEST(Stream, CopyFromCopiesCountBytesOrEverythingForZero)
{
  TMemoryStream source;
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i)
    big[i] = char(i * 7);
  source.WriteBuffer(big.data(), int64_t(big.size()));

  TMemoryStream all;
  source.SetPosition(12345);  // ignored: zero means the whole source
  EXPECT_EQ(all.CopyFrom(&source, 0), int64_t(big.size()));
  EXPECT_EQ(Bytes(all), big);

  TMemoryStream part;
  source.SetPosition(10);
  EXPECT_EQ(part.CopyFrom(&source, 100), 100);
  EXPECT_EQ(Bytes(part), big.substr(10, 100));
  EXPECT_EQ(source.GetPosition(), 110);

  source.SetPosition(big.size() - 5);
  EXPECT_THROW(part.CopyFrom(&source, 10), EReadError);
}

TEST(FileStream, CreateWriteReopenReadAndResize)
{
  TTempDir dir;
  String name = dir.File(L"f.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("hello world", 11);
    EXPECT_EQ(f.GetSize(), 11);
    EXPECT_EQ(f.FileName(), name);
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    EXPECT_EQ(f.GetSize(), 11);
    f.Seek(6, soBeginning);
    f.WriteBuffer("WORLD", 5);
    f.SetSize(8);
    EXPECT_EQ(f.GetSize(), 8);
  }
  EXPECT_EQ(ReadFileBytes(name), "hello WO");
  {
    TFileStream f(name, fmOpenRead);
    char buffer[20] = {};
    EXPECT_EQ(f.Read(buffer, 20), 8);
    EXPECT_STREQ(buffer, "hello WO");
    f.SetPosition(2);
    EXPECT_THROW(f.ReadBuffer(buffer, 7), EReadError);
  }
  // fmCreate empties an existing file.
  {
    TFileStream f(name, fmCreate);
  }
  EXPECT_EQ(ReadFileBytes(name), "");
}

TEST(FileStream, OpenErrorsNameTheFileAndTheSystemReason)
{
  TTempDir dir;
  String missing = dir.File(L"missing.bin");
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + missing + L"\". ", 0), 0u) << ToUtf8(e.Message());
    EXPECT_GT(e.Message().size(), missing.size() + 22) << "the system's reason follows";
  }
  String inMissingFolder = dir.File(L"no\\such\\folder.bin");
  try {
    TFileStream f(inMissingFolder, fmCreate);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind(L"Cannot create file \"" + inMissingFolder + L"\". ", 0), 0u) << ToUtf8(e.Message());
  }
}

TEST(FileStream, ShareModesDecideWhetherASecondOpenWorks)
{
  TTempDir dir;
  String name = dir.File(L"shared.bin");
  WriteFileBytes(name, "x");
  {
    TFileStream exclusive(name, fmOpenRead | fmShareExclusive);
    EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone), EFOpenError);
  }
  {
    TFileStream reader(name, fmOpenRead | fmShareDenyWrite);
    TFileStream second(name, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(second.GetSize(), 1);
    EXPECT_THROW(TFileStream(name, fmOpenWrite | fmShareDenyNone), EFOpenError);
  }
}

TEST(ResourceStream, MissingResourceRaisesResNotFound)
{
  try {
    TResourceStream r(0, L"NOSUCHRESOURCE", RT_RCDATA);
    FAIL() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), L"Resource NOSUCHRESOURCE not found");
  }
  EXPECT_THROW(TResourceStream(0, 4712, RT_RCDATA), EResNotFound);
}
