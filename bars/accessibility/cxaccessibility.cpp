// The accessibility bridge: reference counting, the validation every call goes through, the
// method table, navigation, and binding the system library.
#include "bars/accessibility/cxaccessibility.h"

#include <optional>

#include "platform/Menus.h"

// {D4890860-09B2-4648-BD9E-DFFBD140E5F1}
const IID IID_IcxAccessibilityHelper = {0xD4890860, 0x09B2, 0x4648, {0xBD, 0x9E, 0xDF, 0xFB, 0xD1, 0x40, 0xE5, 0xF1}};

TcxAccessibleObjectFromWindow cxAccessibleObjectFromWindow = nullptr;
TcxLresultFromObject cxLresultFromObject = nullptr;

namespace {

HMODULE GOleAccLibrary = nullptr;

// Handing an object to another process needs COM on the thread. The first object handed out
// on a thread sets it up there (a program that chose another apartment model keeps it); the
// same thread undoes it when the library shuts down on it, or else when the thread ends.
struct TComUse {
  bool Ready = false;
  // One initialisation of ours to balance (also when COM was there already: S_FALSE).
  bool Owned = false;
  ~TComUse() { Release(); }
  bool Acquire()
  {
    if (Ready)
      return true;
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Owned = SUCCEEDED(hr);
    Ready = Owned || hr == RPC_E_CHANGED_MODE;
    return Ready;
  }
  void Release()
  {
    if (Owned)
      CoUninitialize();
    Owned = Ready = false;
  }
};
thread_local TComUse GComUse;

void ClearVariant(VARIANT* V)
{
  if (V)
    VariantInit(V);
}

// The system's navigation directions in the library's terms; none for the two that name a
// child (first, last) and for any value the system does not define.
std::optional<TcxAccessibilityNavigationDirection> MapNavigationDirection(long ADirection)
{
  switch (ADirection) {
    case NAVDIR_UP:
      return andUp;
    case NAVDIR_DOWN:
      return andDown;
    case NAVDIR_LEFT:
      return andLeft;
    case NAVDIR_RIGHT:
      return andRight;
    case NAVDIR_NEXT:
      return andNext;
    case NAVDIR_PREVIOUS:
      return andPrev;
    default:
      return std::nullopt;
  }
}

}  // namespace

TcxAccessibilityHelper::TcxAccessibilityHelper(TObject* AOwnerObject) : FOwnerObject(AOwnerObject) {}

TcxAccessibilityHelper::~TcxAccessibilityHelper() = default;

void TcxAccessibilityHelper::OwnerObjectDestroyed()
{
  FAlive = false;
  FOwnerObject = nullptr;
}

bool TcxAccessibilityHelper::IsAlive()
{
  if (FAlive && !IsOwnerAlive())
    OwnerObjectDestroyed();
  return FAlive;
}

TcxAccessibilityHelper* TcxAccessibilityHelper::GetRootHelper()
{
  TcxAccessibilityHelper* result = this;
  for (int i = 0; i < cxAccessibilityMaxTreeDepth; ++i) {
    TcxAccessibilityHelper* parent = result->IsAlive() ? result->GetParent() : nullptr;
    if (!parent)
      break;
    result = parent;
  }
  return result;
}

HRESULT TcxAccessibilityHelper::QueryInterface(REFIID riid, void** ppv)
{
  if (!ppv)
    return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, __uuidof(IAccessible)))
    *ppv = static_cast<IAccessible*>(this);
  else if (IsEqualIID(riid, IID_IOleWindow))
    *ppv = static_cast<IOleWindow*>(this);
  else if (IsEqualIID(riid, IID_IcxAccessibilityHelper))
    *ppv = static_cast<IcxAccessibilityHelper*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TcxAccessibilityHelper::AddRef()
{
  return ULONG(InterlockedIncrement(&FRefCount));
}

ULONG TcxAccessibilityHelper::Release()
{
  const LONG count = InterlockedDecrement(&FRefCount);
  if (count == 0)
    delete this;
  return ULONG(count);
}

HRESULT TcxAccessibilityHelper::GetTypeInfoCount(UINT* pctinfo)
{
  // No type information: a client asks through IAccessible itself.
  if (!pctinfo)
    return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

HRESULT TcxAccessibilityHelper::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
  if (ppTInfo)
    *ppTInfo = nullptr;
  return E_NOTIMPL;
}

HRESULT TcxAccessibilityHelper::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
  return E_NOTIMPL;
}

HRESULT TcxAccessibilityHelper::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
  return E_NOTIMPL;
}

HRESULT TcxAccessibilityHelper::CheckChildID(const VARIANT& AChild, int& AChildID, bool AAllowObjects)
{
  AChildID = 0;
  if (AChild.vt != VT_I4)
    return E_INVALIDARG;
  const long id = AChild.lVal;
  if (id == CHILDID_SELF)
    return S_OK;
  if (id < 1 || id > GetChildCount())
    return E_INVALIDARG;
  if (!AAllowObjects && !ChildIsSimpleElement(int(id - 1)))
    return E_INVALIDARG;
  AChildID = int(id);
  return S_OK;
}

HRESULT TcxAccessibilityHelper::ReturnText(const String& AText, BSTR* AResult, bool AEmptyIsFalse)
{
  if (AText.empty()) {
    *AResult = nullptr;
    return AEmptyIsFalse ? S_FALSE : S_OK;
  }
  *AResult = SysAllocStringLen(AText.data(), UINT(AText.size()));
  return *AResult ? S_OK : E_OUTOFMEMORY;
}

void TcxAccessibilityHelper::ChildToVariant(int AChildID, VARIANT* AResult)
{
  VariantInit(AResult);
  if (AChildID > 0 && !ChildIsSimpleElement(AChildID - 1))
    if (TcxAccessibilityHelper* child = GetChild(AChildID - 1)) {
      AResult->vt = VT_DISPATCH;
      AResult->pdispVal = child->GetIAccessible();
      AResult->pdispVal->AddRef();
      return;
    }
  AResult->vt = VT_I4;
  AResult->lVal = AChildID;
}

HRESULT TcxAccessibilityHelper::TextProperty(const VARIANT& AChild, BSTR* AResult, int AProperty,
                                             String (TcxAccessibilityHelper::*AGetter)(int), bool AEmptyIsFalse)
{
  if (!AResult)
    return E_POINTER;
  *AResult = nullptr;
  return ForChild(AChild, AProperty, [&](int id) { return ReturnText((this->*AGetter)(id), AResult, AEmptyIsFalse); });
}

HRESULT TcxAccessibilityHelper::get_accParent(IDispatch** ppdispParent)
{
  return cxAccessibilityGuard([&]() -> HRESULT {
    if (!ppdispParent)
      return E_POINTER;
    *ppdispParent = nullptr;
    if (!IsAlive())
      return cxAccessibleObjectGone;
    if (TcxAccessibilityHelper* parent = GetParent()) {
      *ppdispParent = parent->GetIAccessible();
      (*ppdispParent)->AddRef();
      return S_OK;
    }
    HWND wnd = GetOwnerObjectWindow();
    if (!wnd || !cxAccessibleObjectFromWindow)
      return S_FALSE;
    // The element's client area is a child of its own window's object: a client that walks
    // up from here and down again comes back to where it was.
    void* result = nullptr;
    if (FAILED(cxAccessibleObjectFromWindow(wnd, OBJID_WINDOW, __uuidof(IAccessible), &result)) || !result)
      return S_FALSE;
    *ppdispParent = static_cast<IAccessible*>(result);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accChildCount(long* pcountChildren)
{
  return cxAccessibilityGuard([&]() -> HRESULT {
    if (!pcountChildren)
      return E_POINTER;
    *pcountChildren = 0;
    if (!IsAlive())
      return cxAccessibleObjectGone;
    *pcountChildren = GetChildCount();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
  return cxAccessibilityGuard([&]() -> HRESULT {
    if (!ppdispChild)
      return E_POINTER;
    *ppdispChild = nullptr;
    if (!IsAlive())
      return cxAccessibleObjectGone;
    if (varChild.vt != VT_I4 || varChild.lVal < 1 || varChild.lVal > GetChildCount())
      return E_INVALIDARG;
    const int index = int(varChild.lVal - 1);
    if (ChildIsSimpleElement(index))
      return S_FALSE;
    TcxAccessibilityHelper* child = GetChild(index);
    if (!child)
      return S_FALSE;
    *ppdispChild = child->GetIAccessible();
    (*ppdispChild)->AddRef();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accName(VARIANT varChild, BSTR* pszName)
{
  return TextProperty(varChild, pszName, 0, &TcxAccessibilityHelper::GetName, true);
}

HRESULT TcxAccessibilityHelper::get_accValue(VARIANT varChild, BSTR* pszValue)
{
  return TextProperty(varChild, pszValue, cxAccessibleValue, &TcxAccessibilityHelper::GetValue, false);
}

HRESULT TcxAccessibilityHelper::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
  return TextProperty(varChild, pszDescription, cxAccessibleDescription, &TcxAccessibilityHelper::GetDescription, true);
}

HRESULT TcxAccessibilityHelper::NumberProperty(const VARIANT& AChild, VARIANT* AResult,
                                               int (TcxAccessibilityHelper::*AGetter)(int))
{
  if (!AResult)
    return E_POINTER;
  ClearVariant(AResult);
  return ForChild(AChild, 0, [&](int id) {
    AResult->vt = VT_I4;
    AResult->lVal = (this->*AGetter)(id);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
  return NumberProperty(varChild, pvarRole, &TcxAccessibilityHelper::GetRole);
}

HRESULT TcxAccessibilityHelper::get_accState(VARIANT varChild, VARIANT* pvarState)
{
  return NumberProperty(varChild, pvarState, &TcxAccessibilityHelper::GetState);
}

HRESULT TcxAccessibilityHelper::get_accHelp(VARIANT, BSTR* pszHelp)
{
  if (pszHelp)
    *pszHelp = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT TcxAccessibilityHelper::get_accHelpTopic(BSTR* pszHelpFile, VARIANT, long* pidTopic)
{
  if (pszHelpFile)
    *pszHelpFile = nullptr;
  if (pidTopic)
    *pidTopic = 0;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT TcxAccessibilityHelper::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
  if (!pszKeyboardShortcut)
    return E_POINTER;
  *pszKeyboardShortcut = nullptr;
  return ForChild(varChild, cxAccessibleKeyboardShortcut, [&](int id) {
    TShortCut shortCut = 0;
    String caption;
    bool useCaption = false;
    GetKeyboardShortcut(id, shortCut, caption, useCaption);
    String text;
    if (useCaption) {
      if (wchar_t key = GetAccelChar(caption)) {
        CharUpperBuffW(&key, 1);
        text = L"Alt+" + String(1, key);
      }
    } else if (shortCut) {
      text = ShortCutToText(shortCut);
    }
    return ReturnText(text, pszKeyboardShortcut, true);
  });
}

HRESULT TcxAccessibilityHelper::get_accFocus(VARIANT* pvarChild)
{
  return cxAccessibilityGuard([&]() -> HRESULT {
    if (!pvarChild)
      return E_POINTER;
    ClearVariant(pvarChild);
    if (!IsAlive())
      return cxAccessibleObjectGone;
    if (!(GetSupportedProperties(CHILDID_SELF) & cxAccessibleFocus))
      return DISP_E_MEMBERNOTFOUND;
    bool isChild = false;
    int index = -1;
    if (!GetFocusedChild(isChild, index))
      return S_FALSE;
    if (!isChild) {
      pvarChild->vt = VT_I4;
      pvarChild->lVal = CHILDID_SELF;
      return S_OK;
    }
    if (index < 0 || index >= GetChildCount())
      return S_FALSE;
    ChildToVariant(index + 1, pvarChild);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accSelection(VARIANT* pvarChildren)
{
  ClearVariant(pvarChildren);
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT TcxAccessibilityHelper::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
  // Only an empty name, description or keyboard shortcut is "no answer" (S_FALSE).
  return TextProperty(varChild, pszDefaultAction, cxAccessibleDefaultAction,
                      &TcxAccessibilityHelper::GetDefaultActionDescription, false);
}

HRESULT TcxAccessibilityHelper::accSelect(long, VARIANT)
{
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT TcxAccessibilityHelper::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                            VARIANT varChild)
{
  if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
    return E_POINTER;
  *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
  return ForChild(varChild, cxAccessibleLocation, [&](int id) {
    const TRect r = GetScreenBounds(id);
    *pxLeft = r.left;
    *pyTop = r.top;
    *pcxWidth = r.right - r.left;
    *pcyHeight = r.bottom - r.top;
    return S_OK;
  });
}

// From the element itself only the first and last child are answered here; the other
// directions are its parent's business. A parent also takes the id of a child with its own
// object here, or such a child could never navigate.
HRESULT TcxAccessibilityHelper::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
  return cxAccessibilityGuard([&]() -> HRESULT {
    if (!pvarEndUpAt)
      return E_POINTER;
    ClearVariant(pvarEndUpAt);
    if (!IsAlive())
      return cxAccessibleObjectGone;
    const std::optional<TcxAccessibilityNavigationDirection> direction = MapNavigationDirection(navDir);
    if (!direction && navDir != NAVDIR_FIRSTCHILD && navDir != NAVDIR_LASTCHILD)
      return E_INVALIDARG;
    int start;
    if (HRESULT hr = CheckChildID(varStart, start, true); FAILED(hr))
      return hr;
    if (navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD) {
      if (start != CHILDID_SELF)
        return E_INVALIDARG;
      if (!(GetSupportedProperties(CHILDID_SELF) & cxAccessibleLocation))
        return DISP_E_MEMBERNOTFOUND;
      const int count = GetChildCount();
      if (count == 0)
        return S_FALSE;
      ChildToVariant(navDir == NAVDIR_FIRSTCHILD ? 1 : count, pvarEndUpAt);
      return S_OK;
    }
    if (start == CHILDID_SELF) {
      TcxAccessibilityHelper* parent = GetParent();
      if (!parent)
        return S_FALSE;
      const int index = parent->GetChildIndex(this);
      if (index < 0)
        return S_FALSE;
      VARIANT own;
      VariantInit(&own);
      own.vt = VT_I4;
      own.lVal = index + 1;
      return parent->accNavigate(navDir, own, pvarEndUpAt);
    }
    if (!(GetSupportedProperties(CHILDID_SELF) & cxAccessibleLocation))
      return DISP_E_MEMBERNOTFOUND;
    const int target = GetNextChildIndex(start - 1, *direction);
    if (target == start - 1 || target < 0 || target >= GetChildCount())
      return S_FALSE;
    ChildToVariant(target + 1, pvarEndUpAt);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
  return cxAccessibilityGuard([&]() -> HRESULT {
    if (!pvarChild)
      return E_POINTER;
    ClearVariant(pvarChild);
    if (!IsAlive())
      return cxAccessibleObjectGone;
    if (!(GetSupportedProperties(CHILDID_SELF) & cxAccessibleLocation))
      return DISP_E_MEMBERNOTFOUND;
    const TRect bounds = GetScreenBounds(CHILDID_SELF);
    const POINT p{xLeft, yTop};
    if (!PtInRect(&bounds, p))
      return S_FALSE;
    int index = -1;
    switch (GetHitTest(int(xLeft), int(yTop), index)) {
      case cxAccessibleHitSelf:
        pvarChild->vt = VT_I4;
        pvarChild->lVal = CHILDID_SELF;
        return S_OK;
      case cxAccessibleHitChild:
        if (index < 0 || index >= GetChildCount())
          return S_FALSE;
        ChildToVariant(index + 1, pvarChild);
        return S_OK;
      default:
        return S_FALSE;
    }
  });
}

HRESULT TcxAccessibilityHelper::accDoDefaultAction(VARIANT varChild)
{
  return ForChild(varChild, cxAccessibleDefaultAction, [&](int id) {
    DoDefaultAction(id);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::put_accName(VARIANT, BSTR)
{
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT TcxAccessibilityHelper::put_accValue(VARIANT varChild, BSTR szValue)
{
  return ForChild(varChild, cxAccessibleValue, [&](int id) {
    SetValue(id, szValue ? String(szValue, SysStringLen(szValue)) : String());
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::GetWindow(HWND* phwnd)
{
  return cxAccessibilityGuard([&]() -> HRESULT {
    if (!phwnd)
      return E_POINTER;
    *phwnd = nullptr;
    if (!IsAlive())
      return cxAccessibleObjectGone;
    *phwnd = GetOwnerObjectWindow();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::ContextSensitiveHelp(BOOL)
{
  return S_OK;
}

void cxAccessibilityBind()
{
  if (!GOleAccLibrary)
    GOleAccLibrary = LoadLibraryW(L"oleacc.dll");
  if (!GOleAccLibrary)
    return;
  cxAccessibleObjectFromWindow = reinterpret_cast<TcxAccessibleObjectFromWindow>(
      reinterpret_cast<void*>(GetProcAddress(GOleAccLibrary, "AccessibleObjectFromWindow")));
  cxLresultFromObject = reinterpret_cast<TcxLresultFromObject>(
      reinterpret_cast<void*>(GetProcAddress(GOleAccLibrary, "LresultFromObject")));
}

// The system library stays loaded for the process: a client in another process may still
// hold an element whose stub in this process runs the library's code.
void cxAccessibilityUnbind()
{
  cxAccessibleObjectFromWindow = nullptr;
  cxLresultFromObject = nullptr;
  GComUse.Release();
}

LRESULT cxAccessibilityAnswerGetObject(TcxAccessibilityHelper* AHelper, WPARAM wParam, LPARAM lParam)
{
  if (!AHelper || !cxLresultFromObject || LONG(DWORD(lParam)) != LONG(OBJID_CLIENT))
    return 0;
  if (!GComUse.Acquire())
    return 0;
  const LRESULT result = cxLresultFromObject(__uuidof(IAccessible), wParam, AHelper->GetIAccessible());
  return result < 0 ? 0 : result;
}
