// The program-wide set-up of the button tests and the bodies of their test doubles.
#include "ButtonTestUtil.h"

#include "platform/Canvas.h"
#include "platform/ImgList.h"

IMPLEMENT_CLASS(TButtonTestForm, TForm)
IMPLEMENT_CLASS(TTestButtonBar, TCustomdxBarControl)
IMPLEMENT_CLASS(TTestDropDownMenu, TComponent)

TTestDropDownMenu::TTestDropDownMenu(TComponent* AOwner) : TComponent(AOwner)
{
  FLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(GetBarManagerByOwner(AOwner), this);
}

TTestDropDownMenu::~TTestDropDownMenu()
{
  FLinks.reset();
}

TCustomdxBarControl* TTestDropDownMenu::CreateBarControl()
{
  auto* bar = new TTestButtonBar(FLinks->GetBarManager());
  bar->BarKind = bkMenu;
  return bar;
}

TCustomdxBarControl* TTestDropDownMenu::DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P,
                                                     const TRect& AExcludeRect, TCustomdxBarControl* AParentBar)
{
  ++OpenCount;
  LastOwner = AOwnerControl;
  LastPoint = P;
  LastExclude = AExcludeRect;
  LastParent = AParentBar;
  LastShownByKeyboard = AParentBar && AParentBar->IsMenuShownByKeyboard();
  FLinks->CreateBarControl();
  // A real (hidden) window: selecting an item needs one.
  if (TCustomdxBarControl* bar = FLinks->GetBarControl())
    bar->HandleNeeded();
  for (int i = 0; i < FLinks->Count(); ++i)
    FLinks->Items(i)->CreateControl();
  return FLinks->GetBarControl();
}

void TTestDropDownMenu::CloseDropDownMenu()
{
  if (!IsOpen())
    return;
  ++CloseCount;
  FLinks->DestroyBarControl();
}

void TButtonFixture::SetUp()
{
  ToolbarOwner = std::make_unique<TTestBarOwner>(Host.Manager, bkHorizontal);
  MenuOwner = std::make_unique<TTestBarOwner>(Host.Manager, bkMenu);
  ToolbarLinks = std::make_unique<TdxBarControlItemLinks>(Host.Manager, ToolbarOwner.get());
  MenuLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(Host.Manager, MenuOwner.get());
  ToolbarLinks->CreateBarControl();
  MenuLinks->CreateBarControl();
  Toolbar = BarOf(ToolbarLinks.get());
  Menu = BarOf(MenuLinks.get());
  ASSERT_NE(Toolbar, nullptr);
  ASSERT_NE(Menu, nullptr);
  Toolbar->SetFont(Host.Manager->GetFont());
  Menu->SetFont(Host.Manager->GetFont());
}

void TButtonFixture::TearDown()
{
  MenuLinks.reset();
  ToolbarLinks.reset();
  MenuOwner.reset();
  ToolbarOwner.reset();
}

std::unique_ptr<TCustomImageList> MakeButtonImages(int ASize, int ACount)
{
  auto images = std::make_unique<TCustomImageList>(ASize, ASize);
  for (int i = 0; i < ACount; ++i) {
    std::unique_ptr<TBitmap> glyph = MakeGlyph(ASize, ASize, TColor(0x000080 + i * 0x100000));
    images->Add(glyph.get(), nullptr);
  }
  return images;
}

namespace {

[[maybe_unused]] testing::Environment* const LibraryEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TButtonTestForm::StaticClass(), TdxBarManager::StaticClass()});

}  // namespace
