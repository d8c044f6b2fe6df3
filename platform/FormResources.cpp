// Form data from outside the program text: RCDATA resources named after a class (how a
// form finds its own data) and files.
#include "platform/Filer.h"
#include "platform/Win.h"

namespace {

struct THandleCloser {
  HANDLE Handle;
  ~THandleCloser()
  {
    if (Handle != INVALID_HANDLE_VALUE)
      CloseHandle(Handle);
  }
};

// The bytes of an RCDATA resource of this module, or false when there is none.
bool FindFormResource(const String& name, const uint8_t*& data, size_t& size)
{
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info)
    return false;
  HGLOBAL global = LoadResource(module, info);
  if (!global)
    return false;
  data = static_cast<const uint8_t*>(LockResource(global));
  size = SizeofResource(module, info);
  return data != nullptr;
}

TComponent* ReadText(const String& text, TComponent* instance)
{
  TReader reader(text);
  return reader.ReadRootComponent(instance);
}

}  // namespace

TComponent* ReadComponentRes(const String& ResName, TComponent* Instance)
{
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (!FindFormResource(ResName, data, size))
    throw EResNotFound(L"Resource " + ResName + L" not found");
  return ReadText(FormDataBytesToText(data, size), Instance);
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor)
{
  // Ancestors first: each class's data adds to what its parent class's data made.
  std::vector<TClass> chain;
  for (TClass c = Instance->ClassType(); c && c != RootAncestor && c != TComponent::StaticClass(); c = c->ClassParent())
    chain.insert(chain.begin(), c);
  bool found = false;
  BeginGlobalLoading();
  {
    TFinally end([] { EndGlobalLoading(); });
    for (TClass c : chain) {
      const uint8_t* data = nullptr;
      size_t size = 0;
      if (!FindFormResource(c->ClassName(), data, size))
        continue;
      ReadText(FormDataBytesToText(data, size), Instance);
      found = true;
    }
    NotifyGlobalLoading();
  }
  return found;
}

TComponent* ReadComponentResFile(const String& FileName, TComponent* Instance)
{
  HANDLE file = CreateFileW(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw EFOpenError(L"Cannot open file \"" + FileName + L"\"");
  THandleCloser closer{file};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart > 256 * 1024 * 1024)
    throw EReadError(L"Cannot read file \"" + FileName + L"\"");
  std::vector<uint8_t> bytes(size_t(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) || read != bytes.size()))
    throw EReadError(L"Cannot read file \"" + FileName + L"\"");
  return ReadText(FormDataBytesToText(bytes.data(), bytes.size()), Instance);
}

void WriteComponentResFile(const String& FileName, TComponent* Instance)
{
  std::string text = ToUtf8(ComponentToText(Instance));
  HANDLE file = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw EFCreateError(L"Cannot create file \"" + FileName + L"\"");
  THandleCloser closer{file};
  DWORD written = 0;
  if (!WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) || written != text.size())
    throw EWriteError(L"Cannot write file \"" + FileName + L"\"");
}
