// Shared pieces of the key tests: a shown form whose edit has the focus, with a manager and
// one bar of caption buttons that count their clicks, and a real key stroke that waits until
// the thread has taken every key message.
#pragma once

#include <gtest/gtest.h>

#include "bars/dxBar.h"
#include "platform/StdCtrls.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pump.h"

class THooksTestForm : public TForm {
  DECLARE_CLASS(THooksTestForm, TForm)
public:
  explicit THooksTestForm(TComponent* AOwner) : TForm(AOwner) {}
  // Times the window was asked to start its own menu mode by key (a lone Alt or F10 let
  // go). Counted, not entered: its modal loop would keep the test waiting for keys.
  int KeyMenuRequests = 0;
  // Times the window was asked to close (Alt+F4); counted, not closed, so the test keeps it.
  int CloseRequests = 0;

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_KEYMENU) {
      ++KeyMenuRequests;
      return;
    }
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_CLOSE) {
      ++CloseRequests;
      return;
    }
    TForm::WndProc(Message);
  }
};

inline const TShortCut CtrlS = TShortCut(0x4000 | 'S');

// A real key stroke whose messages the hooks may eat (PressKey waits for the release to
// arrive): waits until this thread has taken every key message from its queue.
inline void Stroke(WORD AKey, std::initializer_list<WORD> AModifiers = {})
{
  EXPECT_TRUE(StrokeKey(AKey, AModifiers));
}

// A shown form with an edit that has the focus, a manager and one bar of buttons.
struct TKeyForm {
  explicit TKeyForm(const std::vector<String>& ACaptions, int ALeft = 100, bool AMainMenu = false)
  {
    Host.Form()->SetBounds(ALeft, 100, 420, 260);
    Edit = AddEdit(Host.Form(), 20, 150, 150, 24);
    Bar = Host.Manager->GetBars()->Add();
    Bar->SetCaption(L"Tools");
    Bar->SetDockingStyle(dsTop);
    if (AMainMenu)
      Host.Manager->SetMainMenuBar(Bar);
    for (const String& caption : ACaptions) {
      auto* button = new TdxBarButton(Host.Form());
      button->SetCaption(caption);
      button->SetPaintStyle(psCaption);
      button->SetOnClick(TNotifyEvent([this, button](TObject*) { Clicks.push_back(button->GetCaption()); }));
      Buttons.push_back(button);
      Bar->GetItemLinks()->AddItem(button);
    }
    Bar->SetVisible(true);
    EXPECT_TRUE(ShowActive(Host.Form(), Edit));
  }
  // A second bar, docked at the bottom, with one caption button.
  TdxBar* AddBottomBar(const String& ACaption)
  {
    TdxBar* bar = Host.Manager->GetBars()->Add();
    bar->SetDockingStyle(dsBottom);
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(ACaption);
    button->SetPaintStyle(psCaption);
    bar->GetItemLinks()->AddItem(button);
    bar->SetVisible(true);
    PumpPending();
    return bar;
  }
  TdxBarItemControl* Selected() const
  {
    TCustomdxBarControl* active = ActiveBarControl();
    return active ? active->GetSelectedControl() : nullptr;
  }
  String SelectedCaption() const { return Selected() ? Selected()->GetItem()->GetCaption() : String(L"-"); }

  TBarHost<THooksTestForm> Host;
  TEdit* Edit = nullptr;
  TdxBar* Bar = nullptr;
  std::vector<TdxBarButton*> Buttons;
  std::vector<String> Clicks;
};
