// Persistents, class registers, free notification and the small text and memory services.
#include "lookandfeel/cxClasses.h"

#include <cstring>

IMPLEMENT_CLASS(TcxInterfacedPersistent, TPersistent)
IMPLEMENT_CLASS(TcxFreeNotificator, TComponent)

// ---------------------------------------------------------------------------

TcxInterfacedPersistent::TcxInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}

int TcxInterfacedPersistent::AddRef()
{
  return ++FRefCount;
}

int TcxInterfacedPersistent::Release()
{
  if (FRefCount > 0)
    --FRefCount;
  return FRefCount;
}

// ---------------------------------------------------------------------------

void TcxRegisteredClassList::Register(TClass AItemClass, TClass ARegisteredClass)
{
  if (!AItemClass || !ARegisteredClass)
    return;
  for (TPair& pair : FItems)
    if (pair.ItemClass == AItemClass) {
      pair.RegisteredClass = ARegisteredClass;
      return;
    }
  FItems.push_back({AItemClass, ARegisteredClass});
}

void TcxRegisteredClassList::Unregister(TClass AItemClass, TClass ARegisteredClass)
{
  for (auto it = FItems.begin(); it != FItems.end(); ++it)
    if (it->ItemClass == AItemClass && (!ARegisteredClass || it->RegisteredClass == ARegisteredClass)) {
      FItems.erase(it);
      return;
    }
}

TClass TcxRegisteredClassList::FindClass(TClass AItemClass) const
{
  // Walk up from the class itself: the first ancestor with a pair is the nearest one.
  for (TClass cls = AItemClass; cls; cls = cls->ClassParent())
    for (const TPair& pair : FItems)
      if (pair.ItemClass == cls)
        return pair.RegisteredClass;
  return nullptr;
}

// ---------------------------------------------------------------------------

TcxFreeNotificator::TcxFreeNotificator(TComponent* AOwner) : TComponent(AOwner) {}

void TcxFreeNotificator::AddSender(TComponent* ASender)
{
  if (ASender)
    ASender->FreeNotification(this);
}

void TcxFreeNotificator::RemoveSender(TComponent* ASender)
{
  if (ASender)
    ASender->RemoveFreeNotification(this);
}

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    CallEvent(OnFreeNotification, AComponent);
}

// ---------------------------------------------------------------------------

void CallNotifyEvent(const TNotifyEvent& AEvent, TObject* ASender)
{
  if (AEvent.Assigned())
    AEvent(ASender);
}

String GetResourceString(const TResStringRec& AResString)
{
  HMODULE module = AResString.Module ? AResString.Module : GetModuleHandleW(nullptr);
  if (AResString.Identifier < 0 || AResString.Identifier > 0xFFFF)
    return String();
  // With a zero buffer size LoadStringW hands out a pointer into the resource itself,
  // which has no length limit; the text there is not terminated.
  const wchar_t* text = nullptr;
  int length = LoadStringW(module, UINT(AResString.Identifier), reinterpret_cast<LPWSTR>(&text), 0);
  if (length > 0 && text)
    return String(text, size_t(length));
  wchar_t buffer[1024];
  length = LoadStringW(module, UINT(AResString.Identifier), buffer, int(std::size(buffer)));
  return length > 0 ? String(buffer, size_t(length)) : String();
}

String GetLocaleInfoString(LCID ALocale, LCTYPE AItem, const String& ADefault)
{
  int size = GetLocaleInfoW(ALocale, AItem, nullptr, 0);
  if (size <= 1)
    return ADefault;
  String text(size_t(size), L'\0');
  size = GetLocaleInfoW(ALocale, AItem, text.data(), size);
  if (size <= 1)
    return ADefault;
  text.resize(size_t(size - 1));
  return text;
}

String CreateUniqueComponentName(TComponent* AOwnerComponent, TComponent* ACollectionOwner, TComponent* AItem,
                                 int AStartNumber, const String& APrefix)
{
  String base = ACollectionOwner ? ACollectionOwner->Name() : String();
  if (AItem) {
    String className = AItem->ClassName();
    if (!APrefix.empty() && className.size() >= APrefix.size() &&
        SameText(className.substr(0, APrefix.size()), APrefix))
      className.erase(0, APrefix.size());
    else if (!className.empty() && (className[0] == L'T' || className[0] == L't'))
      className.erase(0, 1);
    base += className;
  }
  for (int64_t number = AStartNumber;; ++number) {
    String name = base + IntToStr(number);
    if (!AOwnerComponent || !AOwnerComponent->FindComponent(name))
      return name;
  }
}

void ClearMemory(void* ABlock, size_t ASize)
{
  if (ABlock && ASize)
    std::memset(ABlock, 0, ASize);
}
