// The container and list kinds in each of the five looks: the hosted edit stays on its
// toolbar with the look's background behind it, the placeholder keeps its frame, and a menu
// shows the lists expanded in place. With TEST_SHOTS=1 each look is saved as
// container-<look>.bmp (the toolbar with the open menu below it).
#include <algorithm>

#include "ContainerTestUtil.h"

namespace {

class TContainerLooksTest : public TContainerFixture {
protected:
  void SetUp() override
  {
    TContainerFixture::SetUp();
    Hosted = new TdxBarControlContainerItem(Host.Form());
    Hosted->SetControl(Edit);
    Hosted->SetCaption(L"Find");
    Empty = new TdxBarControlContainerItem(Host.Form());
    Empty->SetName(L"Spare");
    Empty->SetCaption(L"Spare");
    Bar->GetItemLinks()->AddItem(Hosted);
    Bar->GetItemLinks()->AddItem(Empty);
    Recent = new TdxBarMRUListItem(Host.Form());
    Recent->AddItem(L"C:\\projects\\2026\\reports\\quarterly\\summary.txt");
    Recent->AddItem(L"C:\\notes.txt");
    Toolbars = new TdxBarToolbarsListItem(Host.Form());
    Toolbars->SetCaption(L"Toolbars");
    InPlace = new TdxBarInPlaceSubItem(Host.Form());
    InPlace->SetCaption(L"More");
    InPlace->SetExpanded(true);
    auto* inner = new TdxBarButton(Host.Form());
    inner->SetCaption(L"Inner");
    InPlace->GetItemLinks()->AddItem(inner);
    auto* last = new TdxBarButton(Host.Form());
    last->SetCaption(L"Last");
    for (TdxBarItem* item : std::initializer_list<TdxBarItem*>{Recent, Toolbars, InPlace, Hosted, last})
      SubItem->GetItemLinks()->AddItem(item);
    Settle();
  }

  TdxBarControlContainerItem* Hosted = nullptr;
  TdxBarControlContainerItem* Empty = nullptr;
  TdxBarMRUListItem* Recent = nullptr;
  TdxBarToolbarsListItem* Toolbars = nullptr;
  TdxBarInPlaceSubItem* InPlace = nullptr;
};

}  // namespace

TEST_F(TContainerLooksTest, EachLookShowsTheHostedControlThePlaceholderAndTheListsInAMenu)
{
  const auto& looks = BarTestLooks;
  for (const TBarTestLook& look : looks) {
    SCOPED_TRACE(look.Name);
    Manager->SetStyle(look.Style);
    Settle();
    TdxBarItemControl* hosted = OnBar(Hosted);
    TdxBarItemControl* empty = OnBar(Empty);
    ASSERT_TRUE(hosted && empty);
    TPlaceForm* form = Hosted->GetPlaceForm();
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_EQ(::GetParent(form->GetHandle()), Bar->GetControl()->GetHandle());
    EXPECT_TRUE(::IsWindowVisible(Edit->GetHandle()));
    EXPECT_EQ(form->GetColor(), dxBarBrushColor(Bar->GetControl()->GetBackgroundBrush()))
        << "the host takes the look's bar colour";
    ::UpdateWindow(Bar->GetControl()->GetHandle());
    Settle();
    TDib32 placeholder = CaptureScreen(ScreenRect(empty));
    EXPECT_TRUE(ColorNear(placeholder.Pixel(0, 0), ::GetSysColor(COLOR_BTNSHADOW)));

    // Each look presses a point of its own: two presses at one point would make a double click.
    POINT press = ScreenCenter(OnBar(SubItem));
    press.x += (&look - looks) % 2 ? 8 : -8;
    ASSERT_TRUE(ClickAt(press));
    ASSERT_TRUE(PumpUntil([&] { return Menu() && ::IsWindowVisible(Menu()->GetHandle()); }));
    TCustomdxBarControl* menu = Menu();
    Settle();
    EXPECT_EQ(ShownCaptions(menu), (std::vector<String>{L"&1 C:\\notes.txt", Recent->GetItemCaption(1, 2), L"Toolbars",
                                                        L"More", L"Inner", L"Find", L"Last"}));
    ::RedrawWindow(menu->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    ::RedrawWindow(Bar->GetControl()->GetHandle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
    Settle();
    RECT shot = WindowRect(Bar->GetControl());
    const RECT menuRect = WindowRect(menu);
    ::UnionRect(&shot, &shot, &menuRect);
    SaveShotOnRequest(CaptureScreen(shot), (std::string("container-") + look.Name).c_str());
    menu->Close();
    ASSERT_TRUE(PumpUntil([&] { return Menu() == nullptr; }));
  }
}
