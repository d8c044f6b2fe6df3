// The program-wide set-up of the scene tests (the class layer, the bar library and the classes
// the scene's form data names) and the shared pieces: the scene's form data, its fixture, and
// input sent from a helper thread.
#include "SceneTestUtil.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/Bitmap.h"
#include "platform/Streams.h"
#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TSceneForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const SceneEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TSceneForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass(), TdxBarLargeButton::StaticClass()});

TColor ToTColor(COLORREF C)
{
  return TColor(C);
}

// The "Data" of a glyph as form data writes it: the byte count, then the BMP file, in hex.
String GlyphData(int ASize, COLORREF ASquare)
{
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(ASize, ASize);
  glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph.GetCanvas()->FillRect(Rect(0, 0, ASize, ASize));
  glyph.GetCanvas()->GetBrush()->SetColor(ToTColor(ASquare));
  const int inset = ASize / 8;
  glyph.GetCanvas()->FillRect(Rect(inset, inset, ASize - inset, ASize - inset));
  TMemoryStream bytes;
  glyph.SaveToStream(&bytes);
  const auto* p = static_cast<const uint8_t*>(bytes.Memory());
  const uint32_t size = uint32_t(bytes.GetSize());
  String hex;
  auto put = [&hex](uint8_t b) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    hex += digits[b >> 4];
    hex += digits[b & 15];
  };
  for (int i = 0; i < 4; ++i)
    put(uint8_t(size >> (8 * i)));
  for (uint32_t i = 0; i < size; ++i)
    put(p[i]);
  return L"{" + hex + L"}";
}

}  // namespace

String SceneFormText()
{
  const String blue = GlyphData(16, SmallGlyphBlue);
  const String green = GlyphData(16, CheckGlyphGreen);
  const String red = GlyphData(32, LargeGlyphRed);
  return String(
             L"object SceneForm: TSceneForm\n"
             L"  Left = 60\n  Top = 60\n  Width = 560\n  Height = 300\n  Caption = 'Scene'\n"
             L"  object dxBarManager1: TdxBarManager\n"
             L"    Style = bmsFlat\n"
             L"    object dxBarManager1Bar1: TdxBar\n"
             L"      Caption = 'Main'\n"
             L"      DockedLeft = 0\n      DockedTop = 0\n      DockingStyle = dsTop\n"
             L"      FloatLeft = 0\n      FloatTop = 0\n      FloatClientWidth = 0\n      FloatClientHeight = 0\n") +
         ItemLinksText({L"btnOpen", L"btnBlue", L"btnCheck", L"btnMenu", L"|btnOff", L"btnLarge"}) +
         L"      OneOnRow = True\n      Row = 0\n      UseOwnFont = False\n      Visible = True\n"
         L"      WholeRow = False\n"
         L"    end\n"
         L"    object dxBarManager1Bar2: TdxBar\n"
         L"      Caption = 'Tools'\n"
         L"      DockingStyle = dsNone\n"
         L"      FloatLeft = 240\n      FloatTop = 480\n      FloatClientWidth = 140\n      FloatClientHeight = 30\n" +
         ItemLinksText({L"btnTool"}) +
         L"      UseOwnFont = False\n      Visible = True\n"
         L"    end\n"
         L"    object btnOpen: TdxBarButton\n      Caption = 'Open'\n      Category = 0\n      Visible = ivAlways\n"
         L"    end\n"
         L"    object btnBlue: TdxBarButton\n      Caption = 'Blue'\n      Category = 0\n      Visible = ivAlways\n"
         L"      Glyph.Data = " +
         blue +
         L"\n"
         L"    end\n"
         L"    object btnCheck: TdxBarButton\n      Caption = 'Check'\n      Category = 0\n      Visible = ivAlways\n"
         L"      ButtonStyle = bsChecked\n      Down = True\n"
         L"      Glyph.Data = " +
         green +
         L"\n"
         L"    end\n"
         L"    object btnMenu: TdxBarButton\n      Caption = 'Menu'\n      Category = 0\n      Visible = ivAlways\n"
         L"      ButtonStyle = bsDropDown\n"
         L"      Glyph.Data = " +
         blue +
         L"\n"
         L"    end\n"
         L"    object btnOff: TdxBarButton\n      Caption = 'Off'\n      Category = 0\n      Enabled = False\n"
         L"      Visible = ivAlways\n"
         L"      Glyph.Data = " +
         blue +
         L"\n"
         L"    end\n"
         L"    object btnLarge: TdxBarLargeButton\n      Caption = 'Large'\n      Category = 0\n"
         L"      Visible = ivAlways\n      GlyphLayout = glTop\n"
         L"      LargeGlyph.Data = " +
         red +
         L"\n"
         L"    end\n"
         L"    object btnTool: TdxBarButton\n      Caption = 'Tool'\n      Category = 0\n      Visible = ivAlways\n"
         L"    end\n"
         L"  end\n"
         L"end\n";
}

void TSceneFixture::SetUp()
{
  Form = TCustomForm::CreateFromText<TSceneForm>(SceneFormText(), nullptr);
  ASSERT_NE(Form, nullptr);
  Manager = dynamic_cast<TdxBarManager*>(Form->FindComponent(L"dxBarManager1"));
  ASSERT_NE(Manager, nullptr);
  ASSERT_EQ(Manager->GetBars()->GetCount(), 2);
  Docked = Manager->GetBars()->GetItem(0);
  Floating = Manager->GetBars()->GetItem(1);
  MoveAway();
  Form->Show();
  ASSERT_TRUE(ActivateWindow(Form->GetHandle()));
  PumpUntil([&] { return Docked->GetControl() && Docked->GetControl()->HandleAllocated(); });
  Toolbar = Docked->GetControl();
  ASSERT_NE(Toolbar, nullptr);
  ASSERT_TRUE(Toolbar->HandleAllocated());
}

void TSceneFixture::TearDown()
{
  SendMouseButton(false);
  MoveAway();
  PumpPending();
  if (Form)
    Form->Free();
  Form = nullptr;
}

void TSceneFixture::MoveAway()
{
  MoveMouseTo(POINT{1200, 1000});
  PumpPending();
}

TdxBarItemLink* TSceneFixture::LinkOf(const String& AItemName) const
{
  TdxBarItemLinks* links = Docked->GetItemLinks();
  for (int i = 0; i < links->Count(); ++i)
    if (TdxBarItem* item = links->Items(i)->GetItem(); item && item->Name() == AItemName)
      return links->Items(i);
  return nullptr;
}

RECT TSceneFixture::InShot(const String& AItemName) const
{
  const TRect r = ScreenRectOf(LinkOf(AItemName));
  const RECT w = WindowRectOf(Toolbar->GetHandle());
  return RECT{r.left - w.left, r.top - w.top, r.right - w.left, r.bottom - w.top};
}

TDib32 TSceneFixture::Shot(const char* AName, TdxBarControl* AControl)
{
  TdxBarControl* control = AControl ? AControl : Toolbar;
  HWND wnd = control->GetHandle();
  RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
  TDib32 shot = CaptureScreen(WindowRectOf(wnd));
  SaveShotOnRequest(shot, AName);
  return shot;
}

COLORREF TSceneFixture::Flat(int AIndex) const
{
  return COLORREF(ColorToRGB(Manager->GetFlatBrushColor(AIndex)));
}
