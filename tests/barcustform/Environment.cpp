// The program-wide set-up of the Customize dialog tests and their helpers.
#include "CustFormTestUtil.h"

#include "bars/keyboard/navigation.h"
#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TCustFormHost, TForm)

namespace {

[[maybe_unused]] testing::Environment* const CustFormEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TCustFormHost::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass()});

String Bar(const String& AName, const String& ACaption, int ARow, const String& AExtra,
           const std::vector<String>& ALinks)
{
  return L"object " + AName + L": TdxBar\nCaption = '" + ACaption + L"'\nDockingStyle = dsTop\nRow = " +
         std::to_wstring(ARow) + L"\n" + AExtra + ItemLinksText(ALinks) + L"Visible = True\nend\n";
}

String FormText()
{
  String text =
      L"object CustFormHost: TCustFormHost\nobject dxBarManager1: TdxBarManager\n"
      L"Categories.Strings = ('File' 'Tools')\n" +
      Bar(L"MainMenuBar", L"Main Menu", 0, L"IsMainMenu = True\n", {L"File0", L"File1"}) +
      Bar(L"ToolsBar", L"Tools", 1, L"", {L"Tool0", L"Tool1", L"Tool2"}) +
      Bar(L"FormatBar", L"Format", 2, L"AllowClose = False\n", {L"Tool0"}) +
      Bar(L"SecretBar", L"Secret", 3, L"Hidden = True\n", {L"Tool1"});
  text +=
      L"object File0: TdxBarButton\nCaption = '&Open'\nCategory = 0\nend\n"
      L"object File1: TdxBarButton\nCaption = 'Save'\nCategory = 0\nDescription = 'Saves the song list'\nend\n";
  for (String name : {L"Tool0", L"Tool1", L"Tool2"})
    text += L"object " + name + L": TdxBarButton\nCaption = '" + name + L"'\nCategory = 1\nend\n";
  return text + L"end\nend\n";
}

int GBeeps = 0;
void CountBeep()
{
  ++GBeeps;
}

}  // namespace

void TCustFormFixture::SetUp()
{
  Host = TCustomForm::CreateFromText<TCustFormHost>(FormText(), nullptr);
  HostOwner = std::make_unique<TOwned<TCustFormHost>>(Host);
  Manager = dynamic_cast<TdxBarManager*>(Host->FindComponent(L"dxBarManager1"));
  ASSERT_NE(Manager, nullptr);
  Manager->OnShowCustomizingForm = TNotifyEvent([this](TObject*) { ++ShowCount; });
  Manager->OnHideCustomizingForm = TNotifyEvent([this](TObject*) { ++HideCount; });
}

void TCustFormFixture::TearDown()
{
  if (Manager)
    Manager->SetIsCustomizing(false);
  PumpPending();
  HostOwner.reset();
  PumpPending();
  EXPECT_EQ(GetCustomizingForm(), nullptr) << "no dialog outlives its test";
}

TdxBarCustomizingForm* TCustFormFixture::Open()
{
  Host->SetBounds(100, 80, 520, 320);
  Host->Show();
  ActivateWindow(Host->GetHandle());
  Manager->SetIsCustomizing(true);
  Dialog = GetCustomizingForm();
  EXPECT_NE(Dialog, nullptr);
  if (Dialog)
    ActivateWindow(Dialog->GetHandle());
  PumpPending();
  return Dialog;
}

POINT TCustFormFixture::EntryPoint(TListBox* AList, int AIndex, int AX)
{
  TRect r = AList->ItemRect(AIndex);
  POINT p{AX < 0 ? (r.left + r.right) / 2 : r.left + AX, (r.top + r.bottom) / 2};
  ::ClientToScreen(AList->GetHandle(), &p);
  return p;
}

void ClickControl(TWinControl* AControl)
{
  const RECT r = WindowRectOf(AControl->GetHandle());
  ASSERT_TRUE(ClickAt(POINT{r.left + 8, (r.top + r.bottom) / 2}));
  PumpPending();
}

TBeepScope::TBeepScope()
{
  GBeeps = 0;
  FPrevious = SetdxBarBeepProc(&CountBeep);
}

TBeepScope::~TBeepScope()
{
  SetdxBarBeepProc(FPrevious);
}

int TBeepScope::Count() const
{
  return GBeeps;
}

TOtherHost::TOtherHost() : Form(TCustomForm::CreateNew<TCustFormHost>(nullptr))
{
  Manager = new TdxBarManager(Form.Get());
  Form->SetBounds(640, 80, 300, 200);
  Form->Show();
  PumpPending();
}

TDib32 ShootWindow(HWND AWnd)
{
  return CaptureScreen(WindowRectOf(AWnd));
}
