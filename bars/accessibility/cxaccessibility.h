// The bridge from the objects of a control (bars, menus, items, caption buttons) to the
// system's accessibility interface: one COM object per element, validating every call and
// answering it through a few virtual operations that the element kinds override. The system
// library is bound at run time; without it everything but the window parent still works.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <new>

#include "bars/accessibility/cxnavigationdirection.h"
#include "platform/Menus.h"
#include "platform/SysUtils.h"
#include "platform/Types.h"

class TObject;
class TcxAccessibilityHelper;

// What every call on an element whose owner is gone answers: a client holding it learns it
// is stale instead of reading an element with no name, place or children.
constexpr HRESULT cxAccessibleObjectGone = CO_E_OBJNOTCONNECTED;

// The barrier of every entry point a client or the message loop calls (each method of an
// element, a deferred default action): no exception leaves it, since it would unwind into
// another process's call or through the system's frames. Out of memory answers
// E_OUTOFMEMORY, which the caller can act on; anything else goes to
// HandleUnexpectedException, as it would from a window procedure, and answers E_FAIL. With
// AAnswerOutOfMemory false (nobody reads the answer) out of memory is handled as the rest.
template <class F>
HRESULT cxAccessibilityGuard(F&& ABody, bool AAnswerOutOfMemory = true) noexcept
{
  try {
    try {
      return ABody();
    } catch (const std::bad_alloc&) {
      if (AAnswerOutOfMemory)
        return E_OUTOFMEMORY;
      throw;
    }
  } catch (...) {
    HandleUnexpectedException();
    return E_FAIL;
  }
}

// {D4890860-09B2-4648-BD9E-DFFBD140E5F1}
extern const IID IID_IcxAccessibilityHelper;

// Lets the library find its own helper behind an interface a client or parent hands back.
struct IcxAccessibilityHelper : public IUnknown {
  virtual TcxAccessibilityHelper* STDMETHODCALLTYPE GetHelper() = 0;
  virtual void STDMETHODCALLTYPE OwnerObjectDestroyed() = 0;
};

// Bits of the properties an element answers; a property it lacks gives DISP_E_MEMBERNOTFOUND.
enum : int {
  cxAccessibleDefaultAction = 1,
  cxAccessibleDescription = 2,
  cxAccessibleFocus = 4,
  cxAccessibleLocation = 8,  // also hit testing and navigation
  cxAccessibleKeyboardShortcut = 16,
  cxAccessibleValue = 32,
};

// The most levels a walk up or through the tree takes: a real chain (dock site, bar, caption
// buttons, button) is a handful of levels, so the bound only stops a cycle that a faulty
// element kind's parent would make, instead of hanging the caller.
constexpr int cxAccessibilityMaxTreeDepth = 64;

// What GetHitTest found.
enum : int { cxAccessibleHitNothing = 0, cxAccessibleHitSelf = 1, cxAccessibleHitChild = 2 };

class TcxAccessibilityHelper : public IAccessible, public IOleWindow, public IcxAccessibilityHelper {
public:
  // The caller owns the first reference.
  explicit TcxAccessibilityHelper(TObject* AOwnerObject);
  virtual ~TcxAccessibilityHelper();
  TcxAccessibilityHelper(const TcxAccessibilityHelper&) = delete;
  TcxAccessibilityHelper& operator=(const TcxAccessibilityHelper&) = delete;

  // The owner goes: from now on every call answers CO_E_OBJNOTCONNECTED without touching it.
  void STDMETHODCALLTYPE OwnerObjectDestroyed() override;
  TcxAccessibilityHelper* STDMETHODCALLTYPE GetHelper() override { return this; }
  // False once the owner announced its end or can be seen to be gone.
  bool IsAlive();
  TObject* GetOwnerObject() { return IsAlive() ? FOwnerObject : nullptr; }

  // --- What the element kinds answer. Child indexes are 0-based.
  virtual bool ChildIsSimpleElement(int AIndex) = 0;
  virtual void DoDefaultAction(int AChildID) {}
  // AIsChild false with AIndex -1: nothing has the focus; AIsChild false, AIndex 0: self.
  virtual bool GetFocusedChild(bool& AIsChild, int& AIndex) { return false; }
  virtual TcxAccessibilityHelper* GetChild(int AIndex) { return nullptr; }
  virtual int GetChildCount() { return 0; }
  virtual int GetChildIndex(TcxAccessibilityHelper* AChild) = 0;
  virtual String GetDefaultActionDescription(int AChildID) { return String(); }
  virtual String GetDescription(int AChildID) { return String(); }
  virtual int GetHitTest(int AScreenX, int AScreenY, int& AChildIndex) { return cxAccessibleHitNothing; }
  virtual void GetKeyboardShortcut(int AChildID, TShortCut& AShortCut, String& ACaption, bool& AUseCaption) {}
  virtual String GetName(int AChildID) { return String(); }
  virtual HWND GetOwnerObjectWindow() { return nullptr; }
  virtual TcxAccessibilityHelper* GetParent() { return nullptr; }
  virtual int GetRole(int AChildID) { return 0; }
  virtual TRect GetScreenBounds(int AChildID) { return TRect{}; }
  virtual int GetState(int AChildID) { return 0; }
  virtual int GetSupportedProperties(int AChildID) { return 0; }
  virtual String GetValue(int AChildID) = 0;
  // The child reached from AIndex in a direction; AIndex itself when none.
  virtual int GetNextChildIndex(int AIndex, TcxAccessibilityNavigationDirection ADirection) = 0;
  virtual void SetValue(int AChildID, const String& AValue) {}

  bool IsVisible() { return (GetState(CHILDID_SELF) & STATE_SYSTEM_INVISIBLE) == 0; }
  // The top of the tree this helper hangs in.
  TcxAccessibilityHelper* GetRootHelper();
  IAccessible* GetIAccessible() { return static_cast<IAccessible*>(this); }

  // --- IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // --- IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

  // --- IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* pcountChildren) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flagsSelect, VARIANT varChild) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                        VARIANT varChild) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT varChild, BSTR szName) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varChild, BSTR szValue) override;

  // --- IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;

protected:
  // Descendants that can watch their owner tell here whether it still lives.
  virtual bool IsOwnerAlive() const { return true; }

private:
  // Reads a child id: S_OK with AChildID 0 (self) or 1 .. count when that child is simple;
  // with AAllowObjects an object child is accepted too.
  HRESULT CheckChildID(const VARIANT& AChild, int& AChildID, bool AAllowObjects = false);
  HRESULT ReturnText(const String& AText, BSTR* AResult, bool AEmptyIsFalse);
  // The checks every call on a child makes, inside the guard: the helper still alive, a child
  // id it knows, and AProperty (0: any) supported; then AWork(id) answers.
  template <class F>
  HRESULT ForChild(const VARIANT& AChild, int AProperty, F&& AWork)
  {
    return cxAccessibilityGuard([&]() -> HRESULT {
      if (!IsAlive())
        return cxAccessibleObjectGone;
      int id;
      if (HRESULT hr = CheckChildID(AChild, id); FAILED(hr))
        return hr;
      if (AProperty && !(GetSupportedProperties(id) & AProperty))
        return DISP_E_MEMBERNOTFOUND;
      return AWork(id);
    });
  }
  // A text property of a child: checked as every call is, asked only when AProperty (0: any)
  // is supported.
  HRESULT TextProperty(const VARIANT& AChild, BSTR* AResult, int AProperty,
                       String (TcxAccessibilityHelper::*AGetter)(int), bool AEmptyIsFalse);
  // A number property of a child (role, state), checked as every call is.
  HRESULT NumberProperty(const VARIANT& AChild, VARIANT* AResult, int (TcxAccessibilityHelper::*AGetter)(int));
  // VT_I4 id, or VT_DISPATCH for a child that has its own object.
  void ChildToVariant(int AChildID, VARIANT* AResult);

  LONG FRefCount = 1;
  bool FAlive = true;
  TObject* FOwnerObject;
};

// Holds one reference to a helper.
class TcxAccessibilityHelperRef {
public:
  TcxAccessibilityHelperRef() = default;
  // Takes over the reference the caller owns (a helper just made).
  explicit TcxAccessibilityHelperRef(TcxAccessibilityHelper* AHelper) : FHelper(AHelper) {}
  // A reference of its own to a helper someone else holds (a helper keeping itself alive
  // for an action that runs later).
  static TcxAccessibilityHelperRef Share(TcxAccessibilityHelper* AHelper)
  {
    if (AHelper)
      AHelper->AddRef();
    return TcxAccessibilityHelperRef(AHelper);
  }
  TcxAccessibilityHelperRef(const TcxAccessibilityHelperRef& A) : FHelper(A.FHelper)
  {
    if (FHelper)
      FHelper->AddRef();
  }
  TcxAccessibilityHelperRef& operator=(TcxAccessibilityHelperRef A)
  {
    std::swap(FHelper, A.FHelper);
    return *this;
  }
  ~TcxAccessibilityHelperRef()
  {
    if (FHelper)
      FHelper->Release();
  }
  TcxAccessibilityHelper* Get() const { return FHelper; }
  TcxAccessibilityHelper* operator->() const { return FHelper; }
  explicit operator bool() const { return FHelper != nullptr; }

private:
  TcxAccessibilityHelper* FHelper = nullptr;
};

// The system library's entry points, bound at start-up; nil when it is missing.
using TcxAccessibleObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using TcxLresultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
extern TcxAccessibleObjectFromWindow cxAccessibleObjectFromWindow;
extern TcxLresultFromObject cxLresultFromObject;
void cxAccessibilityBind();
// Undoing the binding also undoes the calling thread's COM set-up of
// cxAccessibilityAnswerGetObject; the system library itself stays loaded.
void cxAccessibilityUnbind();
// Answers WM_GETOBJECT for the client area with the helper; 0 (let the system answer) for
// other objects, without the system library or when COM cannot be had on this thread.
LRESULT cxAccessibilityAnswerGetObject(TcxAccessibilityHelper* AHelper, WPARAM wParam, LPARAM lParam);
