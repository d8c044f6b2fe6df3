// The bars' accessibility helpers: what every kind of element shares (the tree order that
// keyboard navigation follows, an element's key tip), the key-tip texts, and the routines the
// kinds share: geometry and the deferral of a client's action.
#include "bars/accessibility/baraccessibility.h"

#include <algorithm>
#include <functional>

#include "bars/accessibility/baraccessibility_impl.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/utils/utils.h"
#include "platform/Threads.h"

namespace {

// Key tips keep to this many characters before they are told apart.
constexpr size_t KeyTipMaxLength = 3;
// Every pass of the uniqueness rule only lengthens texts; the cap is insurance.
constexpr int KeyTipUniquePassLimit = 16;

}  // namespace

namespace BarAccessibility {

TRect WindowScreenRect(TWinControl* AControl)
{
  RECT r{};
  if (AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->GetHandle()))
    ::GetWindowRect(AControl->GetHandle(), &r);
  return r;
}

bool IsWindowShown(TWinControl* AControl)
{
  return AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->GetHandle());
}

TPoint RectCentre(const TRect& R)
{
  return TPoint{R.left + (R.right - R.left) / 2, R.top + (R.bottom - R.top) / 2};
}

}  // namespace BarAccessibility

namespace BarAccessibility {

// An action a client asks for runs from the message loop, not inside the client's call: a
// click may open a menu with a loop of its own, or free the element that was asked. A user's
// OnClick that raises is reported as a click by the pointer would be.
void DeferAction(std::function<void()> AAction)
{
  RunLater(std::move(AAction));
}

TdxBarAccessibilityHelper* HelperOf(TObject* AOwner)
{
  return dxBarGetAccessibilityHelper(AOwner);
}

}  // namespace BarAccessibility

// --- TdxBarAccessibilityHelper

TdxBarAccessibilityHelper::TdxBarAccessibilityHelper(TObject* AOwnerObject)
    : TcxAccessibilityHelper(AOwnerObject), FOwnerRef(AOwnerObject)
{
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetBarChild(int AIndex)
{
  return IsAlive() ? static_cast<TdxBarAccessibilityHelper*>(GetChild(AIndex)) : nullptr;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetBarParent()
{
  return IsAlive() ? static_cast<TdxBarAccessibilityHelper*>(GetParent()) : nullptr;
}

std::vector<TdxBarAccessibilityHelper*> TdxBarAccessibilityHelper::GetBarChildren()
{
  std::vector<TdxBarAccessibilityHelper*> result;
  if (IsAlive())
    for (int i = 0, count = GetChildCount(); i < count; ++i)
      result.push_back(static_cast<TdxBarAccessibilityHelper*>(GetChild(i)));
  return result;
}

TcxAccessibilityHelper* TdxBarAccessibilityHelper::ChildAt(int AIndex)
{
  std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  return AIndex >= 0 && AIndex < int(children.size()) ? children[size_t(AIndex)] : nullptr;
}

int TdxBarAccessibilityHelper::GetChildIndex(TcxAccessibilityHelper* AChild)
{
  std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  auto it = std::find(children.begin(), children.end(), AChild);
  return it == children.end() ? -1 : int(it - children.begin());
}

int TdxBarAccessibilityHelper::GetNextChildIndex(int AIndex, TcxAccessibilityNavigationDirection ADirection)
{
  const std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  const int count = int(children.size());
  if (ADirection == andNext)
    return AIndex + 1 < count ? AIndex + 1 : AIndex;
  if (ADirection == andPrev)
    return AIndex > 0 ? AIndex - 1 : AIndex;
  std::vector<TRect> rects;
  std::vector<int> indexes;
  TRect current{};
  for (int i = 0; i < count; ++i) {
    TcxAccessibilityHelper* child = children[size_t(i)];
    if (!child)
      continue;
    if (i == AIndex) {
      current = child->GetScreenBounds(CHILDID_SELF);
    } else if (child->IsVisible()) {
      rects.push_back(child->GetScreenBounds(CHILDID_SELF));
      indexes.push_back(i);
    }
  }
  const int found = FindNearestInDirection(current, rects, ADirection, false);
  return found < 0 ? AIndex : indexes[size_t(found)];
}

int TdxBarAccessibilityHelper::GetHitTest(int AScreenX, int AScreenY, int& AChildIndex)
{
  const POINT p{AScreenX, AScreenY};
  const std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  for (int i = 0, count = int(children.size()); i < count; ++i)
    if (TcxAccessibilityHelper* child = children[size_t(i)]; child && child->IsVisible()) {
      const TRect r = child->GetScreenBounds(CHILDID_SELF);
      if (PtInRect(&r, p)) {
        AChildIndex = i;
        return cxAccessibleHitChild;
      }
    }
  return cxAccessibleHitSelf;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetFirstSelectableChild(bool AFromFirst)
{
  if (!IsAlive() || !IsVisible() || !CanNavigateToChildren())
    return nullptr;
  const std::vector<TdxBarAccessibilityHelper*> children = GetBarChildren();
  const int count = int(children.size());
  for (int n = 0; n < count; ++n) {
    TdxBarAccessibilityHelper* child = children[size_t(AFromFirst ? n : count - 1 - n)];
    if (!child || !child->IsVisible())
      continue;
    if (child->IsSelectable())
      return child;
    if (TdxBarAccessibilityHelper* inner = child->GetFirstSelectableChild(AFromFirst))
      return inner;
  }
  return nullptr;
}

// Siblings first, a non-selectable sibling searched inside; then the parent's siblings.
TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::GetNextNavigationTarget(bool AForward)
{
  TdxBarAccessibilityHelper* current = this;
  for (int depth = 0; depth < cxAccessibilityMaxTreeDepth; ++depth) {
    TdxBarAccessibilityHelper* parent = current->GetBarParent();
    if (!parent)
      return nullptr;
    const std::vector<TdxBarAccessibilityHelper*> siblings = parent->GetBarChildren();
    const int count = int(siblings.size());
    auto at = std::find(siblings.begin(), siblings.end(), current);
    const int own = at == siblings.end() ? -1 : int(at - siblings.begin());
    for (int i = own + (AForward ? 1 : -1); i >= 0 && i < count; i += AForward ? 1 : -1) {
      TdxBarAccessibilityHelper* sibling = siblings[size_t(i)];
      if (!sibling || !sibling->IsVisible())
        continue;
      if (sibling->IsSelectable())
        return sibling;
      if (TdxBarAccessibilityHelper* inner = sibling->GetFirstSelectableChild(AForward))
        return inner;
    }
    current = parent;
  }
  return nullptr;
}

String TdxBarAccessibilityHelper::GetKeyTip()
{
  String result = GetExplicitKeyTip();
  if (result.empty())
    result = GetDefaultKeyTip();
  if (result.size() > KeyTipMaxLength)
    result.resize(KeyTipMaxLength);
  return result;
}

void TdxBarAccessibilityHelper::InitializeKeyTipData(TdxBarKeyTipInfo& AData)
{
  AData.Text = GetKeyTip();
  AData.Visible = IsVisible();
  AData.HorzAlign = TdxBarKeyTipAlign::Centre;
  AData.VertAlign = TdxBarKeyTipAlign::Centre;
  AData.BarControl = GetOwnerControl();
  AData.OnExecute = [ref = TcxAccessibilityHelperRef::Share(this)] {
    auto* helper = static_cast<TdxBarAccessibilityHelper*>(ref.Get());
    if (helper->IsAlive())
      helper->ExecuteKeyTip();
  };
}

void TdxBarAccessibilityHelper::AddOwnKeyTip(std::vector<TdxBarKeyTipInfo>& AList)
{
  TdxBarKeyTipInfo data;
  InitializeKeyTipData(data);
  if (!data.Text.empty())
    AList.push_back(std::move(data));
}

void TdxBarAccessibilityHelper::CollectChildKeyTips(std::vector<TdxBarKeyTipInfo>& AList)
{
  if (!IsAlive() || !IsVisible())
    return;
  for (TdxBarAccessibilityHelper* child : GetBarChildren())
    if (child) {
      if (child->IsSelectable())
        child->AddOwnKeyTip(AList);
      else
        child->CollectChildKeyTips(AList);
    }
}

void TdxBarAccessibilityHelper::CollectUniqueKeyTips(std::vector<TdxBarKeyTipInfo>& AList)
{
  dxBarCollectUniqueKeyTips({this}, AList);
}

// --- Free routines

void dxBarCollectUniqueKeyTips(const std::vector<TdxBarAccessibilityHelper*>& AHelpers,
                               std::vector<TdxBarKeyTipInfo>& AList)
{
  const size_t first = AList.size();
  for (TdxBarAccessibilityHelper* helper : AHelpers)
    if (helper)
      helper->CollectChildKeyTips(AList);
  std::vector<String> texts;
  for (size_t i = first; i < AList.size(); ++i)
    texts.push_back(AList[i].Text);
  dxBarMakeKeyTipsUnique(texts);
  for (size_t i = first; i < AList.size(); ++i)
    AList[i].Text = texts[i - first];
}

String dxBarDefaultKeyTipOfCaption(const String& ACaption)
{
  const wchar_t accel = GetAccelChar(ACaption);
  return accel ? dxBarKeyTipUpperCase(String(1, accel)) : String(L"Y");
}

// Texts are compared as the user types them, whatever their case.
void dxBarMakeKeyTipsUnique(std::vector<String>& ATexts)
{
  for (String& text : ATexts)
    text = dxBarKeyTipUpperCase(text);
  for (int pass = 0; pass < KeyTipUniquePassLimit; ++pass) {
    bool changed = false;
    for (size_t i = 0; i < ATexts.size(); ++i) {
      const String text = ATexts[i];
      std::vector<size_t> same;
      bool prefixOfOther = false;
      for (size_t j = 0; j < ATexts.size(); ++j) {
        if (ATexts[j] == text)
          same.push_back(j);
        else if (ATexts[j].compare(0, text.size(), text) == 0)
          prefixOfOther = true;
      }
      if (same.size() > 1) {
        const size_t digits = IntToStr(int(same.size())).size();
        for (size_t n = 0; n < same.size(); ++n) {
          String number = IntToStr(int(n + 1));
          ATexts[same[n]] += String(digits - number.size(), L'0') + number;
        }
        changed = true;
      } else if (prefixOfOther) {
        ATexts[i] += L"1";
        changed = true;
      }
    }
    if (!changed)
      break;
  }
}
