// The program-wide set-up of the tests on the demo's window and their helpers.
#include "DemoTestUtil.h"

#include "bars/model/itemlinks.h"
#include "demo/Output.h"
#include "platform/ImgList.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

[[maybe_unused]] testing::Environment* const DemoEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TMainForm::StaticClass(), TImageList::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace

std::vector<String>& DemoOutputLines()
{
  static std::vector<String> lines;
  return lines;
}

// The demo writes its lines to standard output; here they are kept for the tests to read.
void WriteOutputLine(const String& Line)
{
  DemoOutputLines().push_back(Line);
}

void TDemoFixture::SetUp()
{
  DemoOutputLines().clear();
  Form = TCustomForm::Create<TMainForm>(nullptr);
  FormOwner = std::make_unique<TOwned<TMainForm>>(Form);
  Manager = Form->GetBarManager();
  Bar = Form->GetCommandBar();
  ASSERT_NE(Manager, nullptr);
  ASSERT_NE(Bar, nullptr);
  MoveMouseTo(POINT{700, 560});
  ShowFormAt(Form, 60, 60, 560, 360);
}

void TDemoFixture::TearDown()
{
  if (Manager)
    Manager->SetIsCustomizing(false);
  PumpPending();
  FormOwner.reset();
  PumpPending();
  EXPECT_EQ(GetCustomizingForm(), nullptr) << "no dialog outlives its test";
}

TdxBarItemLinks* TDemoFixture::Links() const
{
  return Bar->GetItemLinks();
}

TdxBarItemLink* TDemoFixture::LinkOf(const String& ACaption) const
{
  for (int i = 0; i < Links()->Count(); ++i)
    if (TdxBarItem* item = Links()->Items(i)->GetItem(); item && item->GetCaption() == ACaption)
      return Links()->Items(i);
  return nullptr;
}

bool TDemoFixture::ClickReports(const String& ACaption)
{
  const size_t before = DemoOutputLines().size();
  if (!ClickAt(ScreenCentreOf(LinkOf(ACaption))))
    return false;
  PumpUntil([&] { return DemoOutputLines().size() > before; }, 1000);
  return DemoOutputLines().size() == before + 1 && DemoOutputLines().back() == L"clicked: " + ACaption;
}

bool TDemoFixture::ClickTab(TTabSheet* APage)
{
  TPageControl* pages = APage->GetPageControl();
  RECT r{};
  ::SendMessageW(pages->GetHandle(), TCM_GETITEMRECT, WPARAM(APage->GetTabIndex()), reinterpret_cast<LPARAM>(&r));
  ::MapWindowPoints(pages->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  if (!ClickAt(CentreOf(r)))
    return false;
  return PumpUntil([&] { return pages->GetActivePage() == APage; }, 2000);
}

bool TDemoFixture::Drag(POINT AFrom, POINT ATo)
{
  MoveMouseTo(AFrom);
  return RunScript(
      [&] {
        SendMouseButton(true);
        PauseScript(80);
        for (int i = 1; i <= 8; ++i) {
          SendMouseMove(POINT{AFrom.x + (ATo.x - AFrom.x) * i / 8, AFrom.y + (ATo.y - AFrom.y) * i / 8});
          PauseScript(30);
        }
        PauseScript(60);
        SendMouseButton(false);
      },
      [&] { return ::GetCapture() == nullptr && !Manager->IsDragging(); }, 100, 10000);
}
